#include "app/execucao/esteira_pedidos.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "portao.h"

namespace tessora::app {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

// Steps that touch no network: each order's faults and delays are set by its id.
class EtapasFalsas : public EtapasPedido {
  public:
    std::set<std::string> buscaFalha, importacaoFalha, registroFalha;
    std::map<std::string, std::chrono::milliseconds> demoraRegistro;
    testes::Portao* portaoRegistro = nullptr;  // holds every acknowledgement
    std::function<void(const std::string&)> aoImportar;

    std::string Token() override { return "t"; }
    importacao::DocumentoPedido Buscar(api::ClienteHttp&, const std::string& id) override {
        if (buscaFalha.contains(id)) throw std::runtime_error("sem resposta");
        return {};
    }
    ResultadoPedido Importar(const std::string& id, const importacao::DocumentoPedido& documento,
                             bool& registrar) override {
        {
            std::lock_guard trava(mutex_);
            importados.push_back(id);
        }
        if (aoImportar) aoImportar(id);
        documento.Corpo();  // raises what the fetch raised
        if (importacaoFalha.contains(id)) throw std::runtime_error("recusado");
        registrar = true;
        return {id, DesfechoPedido::Incluido, "Pedido incluído no sistema."};
    }
    void Registrar(api::ClienteHttp&, const std::string& id) override {
        if (portaoRegistro) portaoRegistro->Esperar();
        if (auto demora = demoraRegistro.find(id); demora != demoraRegistro.end())
            std::this_thread::sleep_for(demora->second);
        if (registroFalha.contains(id)) throw std::runtime_error("HTTP 500");
        std::lock_guard trava(mutex_);
        registrados.push_back(id);
    }

    std::vector<std::string> Importados() {
        std::lock_guard trava(mutex_);
        return importados;
    }
    std::vector<std::string> Registrados() {
        std::lock_guard trava(mutex_);
        return registrados;
    }

  private:
    std::mutex mutex_;
    std::vector<std::string> importados, registrados;
};

// Every line as "lendo <id>" or "<id>: <message>", in the order it came out.
class SaidaGravada : public SaidaPedidos {
  public:
    std::vector<std::string> linhas;

    void Lendo(const std::string& id, Momento) override { linhas.push_back("lendo " + id); }
    void Desfecho(const ResultadoPedido& resultado, Momento) override {
        linhas.push_back(resultado.idApp + ": " + resultado.mensagem);
    }
};

api::ClienteHttp ClienteModelo() {
    api::ConfiguracaoApi configuracao;
    configuracao.urlBase = "https://127.0.0.1:9/api";
    return api::ClienteHttp(configuracao);
}

TEST(EsteiraPedidosTest, LinesComeInListingOrderWhileAcknowledgementsAnswerOutOfOrder) {
    EtapasFalsas etapas;
    etapas.demoraRegistro = {{"p1", 600ms}, {"p2", 300ms}};
    SaidaGravada saida;
    const api::ClienteHttp modelo = ClienteModelo();
    EsteiraPedidos(etapas, saida, modelo, {}, nullptr).Processar({"p1", "p2", "p3"});

    EXPECT_THAT(saida.linhas, ElementsAre("lendo p1", "p1: Pedido incluído no sistema.", "lendo p2",
                                          "p2: Pedido incluído no sistema.", "lendo p3",
                                          "p3: Pedido incluído no sistema."));
    // Later orders were written while p1's acknowledgement was still under way.
    EXPECT_THAT(etapas.Importados(), ElementsAre("p1", "p2", "p3"));
    EXPECT_THAT(etapas.Registrados(), ElementsAre("p3", "p2", "p1"));
}

TEST(EsteiraPedidosTest, AFailingStepMakesItsOrderAnErrorAndLeavesTheOthers) {
    EtapasFalsas etapas;
    etapas.buscaFalha = {"busca"};
    etapas.importacaoFalha = {"importacao"};
    etapas.registroFalha = {"registro"};
    SaidaGravada saida;
    const api::ClienteHttp modelo = ClienteModelo();
    EsteiraPedidos(etapas, saida, modelo, {}, nullptr)
        .Processar({"busca", "ok-1", "importacao", "registro", "ok-2"});

    EXPECT_THAT(
        saida.linhas,
        ElementsAre("lendo busca", "busca: Erro na leitura do pedido: busca Erro: sem resposta",
                    "lendo ok-1", "ok-1: Pedido incluído no sistema.", "lendo importacao",
                    "importacao: Erro na leitura do pedido: importacao Erro: recusado",
                    "lendo registro",
                    "registro: Erro na leitura do pedido: registro Erro: HTTP 500", "lendo ok-2",
                    "ok-2: Pedido incluído no sistema."));
    // Only orders that were written are acknowledged.
    EXPECT_THAT(etapas.Registrados(), ::testing::UnorderedElementsAre("ok-1", "ok-2"));
}

TEST(EsteiraPedidosTest, AnEndStopsBeforeTheNextOrderAndStillAcknowledgesWhatWasWritten) {
    EtapasFalsas etapas;
    std::atomic<bool> encerramento{false};
    etapas.aoImportar = [&](const std::string& id) {
        if (id == "p2") encerramento = true;
    };
    etapas.demoraRegistro = {{"p2", 200ms}};
    SaidaGravada saida;
    const api::ClienteHttp modelo = ClienteModelo();
    EsteiraPedidos(etapas, saida, modelo, {}, &encerramento).Processar({"p1", "p2", "p3", "p4"});

    EXPECT_THAT(etapas.Importados(), ElementsAre("p1", "p2"));
    EXPECT_THAT(etapas.Registrados(), ::testing::UnorderedElementsAre("p1", "p2"));
    EXPECT_THAT(saida.linhas, ElementsAre("lendo p1", "p1: Pedido incluído no sistema.", "lendo p2",
                                          "p2: Pedido incluído no sistema."));
}

TEST(EsteiraPedidosTest, WrittenOrdersWaitingForAcknowledgementHoldTheNextOrderAtTheLimit) {
    EtapasFalsas etapas;
    testes::Portao portao;
    etapas.portaoRegistro = &portao;
    SaidaGravada saida;
    const api::ClienteHttp modelo = ClienteModelo();
    LimitesEsteira limites;
    limites.registrosPendentes = 2;
    std::thread run([&] {
        EsteiraPedidos(etapas, saida, modelo, limites, nullptr).Processar({"p1", "p2", "p3"});
    });
    std::this_thread::sleep_for(300ms);
    EXPECT_THAT(etapas.Importados(), ElementsAre("p1", "p2"));
    portao.Liberar();
    run.join();
    EXPECT_THAT(etapas.Importados(), ElementsAre("p1", "p2", "p3"));
    EXPECT_EQ(saida.linhas.size(), 6u);
}

}  // namespace
}  // namespace tessora::app
