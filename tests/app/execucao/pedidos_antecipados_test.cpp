// Whole runs whose order documents are fetched ahead and whose acknowledgements go in the
// background, against the substitute API with faults in the requests under way: the log, the
// ERP and the API end as when every request was made at its order's turn.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

#include "api_substituta.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/execucao/pedidos_via_api.h"
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

// `enchimento` more bytes in a member that the import ignores make a large order.
std::string Pedido(const std::string& id, size_t enchimento = 0) {
    return R"({"id":")" + id + R"(","enchimento":")" + std::string(enchimento, 'x') +
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

// The program's own steps, counting what the documents of the run hold: each from the start of
// its fetch to the end of its order's import, at its full size (one over the limit only until
// its fetch ends, at the limit);
// and noting when each order's turn came.
class PedidosContados : public PedidosViaApi {
  public:
    importacao::DocumentoPedido BuscarPedido(api::ClienteHttp& cliente,
                                             const std::string& id) override {
        Somar(Tamanho(id));
        importacao::DocumentoPedido documento = PedidosViaApi::BuscarPedido(cliente, id);
        // A refused answer is dropped as soon as its fetch ends: only its error is kept.
        if (Recusado(id)) Somar(-Tamanho(id));
        return documento;
    }
    importacao::ResultadoImportacao ImportarPedido(
        ContextoSincronizacao& contexto, const std::string& id,
        const importacao::DocumentoPedido& documento) override {
        struct Descontar {
            PedidosContados& pedidos;
            int64_t bytes;
            ~Descontar() { pedidos.Somar(-bytes); }
        } const descontar{*this, Recusado(id) ? 0 : Tamanho(id)};
        lidos[id] = std::chrono::system_clock::now();  // on the run's one database thread
        return PedidosViaApi::ImportarPedido(contexto, id, documento);
    }

    std::map<std::string, size_t> tamanhos;  // of the orders' documents, in bytes
    std::map<std::string, std::chrono::system_clock::time_point> lidos;
    size_t limite = SIZE_MAX;
    int64_t pico = 0;

  private:
    bool Recusado(const std::string& id) const {
        const auto tamanho = tamanhos.find(id);
        return tamanho != tamanhos.end() && tamanho->second > limite;
    }
    int64_t Tamanho(const std::string& id) const {
        const auto tamanho = tamanhos.find(id);
        return tamanho == tamanhos.end() ? 0
                                         : static_cast<int64_t>(std::min(tamanho->second, limite));
    }
    void Somar(int64_t bytes) {
        const std::lock_guard trava(mutex_);
        emUso_ += bytes;
        pico = std::max(pico, emUso_);
    }
    std::mutex mutex_;
    int64_t emUso_ = 0;
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
    PedidosContados pedidos;
    db::CaminhosAtualizacao caminhos;
    std::optional<size_t> limiteResposta;  // nothing: the program's
    std::optional<size_t> orcamento;       // nothing: the program's

