#include "api/caminho_api.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api/cliente_http.h"
#include "api/listagem_pedidos.h"
#include "api/registro_erp.h"
#include "api_substituta.h"

namespace tessora::api {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(CodificarSegmentoCaminhoTest, SoLetrasDigitosHifenESublinhadoPassamComoEstao) {
    const struct {
        std::string segmento;
        std::string esperado;
    } casos[] = {
        {"", ""},
        {"AZaz09-_", "AZaz09-_"},
        {".", "%2E"},
        {"..", "%2E%2E"},
        {"ped.1", "ped%2E1"},
        {"a/b", "a%2Fb"},
        {"a b?c#d", "a%20b%3Fc%23d"},
        {"%2F", "%252F"},  // an escape inside the id is not taken for one
        {"~+&=;", "%7E%2B%26%3D%3B"},
        {"ç", "%C3%A7"},  // each UTF-8 byte on its own
        {std::string("a\0b\xff", 4), "a%00b%FF"},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(CodificarSegmentoCaminho(caso.segmento), caso.esperado) << caso.segmento;
    }
}

TEST(CodificarSegmentoCaminhoTest, CaminhosDasRequisicoes) {
    EXPECT_EQ(CaminhoPedido("a/b"), "/pedidos/a%2Fb");
    EXPECT_EQ(CaminhoRegistroErp("a/b"), "/pedidos/a%2Fb/erp-registro");
    EXPECT_EQ(CaminhoCliente("cli 7"), "/clientes/cli%207");
}

// Over real HTTPS: what the server receives, and that each id reaches its own order only.
TEST(CaminhoApiNoServidorTest, IdComCaracteresEspeciaisNaoAlcancaOutroRecurso) {
    testes::ApiSubstituta servidor(R"({"token":"t",
        "pedidos":[{"id":"..","tipo":"Pedido"},{"id":"a b?c","tipo":"Pedido"},
                   {"id":"x","tipo":"Pedido"}],
        "clientes":[{"id":"7","nome":"Cliente sete"}]})");
    ClienteHttp cliente({servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return "t"; }});

    EXPECT_TRUE(RegistrarPedidoNoErp(cliente, "..").Aceito());
    EXPECT_TRUE(RegistrarPedidoNoErp(cliente, "a b?c").Aceito());
    EXPECT_THAT(RegistrarPedidoNoErp(cliente, "1/../../clientes/7").Motivo(),
                HasSubstr("Pedido não encontrado"));
    try {
        // Unencoded, the client would fold this path to "/api/clientes/7" and get the customer.
        cliente.Get(CaminhoPedido("1/../../clientes/7"));
        ADD_FAILURE() << "a resposta devia ser um erro";
    } catch (const ErroHttp& e) {
        EXPECT_EQ(e.Status(), 404);
        EXPECT_THAT(e.TextoErro(), HasSubstr("Pedido não encontrado"));
    }

    std::vector<std::string> caminhos;
    for (const auto& requisicao : servidor.Requisicoes()) caminhos.push_back(requisicao.caminho);
    EXPECT_THAT(
        caminhos,
        ElementsAre("/api/pedidos/%2E%2E/erp-registro", "/api/pedidos/a%20b%3Fc/erp-registro",
                    "/api/pedidos/1%2F%2E%2E%2F%2E%2E%2Fclientes%2F7/erp-registro",
                    "/api/pedidos/1%2F%2E%2E%2F%2E%2E%2Fclientes%2F7"));
    // The acknowledged orders, and only they, are now registered.
    EXPECT_THAT(ListarPedidosNovos(cliente).Valor(), ElementsAre("x"));
}

}  // namespace
}  // namespace tessora::api
