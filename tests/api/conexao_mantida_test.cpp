// A client's requests over its kept-alive connection, counted at a relay in front of the
// substitute API.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "api/cliente_http.h"
#include "api_substituta.h"
#include "rele_latencia.h"

namespace tessora::api {
namespace {

using namespace std::chrono_literals;

constexpr std::string_view kEstado =
    R"({"token": "segredo", "pedidos": [{"id": "17", "tipo": "Pedido"}], "clientes": []})";

class ConexaoMantidaTest : public ::testing::Test {
  protected:
    testes::ApiSubstituta api_{kEstado, {.conexaoOciosa = 1s}};
    rele::ReleLatencia rele_{api_.Porta(), 0us};
    std::atomic<int> tokensLidos_{0};

    ConfiguracaoApi Configuracao() {
        return {"https://127.0.0.1:" + std::to_string(rele_.Porta()) + "/api",
                api_.ArquivoCertificado(), [this] {
                    ++tokensLidos_;
                    return std::string("segredo");
                }};
    }
    int Recebidas(const std::string& metodo, const std::string& caminho) const {
        int quantas = 0;
        for (const auto& requisicao : api_.Requisicoes())
            quantas += requisicao.metodo == metodo && requisicao.caminho == caminho;
        return quantas;
    }
};

TEST_F(ConexaoMantidaTest, RequisicoesDeUmClienteUsamUmaConexaoEOutroClienteASua) {
    ClienteHttp cliente(Configuracao());
    cliente.Get("/pedidos");
    cliente.Patch("/pedidos/17/erp-registro", "{}");
    EXPECT_THROW(cliente.Get("/pedidos/desconhecido"), ErroHttp);
    cliente.Get("/pedidos/17");
    EXPECT_EQ(rele_.Conexoes(), 1);

    ClienteHttp outro = cliente.OutroCliente([] { return std::string("segredo"); });
    outro.Get("/pedidos");
    EXPECT_EQ(rele_.Conexoes(), 2);

    // Each request read the token and carried the API's headers over TLS 1.2.
    EXPECT_EQ(tokensLidos_, 4);
    const auto requisicoes = api_.Requisicoes();
    ASSERT_EQ(requisicoes.size(), 5u);
    for (const auto& requisicao : requisicoes) {
        EXPECT_EQ(requisicao.versaoTls, "TLSv1.2");
        EXPECT_EQ(requisicao.Cabecalho("Authorization"), "Bearer segredo");
        EXPECT_EQ(requisicao.Cabecalho("Accept"), "application/json");
    }
}

TEST_F(ConexaoMantidaTest, ConexaoQueOServidorFechouOciosaDaLugarAUmaNova) {
    ClienteHttp cliente(Configuracao());
    cliente.Get("/pedidos");
    // Longer than the server keeps an idle connection.
    std::this_thread::sleep_for(2s);
    EXPECT_NO_THROW(cliente.Get("/pedidos/17"));
    EXPECT_EQ(rele_.Conexoes(), 2);
    EXPECT_EQ(Recebidas("GET", "/api/pedidos/17"), 1);
}

// A server may close a kept-alive connection just as a request reaches it. A GET that got no byte
// of answer goes once more, on a fresh connection, and no more; a PATCH, which may have been
// carried out, never goes again.
TEST_F(ConexaoMantidaTest, SoGetSemRespostaEhRepetidoEUmaVezNumaConexaoNova) {
    struct Caso {
        std::string metodo;
        bool soConexaoMantida;  // the server drops the connection only when it is a kept-alive one
        bool responde;
        int envios;
    };
    const std::vector<Caso> casos = {
        {"GET", true, true, 2},
        {"GET", false, false, 2},
        {"PATCH", true, false, 1},
        {"PATCH", false, false, 1},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.metodo + (caso.soConexaoMantida ? " na conexão mantida" : " sempre"));
        const std::string caminho =
            caso.metodo == "GET" ? "/pedidos/17" : "/pedidos/17/erp-registro";
        api_.DefinirRegra({.metodo = caso.metodo,
                           .caminho = "/api" + caminho,
                           .corpo = "{}",
                           .derrubarConexao = !caso.soConexaoMantida,
                           .derrubarConexaoReutilizada = caso.soConexaoMantida});
        ClienteHttp cliente(Configuracao());
        cliente.Get("/pedidos");
        const int recebidas = Recebidas(caso.metodo, "/api" + caminho);
        const int conexoes = rele_.Conexoes();
        const auto enviar = [&] {
            return caso.metodo == "GET" ? cliente.Get(caminho) : cliente.Patch(caminho, "{}");
        };
        if (caso.responde) {
            EXPECT_EQ(enviar(), "{}");
        } else {
            EXPECT_THROW(enviar(), ErroTransporte);
        }
        EXPECT_EQ(Recebidas(caso.metodo, "/api" + caminho), recebidas + caso.envios);
        EXPECT_EQ(rele_.Conexoes(), conexoes + caso.envios - 1);

        // The client goes on, over a fresh connection when its own was dropped.
        api_.RemoverRegras();
        EXPECT_NO_THROW(cliente.Get("/pedidos"));
    }
}

}  // namespace
}  // namespace tessora::api
