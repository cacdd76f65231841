#include "api/listagem_pedidos.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <variant>

#include "api_substituta.h"

namespace tessora::api {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Ids = std::vector<std::string>;

class ListagemPedidosTest : public ::testing::Test {
  protected:
    testes::ApiSubstituta servidor{R"({"token":"t","pedidos":[],"clientes":[]})"};

    ListagemPedidos Listar(int status, const std::string& corpo,
                           const std::string& tipo = "application/json") {
        servidor.DefinirRegra({.metodo = "GET",
                               .caminho = "/api/pedidos",
                               .status = status,
                               .tipoConteudo = tipo,
                               .corpo = corpo});
        return ListarSemRegra();
    }
    ListagemPedidos ListarSemRegra() {
        ClienteHttp cliente(
            {servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return "t"; }});
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
        {"id":123456789012345678901,"tipo":"Pedido"},
        {"id":null,"tipo":"Pedido","registrado_erp_em":"2024-03-15"},
        {"id":{"n":1},"tipo":"Orçamento"},
        {"id":"a","tipo":"pedido"}]})";
    const ListagemPedidos listagem = Listar(200, corpo);
    ASSERT_TRUE(listagem.Aceito()) << listagem.Motivo();
    EXPECT_THAT(listagem.Valor(),
                ElementsAre("a", "b", "d", "f", "h", "i", "10234", "123456789012345678901", "a"));
}

// Either the ids listed or the reason of the failure.
using Esperado = std::variant<Ids, std::string>;

TEST_F(ListagemPedidosTest, UmaListaQueNaoPodeSerObtidaDizPorQue) {
    const std::string dados = R"("data":[{"id":"1","tipo":"Pedido"}])";
    struct Caso {
        int status;
        std::string corpo;
        Esperado esperado;
    };
    const Caso casos[] = {
        {200, R"({"success":true,"data":[]})", Ids{}},
        {200, R"({"SUCCESS":true,)" + dados + "}", Ids{"1"}},
        {200, "{" + dados + R"(,"success":false})", Ids{"1"}},  // only the first member is the test
        {200, R"({"success":false,)" + dados + "}", "a API não confirmou o sucesso da consulta"},
        {200, R"({"success":false,"message":" Token expirado ",)" + dados + "}",
         "a API não confirmou o sucesso da consulta: Token expirado"},
        {200, R"({"Success":"true",)" + dados + "}", "a API não confirmou o sucesso da consulta"},
        {200, "{}", "a resposta da API não traz a lista de pedidos"},
        {200, R"({"success":true,"data":{"id":"1","tipo":"Pedido"}})",
         "a resposta da API não traz a lista de pedidos"},
        {200, "<html><body>manutenção</body></html>", "a resposta da API não é um JSON legível"},
        {200, R"({"success":true,"data":[]} lixo)", "a resposta da API não é um JSON legível"},
        {401, R"({"success": false, "message": "Unauthenticated."})",
         "HTTP/1.1 401 Unauthorized: Unauthenticated."},
        {500, R"({"success":true,)" + dados + "}",
         "HTTP/1.1 500 Internal Server Error"},  // never listed
        {503, "<html>Service Unavailable</html>", "HTTP/1.1 503 Service Unavailable"},
        {404, R"(["message"])", "HTTP/1.1 404 Not Found"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.corpo);
        const ListagemPedidos listagem = Listar(caso.status, caso.corpo);
        if (const Ids* ids = std::get_if<Ids>(&caso.esperado)) {
            EXPECT_TRUE(listagem.Aceito()) << listagem.Motivo();
            EXPECT_EQ(listagem.Valor(), *ids);
        } else {
            EXPECT_FALSE(listagem.Aceito());
            EXPECT_EQ(listagem.Motivo(), std::get<std::string>(caso.esperado));
            // Only a refused token is the token's fault; any other answer is the API's.
            EXPECT_EQ(listagem.Falha().problema, caso.status == 401
                                                     ? ProblemaListagem::TokenRecusado
                                                     : ProblemaListagem::ErroApi);
        }
    }
}