    void Pedidos(int quantos) { Pedidos(std::vector<size_t>(quantos, 0)); }
    // One order per entry, with that many bytes more than usual.
    void Pedidos(const std::vector<size_t>& enchimentos) {
        std::string json;
        pedidos.tamanhos.clear();
        for (size_t n = 1; n <= enchimentos.size(); ++n) {
            const std::string pedido = Pedido(Id(n), enchimentos[n - 1]);
            pedidos.tamanhos[Id(n)] = pedido.size();
            json += (n > 1 ? "," : "") + pedido;
        }
        servidor.DefinirEstado(R"({"token":"token-demonstracao","pedidos":[)" + json +
                               R"(],"clientes":[]})");
    }
    std::string prefixo = "p";  // of the orders' ids
    std::string Id(size_t n) const { return prefixo + std::to_string(n); }
    void Executar(const std::string& urlBase) {
        AmbienteExecucao ambiente{erp.Executavel(), {urlBase, servidor.ArquivoCertificado()},
                                  avisos,           painel,
                                  pedidos,          caminhos};
        ambiente.configuracoesApi.tamanhoMaximoResposta = limiteResposta;
        if (orcamento) ambiente.orcamentoAntecipacao = *orcamento;
        ambiente.encerramento = &painel.encerramento;
        EXPECT_TRUE(ProcessarAppForcaVenda(ambiente).Normal());
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
    // Sent once more at most: only when it went on a kept-alive connection.
    EXPECT_GE(Recebidas("GET", "/api/pedidos/p2"), 1);
    EXPECT_LE(Recebidas("GET", "/api/pedidos/p2"), 2);
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
    constexpr size_t kPedidos = 20;
    Pedidos(kPedidos);
    const rele::ReleLatencia rele(servidor.Porta(), 0us);
    Executar("https://127.0.0.1:" + std::to_string(rele.Porta()) + "/api");
    std::vector<std::string> esperadas = {"Iniciando processamento..."};
    for (size_t n = 1; n <= kPedidos; ++n) {
        esperadas.push_back("Lendo pedido: " + Id(n));
        esperadas.push_back("Pedido incluído no sistema.");
        EXPECT_EQ(Confirmacoes(Id(n)), 1) << Id(n);
    }
    esperadas.push_back("Encerrando processamento...");
    EXPECT_THAT(painel.linhas, ElementsAreArray(esperadas));
    // Two requests per order, over a handful of kept-alive connections.
    EXPECT_LT(rele.Conexoes(), static_cast<int>(kPedidos / 2));
}

// What the documents fetched ahead hold together, the one of the order being written included,
// stays inside the run's budget of bytes; a document larger than the budget comes alone, and one
// larger than an answer may be fails its order alone, naming the limit.
TEST_F(PedidosAntecipadosTest, DocumentosAntecipadosCabemNoOrcamentoDeBytes) {
    constexpr size_t kKB = 1024;
    constexpr size_t kLimite = 1024 * kKB;
    struct Caso {
        std::string prefixo;
        size_t orcamento;
        std::vector<size_t> enchimentos;  // an order over kLimite is refused
    };
    const std::vector<Caso> casos = {
        // Several documents at a time, and one over the limit among them.
        {"a",
         2 * kLimite,
         {600 * kKB, 600 * kKB, 1200 * kKB, 600 * kKB, 600 * kKB, 600 * kKB, 600 * kKB}},
        // Each document alone.
        {"b", kLimite / 2, {300 * kKB, 700 * kKB, 300 * kKB, 300 * kKB}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.prefixo);
        prefixo = caso.prefixo;
        painel.linhas.clear();
        pedidos.pico = 0;
        pedidos.limite = kLimite;
        limiteResposta = kLimite;
        orcamento = caso.orcamento;
        Pedidos(caso.enchimentos);
        Executar(servidor.UrlBase());

        std::vector<std::string> esperadas = {"Iniciando processamento..."};
        size_t maiorAceito = 0;
        for (size_t n = 1; n <= caso.enchimentos.size(); ++n) {
            const bool aceito = caso.enchimentos[n - 1] <= kLimite;
            esperadas.push_back("Lendo pedido: " + Id(n));
            esperadas.push_back(aceito ? "Pedido incluído no sistema."
                                       : "Erro na leitura do pedido: " + Id(n) +
                                             " Erro: Resposta da API maior que o limite de " +
                                             std::to_string(kLimite) + " bytes");
            EXPECT_EQ(Operacoes(Id(n)), aceito ? "1" : "0") << Id(n);
            EXPECT_EQ(Confirmacoes(Id(n)), aceito ? 1 : 0) << Id(n);
            if (aceito) maiorAceito = std::max(maiorAceito, pedidos.tamanhos[Id(n)]);
        }
        esperadas.push_back("Encerrando processamento...");
        EXPECT_THAT(painel.linhas, ElementsAreArray(esperadas));
        EXPECT_GT(pedidos.pico, 0);
        EXPECT_LE(pedidos.pico, static_cast<int64_t>(std::max(caso.orcamento, maiorAceito)));
    }
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
