// The resident service apart from any window: a fake front end serves its posted tasks and
// ticks its timers by hand. Needs no database, so it runs under Wine too.
#include "app/servico/servico_residente.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "arquivos_teste.h"
#include "avisos_gravados.h"
#include "hospedeiro_falso.h"
#include "pasta_temporaria.h"
#include "portao.h"

namespace tessora::app {
namespace {

using namespace std::chrono_literals;

// Notices that stay open while the fake front end serves what comes meanwhile, as a box's
// own loop would.
class AvisosQueEsperam : public testes::AvisosGravados {
  public:
    explicit AvisosQueEsperam(testes::HospedeiroFalso& hospedeiro) : hospedeiro_(hospedeiro) {}

    void MostrarMensagem(std::string_view texto, std::string_view titulo,
                         IconeAviso icone) override {
        AvisosGravados::MostrarMensagem(texto, titulo, icone);
        hospedeiro_.Servir(100ms);
        finsAoFechar.push_back(hospedeiro_.fins.size());
    }

    std::vector<size_t> finsAoFechar;  // ends already told when each notice closed

  private:
    testes::HospedeiroFalso& hospedeiro_;
};

class PainelMudo : public PainelExecucao {
  public:
    void ExibirUltimaAtualizacao(const std::string&) override {}
    void LimparLog() override {}
    void AcrescentarLinhaLog(const std::string&) override {}
};

class PedidosNenhum : public PedidosAppForcaVenda {
  public:
    api::ListagemPedidos ListarPedidosNovos(ContextoSincronizacao&) override {
        return api::ListagemPedidos(std::vector<std::string>{});
    }
    importacao::ResultadoImportacao ImportarPedido(ContextoSincronizacao&, const std::string&,
                                                   const importacao::DocumentoPedido&) override {
        return {importacao::DesfechoImportacao::Incluido};
    }
};

// The ERP's INI files without a database: enough for the data folder, the lock file and the
// shutdown watch, which is all that these tests start up.
class ServicoResidenteTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria raiz{"tessora-servico"};
    std::filesystem::path programa = raiz.Caminho() / "Servico";
    std::filesystem::path dados = raiz.Caminho() / "Dados";
    testes::HospedeiroFalso hospedeiro;
    AvisosQueEsperam avisos{hospedeiro};
    PainelMudo painel;
    PedidosNenhum pedidos;
    testes::Portao portao;
    std::atomic<bool> pediuFim{false};  // what the run saw of an end asked for meanwhile

    void SetUp() override {
        std::filesystem::create_directories(programa);
        std::filesystem::create_directories(dados);
        testes::GravarArquivo(
            programa / "tessoraempresa.ini",
            "[IniServidor]\r\nnomearquivo=" + (dados / "servidor.ini").string() + "\r\n");
        testes::GravarArquivo(dados / "servidor.ini", "[Database]\r\nServidor=\r\npath=" +
                                                          dados.string() + "/\r\nname=ERP.FDB\r\n");
    }