// What the operator must mend, told from the transport and the answer as they happen.
TEST(ProblemaListagemTest, CadaFalhaDizOQueConsertar) {
    using enum ProblemaListagem;
    using std::chrono::hours;
    const std::string estado = R"({"token":"t","pedidos":[],"clientes":[]})";
    std::string portaFechada;
    {
        const testes::ApiSubstituta encerrada(estado);
        portaFechada = encerrada.UrlBase();
    }
    struct Caso {
        const char* descricao;
        testes::OpcoesApiSubstituta opcoes;
        std::optional<testes::RegraApiSubstituta> regra;
        ProblemaListagem esperado;
        // Replaces what the client is given, from the server's own.
        std::function<void(ConfiguracaoApi&)> ajuste;
    };
    const Caso casos[] = {
        {"token refused",
         {},
         testes::RegraApiSubstituta{
             .metodo = "GET", .caminho = "/api/pedidos", .status = 403, .corpo = "{}"},
         TokenRecusado,
         {}},
        {"server error",
         {},
         testes::RegraApiSubstituta{
             .metodo = "GET", .caminho = "/api/pedidos", .status = 500, .corpo = "{}"},
         ErroApi,
         {}},
        {"connection closed without answer",
         {},
         testes::RegraApiSubstituta{
             .metodo = "GET", .caminho = "/api/pedidos", .derrubarConexao = true},
         ApiInacessivel,
         {}},
        {"closed port",
         {},
         std::nullopt,
         ApiInacessivel,
         [&](ConfiguracaoApi& c) { c.urlBase = portaFechada; }},
        {"expired certificate",
         {.validade = {-hours(48), -hours(24)}},
         std::nullopt,
         CertificadoForaDoPrazo,
         {}},
        {"certificate not valid yet",
         {.validade = {hours(24), hours(48)}},
         std::nullopt,
         CertificadoForaDoPrazo,
         {}},
        {"certificate for another name",
         {.nomesCertificado = "DNS:outro.exemplo"},
         std::nullopt,
         CertificadoRecusado,
         {}},
        {"certificate file that cannot be read",
         {},
         std::nullopt,
         Configuracao,
         [](ConfiguracaoApi& c) { c.arquivoCertificados += ".inexistente"; }},
        {"address without https",
         {},
         std::nullopt,
         Configuracao,
         [](ConfiguracaoApi& c) { c.urlBase.replace(0, 5, "http"); }},
        {"token with a line break",
         {},
         std::nullopt,
         TokenRecusado,
         [](ConfiguracaoApi& c) { c.obterToken = [] { return "t\nX-Outro: 1"; }; }},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        testes::ApiSubstituta servidor(estado, caso.opcoes);
        if (caso.regra) servidor.DefinirRegra(*caso.regra);
        ConfiguracaoApi configuracao{servidor.UrlBase(), servidor.ArquivoCertificado(),
                                     [] { return "t"; }};
        if (caso.ajuste) caso.ajuste(configuracao);
        ClienteHttp cliente(configuracao);
        const ListagemPedidos listagem = ListarPedidosNovos(cliente);
        ASSERT_FALSE(listagem.Aceito());
        EXPECT_EQ(listagem.Falha().problema, caso.esperado) << listagem.Motivo();
    }
}

// Any other shape of answer, or a new order that cannot be fetched by its id, is a listing
// that could not be had: never an error, nor a list that leaves that order out.
TEST_F(ListagemPedidosTest, RespostaDeOutraFormaNaoTrazALista) {
    const std::string pedido = R"({"id":"1","tipo":"Pedido"})";
    const auto comDados = [&](const std::string& dados) {
        return R"({"success":true,"data":[)" + pedido + "," + dados + "]}";
    };
    const std::string corpos[] = {
        "[" + pedido + "]",
        R"([{"success":true,"data":null}])",
        "42",
        R"("pedidos")",
        "null",
        R"({"success":true,"data":null})",
        comDados("null"),
        comDados("7"),
        comDados(R"("2")"),
        comDados("[" + pedido + "]"),
        comDados(R"({"tipo":"Pedido"})"),
        comDados(R"({"id":null,"tipo":"Pedido"})"),
        comDados(R"({"id":"","tipo":"Pedido"})"),
        comDados(R"({"id":true,"tipo":"Pedido"})"),
        comDados(R"({"id":{"id":"2"},"tipo":"Pedido"})"),
        comDados(R"({"id":["2"],"tipo":"Pedido"})"),
        comDados(R"({"id":2.5,"tipo":"Pedido"})"),
        comDados(R"({"id":2E3,"tipo":"Pedido"})"),
    };
    for (const std::string& corpo : corpos) {
        SCOPED_TRACE(corpo);
        const ListagemPedidos listagem = Listar(200, corpo);
        EXPECT_FALSE(listagem.Aceito());
        EXPECT_EQ(listagem.Motivo(), "a resposta da API não traz a lista de pedidos");
    }
}

TEST_F(ListagemPedidosTest, FalhaDeTransporteDizAMensagemDoTransporte) {
    servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/pedidos", .derrubarConexao = true});
    const ListagemPedidos listagem = ListarSemRegra();
    EXPECT_FALSE(listagem.Aceito());
    EXPECT_FALSE(listagem.Motivo().empty());
    EXPECT_THAT(listagem.Motivo(), ::testing::Not(HasSubstr("Bearer")));
}

}  // namespace
}  // namespace tessora::api
