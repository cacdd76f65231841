// Whole runs whose order documents are fetched ahead and whose acknowledgements go in the
// background, against the substitute API with faults in the requests under way: the log, the
// ERP and the API end as when every request was made at its order's turn.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>

#include "api_substituta.h"
#include "app/execucao_sincronizacao.h"
#include "app/pedidos_via_api.h"
#include "avisos_gravados.h"
#include "comum/data_hora.h"
#include "instalacao_erp_teste.h"
#include "painel_gravado.h"
#include "rele_latencia.h"

namespace tessora::app {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

std::string Pedido(const std::string& id) {
    return R"({"id":")" + id +
           R"(","tipo":"Pedido","registrado_erp_em":null,"cliente_id":"cli-2001","valor_produtos":10)" +
           R"(,"itens":[{"id_item":")" + id +
           R"(-1","produto_id":"prod-501","quantidade":1,"valor_unitario":10,"valor_produtos":10}]})";
}

// Asks the run to end as soon as the log shows the given line.
class PainelQueEncerra : public testes::PainelGravado {
  public:
    void AcrescentarLinhaLog(const std::string& linha) override {
        PainelGravado::AcrescentarLinhaLog(linha);
        if (!gatilho.empty() && linhas.back() == gatilho) encerramento = true;
    }
    std::string gatilho;
    std::atomic<bool> encerramento{false};
};

// The real import, noting when each order's turn came.
class PedidosCronometrados : public PedidosViaApi {
  public:
    importacao::ResultadoImportacao ImportarPedido(
        ContextoSincronizacao& contexto, const std::string& id,
        const importacao::DocumentoPedido& documento) override {
        lidos[id] = std::chrono::system_clock::now();
        return PedidosViaApi::ImportarPedido(contexto, id, documento);
    }
    std::map<std::string, std::chrono::system_clock::time_point> lidos;
};

// A log time stamp, "dd/mm/yyyy hh:mm:ss", as text that sorts in time order.
std::string EmOrdem(const std::string& carimbo) {
    return carimbo.substr(6, 4) + carimbo.substr(3, 2) + carimbo.substr(0, 2) + carimbo.substr(11);
}

class PedidosAntecipadosTest : public ::testing::Test {
  protected:
    testes::InstalacaoErpTeste erp;
    testes::ApiSubstituta servidor{R"({"token":"token-demonstracao","pedidos":[],"clientes":[]})"};
    testes::AvisosGravados avisos;
    PainelQueEncerra painel;
    PedidosCronometrados pedidos;
    db::CaminhosAtualizacao caminhos;

    void Pedidos(int quantos) {
        std::string json;
        for (int n = 1; n <= quantos; ++n) json += (n > 1 ? "," : "") + Pedido(Id(n));
        servidor.DefinirEstado(R"({"token":"token-demonstracao","pedidos":[)" + json +
                               R"(],"clientes":[]})");
    }
    static std::string Id(int n) { return "p" + std::to_string(n); }
    void Executar(const std::string& urlBase) {
        AmbienteExecucao ambiente{erp.Executavel(), {urlBase, servidor.ArquivoCertificado()},
                                  avisos,           painel,
                                  pedidos,          caminhos};
        ambiente.encerramento = &painel.encerramento;
        EXPECT_EQ(ProcessarAppForcaVenda(ambiente), FimExecucao::Concluida);
    }
    std::string Operacoes(const std::string& id) const {
        return erp.Banco()
            .Ler(
                "select count(*) as N from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = '" + id + "'",
                "N")
            .value_or("");
    }
    int Recebidas(const std::string& metodo, const std::string& caminho) const {
        int quantas = 0;
        for (const auto& r : servidor.Requisicoes())
            quantas += r.metodo == metodo && r.caminho == caminho;
        return quantas;
    }
    int Confirmacoes(const std::string& id) const {
        return Recebidas("PATCH", "/api/pedidos/" + id + "/erp-registro");
    }
};

TEST_F(PedidosAntecipadosTest,
       ConexaoDerrubadaComODocumentoAntecipadoEmCaminhoSoFalhaAquelePedido) {
    Pedidos(4);
    servidor.DefinirRegra(
        {.metodo = "GET", .caminho = "/api/pedidos/p2", .atraso = 300ms, .derrubarConexao = true});
    Executar(servidor.UrlBase());
    EXPECT_THAT(
        painel.linhas,
        ElementsAre("Iniciando processamento...", "Lendo pedido: p1", "Pedido incluído no sistema.",
                    "Lendo pedido: p2", "Não foi possível incluir o pedido: p2 no sistema",
                    "Lendo pedido: p3", "Pedido incluído no sistema.", "Lendo pedido: p4",
                    "Pedido incluído no sistema.", "Encerrando processamento..."));
    // Sent once: it had reached the server.
    EXPECT_EQ(Recebidas("GET", "/api/pedidos/p2"), 1);
    EXPECT_EQ(Operacoes("p2"), "0");
    EXPECT_EQ(Confirmacoes("p2"), 0);
    for (const std::string id : {"p1", "p3", "p4"}) {
        EXPECT_EQ(Operacoes(id), "1") << id;
        EXPECT_EQ(Confirmacoes(id), 1) << id;
    }
}

