#include "manutencao/atualizacao.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <vector>

#include "arquivos_teste.h"
#include "avisos_gravados.h"
#include "banco_teste.h"
#include "manutencao/data_arquivo.h"

namespace tessora::manutencao {
namespace {

namespace fs = std::filesystem;
using Textos = std::vector<std::string>;

TEST(TextoDataArquivoTest, HoraLocalEmPassosDeDoisSegundos) {
    testes::PastaTemporaria pasta("tessora-data");
    const auto arquivo = pasta.Caminho() / "arquivo";
    testes::GravarArquivo(arquivo, "");
    struct Caso {
        int ano, mes, dia, hora, minuto, segundo, milissegundo;
        const char* texto;
    };
    const Caso casos[] = {
        {2024, 3, 15, 14, 5, 7, 500, "15/03/2024 14:05:06"},
        {2024, 3, 15, 14, 5, 6, 0, "15/03/2024 14:05:06"},
        {2024, 3, 15, 0, 0, 1, 900, "15/03/2024"},  // exactly midnight once packed
        {2024, 3, 15, 0, 0, 2, 0, "15/03/2024 00:00:02"},
        {1979, 12, 31, 23, 59, 59, 0, ""},  // no packed form before 1980
    };
    for (const Caso& c : casos) {
        testes::DefinirHoraLocal(arquivo, c.ano, c.mes, c.dia, c.hora, c.minuto, c.segundo,
                                 c.milissegundo);
        EXPECT_EQ(TextoDataArquivo(arquivo), c.texto) << c.texto;
    }
    EXPECT_EQ(TextoDataArquivo(pasta.Caminho() / "nao-existe"), "");

    {
        testes::VariavelAmbiente fuso("TZ", "<-03>3");
        tzset();
        using namespace std::chrono;
        fs::last_write_time(arquivo, file_clock::from_sys(sys_days{2024y / 3 / 15} + 2h + 1s));
        EXPECT_EQ(TextoDataArquivo(arquivo), "14/03/2024 23:00:00");
    }
    tzset();
}

// Tells the notice dialog apart from message boxes.
class AvisosAtualizacao : public testes::AvisosGravados {
  public:
    void ExibirAviso(std::string_view texto, ConfirmacaoAviso confirmacao,
                     FechamentoAviso fechamento) override {
        mensagens.push_back("notificação|" + std::string(texto) +
                            (confirmacao == ConfirmacaoAviso::Exigida ? "|confirmação" : "") +
                            (fechamento == FechamentoAviso::Sozinho ? "|fecha sozinho" : ""));
    }
};

class AtualizacaoTest : public ::testing::Test {
  protected:
    AtualizacaoTest() {
        conexao.DefinirRastro([this](std::string_view comando) { rastro.emplace_back(comando); });
        conexao.Abrir();
        Publicar();
    }

    // The master folder holds the updater and a copy of the program in the same
    // two-second step as the installed one.
    void Publicar() const {
        testes::GravarArquivo(executavel, "versão instalada");
        testes::GravarArquivo(mestre / "tessoraService", "versão publicada");
        testes::GravarArquivo(mestre / NomeAtualizador(), "atualizador");
        Horas(10, 300, 11, 900);
    }
    void Horas(int segundoInstalada, int msInstalada, int segundoPublicada, int msPublicada) const {
        testes::DefinirHoraLocal(executavel, 2025, 6, 2, 9, 30, segundoInstalada, msInstalada);
        testes::DefinirHoraLocal(mestre / "tessoraService", 2025, 6, 2, 9, 30, segundoPublicada,
                                 msPublicada);
    }

    // The outcome: "prosseguir", "encerrar" or "atualizar <updater> <command line>".
    std::string Verificar(ModoAtualizacao modo = ModoAtualizacao::CompararComCopiaMestre) {
        avisos.mensagens.clear();
        rastro.clear();
        const DesfechoAtualizacao desfecho = VerificarAtualizacao(
            conexao, modo, {.executavel = executavel, .caminhos = caminhos, .avisos = avisos});
        EXPECT_EQ(avisos.encerramentos, 0);  // the outcome says it, not an end request
        switch (desfecho.acao) {
            case DesfechoAtualizacao::Acao::Prosseguir:
                return "prosseguir";
            case DesfechoAtualizacao::Acao::Encerrar:
                return "encerrar";
            case DesfechoAtualizacao::Acao::Atualizar:
                break;
        }
        return "atualizar " + desfecho.atualizador.string() + " " + desfecho.parametros;
    }
    bool VersaoVerificada() const { return !rastro.empty(); }

    testes::PastaTemporaria raiz{"tessora-atualizacao"};
    const fs::path programa = raiz.Caminho() / "Arquivos de Programas" / "ERP";
    const fs::path executavel = programa / "tessoraService";
    const fs::path mestre = raiz.Caminho() / "Servidor ERP" / "Update";
    const db::CaminhosAtualizacao caminhos = db::DefinirCaminhosAtualizacao(
        (raiz.Caminho() / "Servidor ERP" / "Dados" / "servidor.ini").string(), executavel);
    testes::VariavelAmbiente home{"HOME", (raiz.Caminho() / "casa").string()};
    testes::BancoTeste banco{raiz.Caminho() / "ERP.FDB"};
    db::ConexaoErp conexao{banco.Nome()};
    Textos rastro;
    AvisosAtualizacao avisos;

