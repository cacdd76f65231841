#include "api/registro_erp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api/listagem_pedidos.h"
#include "api_substituta.h"
#include "comum/erros.h"

namespace tessora::api {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Optional;

constexpr std::string_view kCaminho = "/api/pedidos/ped-1/erp-registro";

class RegistroErpTest : public ::testing::Test {
  protected:
    testes::ApiSubstituta servidor{R"({"token":"t","pedidos":[
        {"id":"ped-1","tipo":"Pedido","registrado_erp_em":null},
        {"id":"ped-2","tipo":"Pedido","registrado_erp_em":null}],"clientes":[]})"};
    ClienteHttp cliente{{servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return "t"; }}};

    std::string Registrar(testes::RegraApiSubstituta regra) {
        regra.metodo = "PATCH";
        regra.caminho = kCaminho;
        servidor.DefinirRegra(std::move(regra));
        return Texto(RegistrarPedidoNoErp(cliente, "ped-1"));
    }
    // "OK" for an accepted acknowledgement, the reason for a refused one.
    static std::string Texto(const Resultado<>& resultado) {
        return resultado.Aceito() ? "OK" : resultado.Motivo();
    }
};

TEST_F(RegistroErpTest, PedidoPassaARegistradoNaApi) {
    EXPECT_THAT(ListarPedidosNovos(cliente).Valor(), ElementsAre("ped-1", "ped-2"));
    EXPECT_TRUE(RegistrarPedidoNoErp(cliente, "ped-1").Aceito());
    EXPECT_THAT(ListarPedidosNovos(cliente).Valor(), ElementsAre("ped-2"));

    const auto requisicoes = servidor.Requisicoes();
    ASSERT_EQ(requisicoes.size(), 3u);
    const auto& registro = requisicoes[1];
    EXPECT_EQ(registro.metodo, "PATCH");
    EXPECT_EQ(registro.caminho, kCaminho);
    EXPECT_EQ(registro.corpo, "{}");
    EXPECT_THAT(registro.Cabecalho("Content-Type"),
                Optional(std::string("application/json; charset=utf-8")));
    EXPECT_THAT(registro.Cabecalho("Authorization"), Optional(std::string("Bearer t")));
}

TEST_F(RegistroErpTest, TextoDoResultadoPelaResposta) {
    const struct {
        int status;
        std::string corpo;
        std::string esperado;
    } casos[] = {
        {200, R"({"success":true})", "OK"},
        {200, R"({"Success":"TRUE","message":"ignorada"})", "OK"},
        // The message is read like the whole answer: folded to ASCII.
        {200, R"({"success":false,"message":"Pedido já registrado"})", "Pedido ja registrado"},
        {200, R"({"success":false,"MESSAGE":"primeira","message":"segunda"})", "primeira"},
        {200, R"({"success":false,"message":null})", ""},
        {200, R"({"success":false,"message":{"texto":"x"}})", ""},
        {200, R"({"success":1,"message":12.5})", "12,5"},
        {200, R"({"success":false})", "Erro não identificado na API"},
        {200, "{}", "Erro não identificado na API"},
        {200, "<html><body>Manutenção</body></html>", "Resposta inválida da API"},
        {200, "", "Resposta inválida da API"},
        // An error answer is returned as it came, even when it reads as success.
        {500, R"({"success":true})", R"({"success":true})"},
        {404, "<h1>Não encontrado</h1>", "<h1>Não encontrado</h1>"},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(Registrar({.status = caso.status, .corpo = caso.corpo}), caso.esperado)
            << caso.status << " " << caso.corpo;
    }
}

TEST_F(RegistroErpTest, FalhaDeTransporteDaAMensagemDaFalha) {
    const std::string resultado = Registrar({.derrubarConexao = true});
    EXPECT_FALSE(resultado.empty());
    EXPECT_NE(resultado, "OK");
    EXPECT_NE(resultado, "Resposta inválida da API");
}

TEST_F(RegistroErpTest, RespostaJsonQueNaoEhObjetoLanca) {
    EXPECT_THROW(Registrar({.corpo = R"([{"success":true}])"}), ErroTipoInvalido);
    EXPECT_THROW(Registrar({.corpo = "true"}), ErroTipoInvalido);
}

}  // namespace
}  // namespace tessora::api