    ServicoResidente Criar(ServicoResidente::Execucao executar = {}) {
        if (!executar) {
            executar = [this](const AmbienteExecucao& ambiente) {
                portao.Esperar();
                pediuFim = ambiente.encerramento && *ambiente.encerramento;
                return ResumoExecucao{{}, FimExecucao::Concluida};
            };
        }
        return ServicoResidente({programa / "tessoraService.exe", 1min, 5s, executar}, hospedeiro,
                                hospedeiro, avisos, painel, pedidos);
    }
    std::filesystem::path ArquivoLock() const { return dados / "tessoraService.lock"; }
    std::filesystem::path ArquivoIni() const { return programa / "tessoraService.ini"; }
};

TEST_F(ServicoResidenteTest, FecharDuranteUmaExecucaoEsperaOFimDelaEParaOsTemporizadores) {
    ServicoResidente servico = Criar();
    EXPECT_EQ(hospedeiro.temporizadores.at(Temporizador::Vigia), 5s);  // watching from the start

    servico.SincronizarAgora();
    servico.Fechar();
    hospedeiro.Servir(100ms);
    EXPECT_TRUE(hospedeiro.fins.empty());
    EXPECT_TRUE(servico.EmExecucao());

    portao.Liberar();
    ASSERT_TRUE(hospedeiro.ServirAte([&] { return !hospedeiro.fins.empty(); }));
    EXPECT_TRUE(pediuFim);  // the run was asked to stop after the order it was writing
    EXPECT_EQ(hospedeiro.fins, std::vector<int>{0});
    EXPECT_EQ(hospedeiro.iniciadas, std::vector<OrigemExecucao>{OrigemExecucao::Botao});
    ASSERT_EQ(hospedeiro.terminadas.size(), 1u);
    EXPECT_TRUE(hospedeiro.terminadas[0].Normal());
    EXPECT_TRUE(hospedeiro.temporizadores.empty());
    // Start-up never loaded the settings, so none are written back.
    EXPECT_FALSE(std::filesystem::exists(ArquivoIni()));
}

// "Tentar novamente" runs that order alone, under the rule of one run at a time; the next run
// of the button asks for the new orders again.
TEST_F(ServicoResidenteTest, TentarNovamenteExecutaSoAquelePedido) {
    std::vector<std::optional<std::string>> pedidosDasExecucoes;
    ServicoResidente servico = Criar([&](const AmbienteExecucao& ambiente) {
        pedidosDasExecucoes.push_back(ambiente.pedido);
        portao.Esperar();
        return ResumoExecucao{{}, FimExecucao::Concluida};
    });
    servico.TentarNovamente("ped-7");
    servico.TentarNovamente("ped-8");  // a run goes: nothing
    servico.SincronizarAgora();
    portao.Liberar();
    ASSERT_TRUE(hospedeiro.ServirAte([&] { return hospedeiro.terminadas.size() == 1; }));
    servico.SincronizarAgora();
    ASSERT_TRUE(hospedeiro.ServirAte([&] { return hospedeiro.terminadas.size() == 2; }));

    EXPECT_EQ(pedidosDasExecucoes,
              (std::vector<std::optional<std::string>>{"ped-7", std::nullopt}));
    EXPECT_EQ(hospedeiro.iniciadas,
              (std::vector<OrigemExecucao>{OrigemExecucao::Repeticao, OrigemExecucao::Botao}));
}

TEST_F(ServicoResidenteTest, DesconectarDuranteUmaExecucaoEsperaOFimDelaESaiSemGravar) {
    ServicoResidente servico = Criar();
    servico.SincronizarAgora();
    testes::GravarArquivo(dados / "Conectado.txt", "DESCONECTAR\r\n");
    servico.Tique(Temporizador::Vigia);
    hospedeiro.Servir(100ms);
    EXPECT_TRUE(hospedeiro.fins.empty());

    portao.Liberar();
    ASSERT_TRUE(hospedeiro.ServirAte([&] { return !hospedeiro.fins.empty(); }));
    EXPECT_EQ(hospedeiro.fins, std::vector<int>{0});
    EXPECT_FALSE(std::filesystem::exists(ArquivoIni()));
    EXPECT_TRUE(avisos.mensagens.empty());
}

TEST_F(ServicoResidenteTest, LockQueNaoPodeSerCriadoEncerraComAMensagem) {
    std::filesystem::create_directory(ArquivoLock());  // where the file should be
    ServicoResidente servico = Criar();
    EXPECT_FALSE(servico.Iniciar());
    EXPECT_EQ(hospedeiro.fins, std::vector<int>{1});
    ASSERT_EQ(avisos.mensagens.size(), 1u);
    EXPECT_TRUE(avisos.mensagens[0].starts_with(
        "tessora Service|Não foi possível criar o arquivo " + ArquivoLock().string() + ": "))
        << avisos.mensagens[0];
    EXPECT_TRUE(std::filesystem::is_directory(ArquivoLock()));
    EXPECT_TRUE(hospedeiro.temporizadores.empty());
}

TEST_F(ServicoResidenteTest, FimPedidoPorUmAvisoDaExecucaoEsperaQueOAvisoSejaFechado) {
    ServicoResidente servico = Criar([](const AmbienteExecucao& ambiente) {
        ambiente.avisos.MostrarMensagem("Não foi encontrado o arquivo de inicialização",
                                        "Aviso do Sistema", IconeAviso::Erro);
        ambiente.avisos.SolicitarEncerramento();
        return ResumoExecucao{{}, FimExecucao::SemConexao};
    });
    servico.SincronizarAgora();
    ASSERT_TRUE(hospedeiro.ServirAte([&] { return !hospedeiro.fins.empty(); }));
    EXPECT_EQ(avisos.finsAoFechar, std::vector<size_t>{0});  // nothing ended under the box
    EXPECT_EQ(hospedeiro.fins, std::vector<int>{1});
    EXPECT_EQ(avisos.mensagens,
              std::vector<std::string>{"Aviso do Sistema|Não foi encontrado o arquivo de "
                                       "inicialização|erro"});
}

TEST_F(ServicoResidenteTest, ErroQueEscapaDaExecucaoChegaNoResumoENumaCaixaDeErro) {
    ServicoResidente servico = Criar([](const AmbienteExecucao&) -> ResumoExecucao {
        throw std::runtime_error("falha inesperada");
    });
    servico.SincronizarAgora();
    ASSERT_TRUE(hospedeiro.ServirAte([&] { return !hospedeiro.terminadas.empty(); }));
    hospedeiro.Servir(50ms);
    EXPECT_FALSE(hospedeiro.terminadas[0].fim);
    EXPECT_EQ(hospedeiro.terminadas[0].motivo, "falha inesperada");
    EXPECT_EQ(avisos.mensagens, std::vector<std::string>{"tessora Service|falha inesperada|erro"});
    EXPECT_TRUE(hospedeiro.fins.empty());  // the program stays
    EXPECT_FALSE(servico.EmExecucao());
}

}  // namespace
}  // namespace tessora::app
