#include "api/listagem_pedidos.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api_substituta.h"
#include "comum/erros.h"

namespace tessora::api {
namespace {

using ::testing::ElementsAre;
using Ids = std::vector<std::string>;

class ListagemPedidosTest : public ::testing::Test {
protected:
    testes::ApiSubstituta servidor{R"({"token":"t","pedidos":[],"clientes":[]})"};

    Ids Listar(int status, const std::string& corpo) {
        servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/pedidos", .status = status, .corpo = corpo});
        ClienteHttp cliente({servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return "t"; }});
        return ListarPedidosNovos(cliente);
    }
};

TEST_F(ListagemPedidosTest, SoPedidosSemRegistroNoErp) {
    const std::string corpo = R"({"success":true,"data":[
        {"id":"a","tipo":"Pedido","registrado_erp_em":null},
        {"id":"b","tipo":"Pedido","registrado_erp_em":""},
        {"id":"c","tipo":"Pedido","registrado_erp_em":"2024-03-15T10:00:00Z"},
        {"id":"d","tipo":"Pedido","registrado_erp_em":" \t\r\n"},
        {"id":"e","tipo":"Pedido","registrado_erp_em":20240315},
        {"id":"f","tipo":"PEDIDO"},
        {"id":"g","tipo":"Orçamento","registrado_erp_em":null},
        {"id":"h","tipo":"Pedido","registrado_erp_em":false},
        {"id":"i","tipo":"Pedido","registrado_erp_em":{"em":"2024-03-15"}},
        {"id":10234,"tipo":"Pedido"},
        {"tipo":"Pedido"},
        {"id":"a","tipo":"pedido"}]})";
    EXPECT_THAT(Listar(200, corpo), ElementsAre("a", "b", "d", "f", "h", "i", "10234", "", "a"));
}

TEST_F(ListagemPedidosTest, TesteDeSucessoOlhaSoOPrimeiroMembro) {
    const std::string dados = R"("data":[{"id":"1","tipo":"Pedido"}])";
    struct Caso {
        int status;
        std::string corpo;
        Ids esperado;
    };
    const Caso casos[] = {
        {200, R"({"success":false,)" + dados + "}", {}},
        {200, R"({"Success":"true",)" + dados + "}", {}},
        {200, R"({"SUCCESS":true,)" + dados + "}", {"1"}},
        {200, "{" + dados + R"(,"success":false})", {"1"}},
        {500, R"({"success":true,)" + dados + "}", {"1"}},  // an error answer is read all the same
        {200, "{}", {}},
        {200, R"({"success":true,"data":{"id":"1","tipo":"Pedido"}})", {}},
        {200, "<html><body>manutenção</body></html>", {}},
        {200, R"({"success":true,"data":[]} lixo)", {}},
    };
    for (const auto& caso : casos) EXPECT_EQ(Listar(caso.status, caso.corpo), caso.esperado) << caso.corpo;
}

TEST_F(ListagemPedidosTest, RespostaOuElementoQueNaoEhObjetoLanca) {
    EXPECT_THROW(Listar(200, R"([{"id":"1","tipo":"Pedido"}])"), ErroTipoInvalido);
    EXPECT_THROW(Listar(200, R"({"success":true,"data":[{"id":"1","tipo":"Pedido"},null]})"), ErroTipoInvalido);
}

TEST_F(ListagemPedidosTest, FalhaDeTransporteDaListaVazia) {
    servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/pedidos", .derrubarConexao = true});
    ClienteHttp cliente({servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return "t"; }});
    EXPECT_TRUE(ListarPedidosNovos(cliente).empty());
}

}  // namespace
}  // namespace tessora::api