TEST_F(PedidosAntecipadosTest, ConfirmacaoQueFalhaTomaOLugarDoPedidoNoLogComoAntes) {
    Pedidos(3);
    // Answers late, so that the next orders are written before it does.
    servidor.DefinirRegra({.metodo = "PATCH",
                           .caminho = "/api/pedidos/p1/erp-registro",
                           .corpo = "[]",
                           .atraso = 500ms});
    Executar(servidor.UrlBase());
    EXPECT_THAT(painel.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: p1",
                            "Erro na leitura do pedido: p1 Erro: Invalid class typecast",
                            "Lendo pedido: p2", "Pedido incluído no sistema.", "Lendo pedido: p3",
                            "Pedido incluído no sistema.", "Encerrando processamento..."));
    for (const std::string id : {"p1", "p2", "p3"}) EXPECT_EQ(Operacoes(id), "1") << id;
}

// An order's lines wait in the log for the acknowledgements before them, but carry the times
// of their events: an order read while an earlier acknowledgement stalls is stamped as read then.
TEST_F(PedidosAntecipadosTest, LinhasEsperamAConfirmacaoParadaComAHoraDeSeusEventos) {
    Pedidos(2);
    servidor.DefinirRegra({.metodo = "PATCH",
                           .caminho = "/api/pedidos/p1/erp-registro",
                           .corpo = R"({"success":true})",
                           .atraso = 2500ms});
    Executar(servidor.UrlBase());
    ASSERT_THAT(painel.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: p1",
                            "Pedido incluído no sistema.", "Lendo pedido: p2",
                            "Pedido incluído no sistema.", "Encerrando processamento..."));
    ASSERT_TRUE(pedidos.lidos.contains("p2"));
    const std::string leituraP2 = EmOrdem(DataHoraSegundos(pedidos.lidos["p2"]));
    EXPECT_LE(EmOrdem(painel.carimbos[2]), leituraP2) << painel.carimbos[2];
    EXPECT_LE(EmOrdem(painel.carimbos[3]), leituraP2) << painel.carimbos[3];
    EXPECT_TRUE(std::is_sorted(
        painel.carimbos.begin(), painel.carimbos.end(),
        [](const std::string& a, const std::string& b) { return EmOrdem(a) < EmOrdem(b); }));
}

TEST_F(PedidosAntecipadosTest, ExecucaoUsaPoucasConexoesQualquerQueSejaONumeroDePedidos) {
    constexpr int kPedidos = 20;
    Pedidos(kPedidos);
    const rele::ReleLatencia rele(servidor.Porta(), 0us);
    Executar("https://127.0.0.1:" + std::to_string(rele.Porta()) + "/api");
    std::vector<std::string> esperadas = {"Iniciando processamento..."};
    for (int n = 1; n <= kPedidos; ++n) {
        esperadas.push_back("Lendo pedido: " + Id(n));
        esperadas.push_back("Pedido incluído no sistema.");
        EXPECT_EQ(Confirmacoes(Id(n)), 1) << Id(n);
    }
    esperadas.push_back("Encerrando processamento...");
    EXPECT_THAT(painel.linhas, ElementsAreArray(esperadas));
    // Two requests per order, over a handful of kept-alive connections.
    EXPECT_LT(rele.Conexoes(), kPedidos / 2);
}

TEST_F(PedidosAntecipadosTest, PedidoDeFimTerminaOPedidoEmGravacaoESuaConfirmacaoENadaMais) {
    Pedidos(4);
    // Still on their way when the run is asked to end; their answers come after it.
    for (const std::string id : {"p2", "p3", "p4"})
        servidor.DefinirRegra({.metodo = "GET",
                               .caminho = "/api/pedidos/" + id,
                               .corpo = R"({"success":true,"data":)" + Pedido(id) + "}",
                               .atraso = 1500ms});
    painel.gatilho = "Lendo pedido: p1";
    Executar(servidor.UrlBase());
    EXPECT_THAT(painel.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: p1",
                            "Pedido incluído no sistema.", "Encerrando processamento..."));
    EXPECT_EQ(Operacoes("p1"), "1");
    EXPECT_EQ(Confirmacoes("p1"), 1);
    for (const std::string id : {"p2", "p3", "p4"}) {
        EXPECT_EQ(Operacoes(id), "0") << id;
        EXPECT_EQ(Confirmacoes(id), 0) << id;
    }
}

}  // namespace
}  // namespace tessora::app