    const std::string kSemAtualizador =
        "Aviso do Sistema|Não foi encontrado o tessora Atualizador no Servidor. Entre em contato "
        "com o suporte "
        "técnico da tessora.|nenhum";
    const std::string kAviso =
        "notificação|AVISO: Existe uma nova versão do aplicativo tessoraService. A atualização "
        "será feita "
        "automaticamente. Aguarde...|fecha sozinho";
    const std::string kAtualiza = "atualizar " + (mestre / "tessoraAtualizador").string() +
                                  " @F1 @M" + raiz.Caminho().string() + "/Servidor§ERP/Update @E" +
                                  raiz.Caminho().string() +
                                  "/Arquivos§de§Programas/ERP @AtessoraService";
};

TEST_F(AtualizacaoTest, DesfechosDaVerificacao) {
    constexpr auto kCompara = ModoAtualizacao::CompararComCopiaMestre;
    struct Caso {
        const char* descricao;
        std::function<void()> preparar;
        ModoAtualizacao modo;
        Textos mensagens;
        std::string desfecho;
    };
    const Caso casos[] = {
        {"current: same two-second step", [] {}, kCompara, {}, "prosseguir"},
        {"master copy newer", [&] { Horas(10, 0, 12, 0); }, kCompara, {kAviso}, kAtualiza},
        {"master copy older", [&] { Horas(12, 0, 11, 999); }, kCompara, {kAviso}, kAtualiza},
        {"another mode never compares",
         [&] { Horas(10, 0, 40, 0); },
         ModoAtualizacao::SemComparacao,
         {},
         "prosseguir"},
        {"updater missing, current: the check goes on",
         [&] { fs::remove(mestre / "tessoraAtualizador"); },
         kCompara,
         {kSemAtualizador},
         "encerrar"},
        {"master copy missing",
         [&] { fs::remove(mestre / "tessoraService"); },
         kCompara,
         {"Aviso do Sistema|Falha na atualização do aplicativo. Não foi encontrado o arquivo "
          "tessoraService na pasta " +
          mestre.string() + ".\rO Sistema será finalizado.|advertencia"},
         "encerrar"},
        {"updater missing, copies differ: no update announced",
         [&] {
             fs::remove(mestre / "tessoraAtualizador");
             Horas(10, 0, 30, 0);
         },
         kCompara,
         {kSemAtualizador,
          "Aviso do Sistema|Falha na atualização do aplicativo. Não foi encontrado o arquivo "
          "tessoraAtualizador na "
          "pasta " +
              mestre.string() + ".\rO Sistema será finalizado.|advertencia"},
         "encerrar"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        Publicar();
        caso.preparar();
        EXPECT_EQ(Verificar(caso.modo), caso.desfecho);
        EXPECT_EQ(avisos.mensagens, caso.mensagens);
        EXPECT_TRUE(VersaoVerificada());
    }
    EXPECT_EQ(banco.Ler("select VERSAO_ERP from TAB_PARAMETRO", "VERSAO_ERP"), "Versao Inicial");
}

TEST_F(AtualizacaoTest, PastaMestreFaltandoEhCriadaEAsSobrasExecSaem) {
    fs::remove_all(mestre);
    testes::GravarArquivo(programa / "Exec-tessoraService", "sobra");
    EXPECT_EQ(Verificar(), "encerrar");  // neither the updater nor the master copy are there
    EXPECT_TRUE(fs::is_directory(mestre));
    EXPECT_FALSE(fs::exists(programa / "Exec-tessoraService"));
}

TEST_F(AtualizacaoTest, ArquivoDebugarDelphiSuspendeTudoMenosAMensagem) {
    fs::remove_all(mestre);
    testes::GravarArquivo(programa / "Exec-tessoraService", "sobra");
    testes::GravarArquivo(programa / "DebugarDelphi.tmp", "");
    EXPECT_EQ(Verificar(), "prosseguir");
    EXPECT_EQ(avisos.mensagens,
              Textos{"Aviso do Sistema|O aplicativo tessoraService não será atualizado. A pasta " +
                     programa.string() + " está com o arquivo DebugarDelphi.tmp|advertencia"});
    EXPECT_FALSE(fs::exists(mestre));
    EXPECT_TRUE(fs::exists(programa / "Exec-tessoraService"));
    EXPECT_FALSE(VersaoVerificada());
}

TEST_F(AtualizacaoTest, NomeComPontoApareceAteOPrimeiroPontoNoAviso) {
    const auto outro = programa / "tessoraService.novo.exe";
    testes::GravarArquivo(outro, "");
    testes::GravarArquivo(mestre / "tessoraService.novo.exe", "mais novo");
    testes::DefinirHoraLocal(outro, 2025, 6, 2, 9, 30, 0);
    testes::DefinirHoraLocal(mestre / "tessoraService.novo.exe", 2025, 6, 2, 9, 31, 0);
    const AmbienteAtualizacao ambiente{
        .executavel = outro,
        .caminhos = db::DefinirCaminhosAtualizacao(
            (raiz.Caminho() / "Servidor ERP" / "Dados" / "x.ini").string(), outro),
        .avisos = avisos,
    };
    const std::string parametros =
        VerificarAtualizacao(conexao, ModoAtualizacao::CompararComCopiaMestre, ambiente).parametros;
    EXPECT_EQ(avisos.mensagens,
              Textos{"notificação|AVISO: Existe uma nova versão do aplicativo tessoraService. A "
                     "atualização será feita automaticamente. Aguarde...|fecha sozinho"});
    EXPECT_TRUE(parametros.ends_with(" @AtessoraService.novo.exe")) << parametros;
}

}  // namespace
}  // namespace tessora::manutencao
