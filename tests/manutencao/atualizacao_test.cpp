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
    void ExibirAviso(std::string_view texto, bool confirmacao, bool fechaSozinho) override {
        mensagens.push_back("notificação|" + std::string(texto) +
                            (confirmacao ? "|confirmação" : "") +
                            (fechaSozinho ? "|fecha sozinho" : ""));
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

    void Verificar(int modo = 1) {
        avisos.mensagens.clear();
        avisos.encerramentos = 0;
        eventos.clear();
        rastro.clear();
        const AmbienteAtualizacao ambiente{
            .executavel = executavel,
            .caminhos = caminhos,
            .avisos = avisos,
            .liberarLock = [this] { eventos.emplace_back("lock liberado"); },
            .iniciarAtualizador =
                [this](const fs::path& alvo, std::string_view parametros) {
                    eventos.push_back("iniciado " + alvo.string() + " " + std::string(parametros));
                    return true;
                },
            .encerrarProcesso = [this] { eventos.emplace_back("encerrado"); },
        };
        VerificarAtualizacao(conexao, modo, ambiente);
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
    Textos eventos;

    const std::string kSemAtualizador =
        "Aviso do Sistema|Não foi encontrado o tessora Atualizador no Servidor. Entre em contato "
        "com o suporte "
        "técnico da tessora.|nenhum";
    const std::string kAviso =
        "notificação|AVISO: Existe uma nova versão do aplicativo tessoraService. A atualização "
        "será feita "
        "automaticamente. Aguarde...|fecha sozinho";
    const Textos kAtualiza = {"lock liberado",
                              "iniciado " + (mestre / "tessoraAtualizador").string() + " @F1 @M" +
                                  raiz.Caminho().string() + "/Servidor§ERP/Update @E" +
                                  raiz.Caminho().string() +
                                  "/Arquivos§de§Programas/ERP @AtessoraService",
                              "encerrado"};
};

TEST_F(AtualizacaoTest, DesfechosDaVerificacao) {
    struct Caso {
        const char* descricao;
        std::function<void()> preparar;
        int modo;
        Textos mensagens;
        int encerramentos;
        Textos eventos;
    };
    const Caso casos[] = {
        {"current: same two-second step", [] {}, 1, {}, 0, {}},
        {"master copy newer", [&] { Horas(10, 0, 12, 0); }, 1, {kAviso}, 0, kAtualiza},
        {"master copy older", [&] { Horas(12, 0, 11, 999); }, 1, {kAviso}, 0, kAtualiza},
        {"another mode never compares", [&] { Horas(10, 0, 40, 0); }, 0, {}, 0, {}},
        {"updater missing, current: the check goes on",
         [&] { fs::remove(mestre / "tessoraAtualizador"); },
         1,
         {kSemAtualizador},
         1,
         {}},
        {"master copy missing",
         [&] { fs::remove(mestre / "tessoraService"); },
         1,
         {"Aviso do Sistema|Falha na atualização do aplicativo. Não foi encontrado o arquivo "
          "tessoraService na pasta " +
          mestre.string() + ".\rO Sistema será finalizado.|advertencia"},
         1,
         {}},
        {"updater missing, copies differ: no update announced",
         [&] {
             fs::remove(mestre / "tessoraAtualizador");
             Horas(10, 0, 30, 0);
         },
         1,
         {kSemAtualizador,
          "Aviso do Sistema|Falha na atualização do aplicativo. Não foi encontrado o arquivo "
          "tessoraAtualizador na "
          "pasta " +
              mestre.string() + ".\rO Sistema será finalizado.|advertencia"},
         2,
         {}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        Publicar();
        caso.preparar();
        Verificar(caso.modo);
        EXPECT_EQ(avisos.mensagens, caso.mensagens);
        EXPECT_EQ(avisos.encerramentos, caso.encerramentos);
        EXPECT_EQ(eventos, caso.eventos);
        EXPECT_TRUE(VersaoVerificada());
    }
    EXPECT_EQ(banco.Ler("select VERSAO_ERP from TAB_PARAMETRO", "VERSAO_ERP"), "Versao Inicial");
}

TEST_F(AtualizacaoTest, PastaMestreFaltandoEhCriadaEAsSobrasExecSaem) {
    fs::remove_all(mestre);
    testes::GravarArquivo(programa / "Exec-tessoraService", "sobra");
    Verificar();
    EXPECT_TRUE(fs::is_directory(mestre));
    EXPECT_FALSE(fs::exists(programa / "Exec-tessoraService"));
    EXPECT_EQ(avisos.encerramentos, 2);  // neither the updater nor the master copy are there
}

TEST_F(AtualizacaoTest, ArquivoDebugarDelphiSuspendeTudoMenosAMensagem) {
    fs::remove_all(mestre);
    testes::GravarArquivo(programa / "Exec-tessoraService", "sobra");
    testes::GravarArquivo(programa / "DebugarDelphi.tmp", "");
    Verificar();
    EXPECT_EQ(avisos.mensagens,
              Textos{"Aviso do Sistema|O aplicativo tessoraService não será atualizado. A pasta " +
                     programa.string() + " está com o arquivo DebugarDelphi.tmp|advertencia"});
    EXPECT_EQ(avisos.encerramentos, 0);
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
    std::string parametros;
    const AmbienteAtualizacao ambiente{
        .executavel = outro,
        .caminhos = db::DefinirCaminhosAtualizacao(
            (raiz.Caminho() / "Servidor ERP" / "Dados" / "x.ini").string(), outro),
        .avisos = avisos,
        .iniciarAtualizador = [&](const fs::path&,
                                  std::string_view p) { return parametros = p, true; },
        .encerrarProcesso = [] {},
    };
    VerificarAtualizacao(conexao, 1, ambiente);
    EXPECT_EQ(avisos.mensagens,
              Textos{"notificação|AVISO: Existe uma nova versão do aplicativo tessoraService. A "
                     "atualização será feita automaticamente. Aguarde...|fecha sozinho"});
    EXPECT_TRUE(parametros.ends_with(" @AtessoraService.novo.exe")) << parametros;
}

}  // namespace
}  // namespace tessora::manutencao
