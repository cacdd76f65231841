#include "manutencao/arquivos_exec.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "arquivos_teste.h"
#include "banco_teste.h"

namespace tessora::manutencao {
namespace {

namespace fs = std::filesystem;

// Names and contents of the files of a folder.
std::map<std::string, std::string> Arquivos(const fs::path& pasta) {
    std::map<std::string, std::string> arquivos;
    if (!fs::exists(pasta)) return arquivos;
    for (const auto& entrada : fs::directory_iterator(pasta)) {
        arquivos[entrada.path().filename().string()] =
            testes::LerArquivo(entrada.path()).value_or("");
    }
    return arquivos;
}

TEST(NomesExecTest, MarcadorTrocaSoOExeMinusculoEDaExtensaoAQuemNaoTem) {
    const std::pair<const char*, const char*> casos[] = {
        {"tessoraService.exe", "Exec-tessoraService.ini"},
        {"tessoraService", "Exec-tessoraService.ini"},
        {"TESSORAEMPRESA.EXE", "Exec-TESSORAEMPRESA.EXE"},
        {"a.exe.b.exe", "Exec-a.ini.b.ini"},
    };
    for (const auto& [nome, marcador] : casos) EXPECT_EQ(NomeMarcadorExec(nome), marcador) << nome;
    EXPECT_EQ(NomeSemExe("tessoraService.exe"), "tessoraService");
    EXPECT_EQ(NomeSemExe("TESSORAEMPRESA.EXE"), "TESSORAEMPRESA");
    EXPECT_EQ(NomeSemExe("tessoraService"), "tessoraService");
}

class ArquivosExecTest : public ::testing::Test {
  protected:
    ArquivosExecTest() {
        fs::create_directories(programa);
        fs::create_directories(mestre);
        fs::create_directories(desktop);
    }

    void Tratar(const std::string& nome) const {
        TratarArquivosExec(
            programa / nome,
            db::DefinirCaminhosAtualizacao((dados / "servidor.ini").string(), programa / nome));
    }
    void GravarMarcador(const std::string& nome, const std::string& pastaOrigem) const {
        testes::GravarArquivo(programa / nome,
                              "[Configuracao]\r\nPastaMestre=" + pastaOrigem + "\r\n");
    }
    void PrepararOrigem() const {
        testes::GravarArquivo(origem / "a.exe", "novo a");
        testes::GravarArquivo(origem / "B.EXE", "novo b");
        testes::GravarArquivo(origem / "c.exe", "novo c");
        testes::GravarArquivo(origem / "leia.txt", "texto");
        testes::GravarArquivo(mestre / "c.exe", "antigo c");
    }

    testes::PastaTemporaria raiz{"tessora-exec"};
    const fs::path programa = raiz.Caminho() / "Arquivos de Programas" / "ERP";
    const fs::path dados = raiz.Caminho() / "Servidor ERP" / "Dados";
    const fs::path mestre = raiz.Caminho() / "Servidor ERP" / "Update";
    const fs::path origem = raiz.Caminho() / "Publicados";
    const fs::path desktop = raiz.Caminho() / "casa" / "Desktop";
    testes::VariavelAmbiente home{"HOME", (raiz.Caminho() / "casa").string()};
    testes::VariavelAmbiente config{"XDG_CONFIG_HOME", std::nullopt};
};

TEST_F(ArquivosExecTest, SemMarcadorSoApagaASobraDoExecutavel) {
    testes::GravarArquivo(programa / "Exec-tessoraService", "sobra");
    testes::GravarArquivo(programa / "tessoraService", "programa");
    Tratar("tessoraService");
    EXPECT_EQ(Arquivos(programa),
              (std::map<std::string, std::string>{{"tessoraService", "programa"}}));
    EXPECT_TRUE(Arquivos(desktop).empty());
    EXPECT_EQ(ObterPastaAreaTrabalho(), desktop.string() + "/");
}

TEST_F(ArquivosExecTest, MarcadorDesteProgramaCriaOAtalhoSemCopiasEDesaparece) {
    PrepararOrigem();
    GravarMarcador("Exec-tessoraService.ini", origem.string());
    testes::GravarArquivo(programa / "Exec-tessoraService", "sobra");
    Tratar("tessoraService");

    EXPECT_TRUE(Arquivos(programa).empty());
    EXPECT_EQ(Arquivos(desktop),
              (std::map<std::string, std::string>{
                  {"Novo tessoraService.desktop",
                   "[Desktop Entry]\nType=Application\nName=tessoraService\nExec=\"" +
                       (programa / "tessoraService").string() + "\"\nTerminal=false\n"}}));
    EXPECT_EQ(Arquivos(mestre), (std::map<std::string, std::string>{{"c.exe", "antigo c"}}));
}

TEST_F(ArquivosExecTest, MarcadorDoErpCopiaParaAPastaMestreSoOQueFalta) {
    PrepararOrigem();
    // No source folder: nothing is copied (the root of the file system is no source).
    GravarMarcador("Exec-tessoraEmpresa4.ini", "");
    Tratar("tessoraEmpresa4.exe");
    EXPECT_EQ(Arquivos(mestre), (std::map<std::string, std::string>{{"c.exe", "antigo c"}}));

    // The master folder's blank travels as "§" and is turned back on the way.
    GravarMarcador("Exec-tessoraEmpresa4.ini", origem.string());
    Tratar("tessoraEmpresa4.exe");
    EXPECT_EQ(Arquivos(mestre),
              (std::map<std::string, std::string>{
                  {"a.exe", "novo a"}, {"B.EXE", "novo b"}, {"c.exe", "antigo c"}}));
    EXPECT_TRUE(Arquivos(programa).empty());
    EXPECT_EQ(Arquivos(desktop).count("Novo tessoraEmpresa4.desktop"), 1u);
}

TEST_F(ArquivosExecTest, CopiaNaPastaMestreGuardaAHoraDaOrigem) {
    // A copy that looked newer than the installed program would start a needless update.
    PrepararOrigem();
    testes::DefinirHoraLocal(origem / "a.exe", 2021, 3, 4, 5, 6, 8);
    GravarMarcador("Exec-tessoraEmpresa.ini", origem.string());
    Tratar("tessoraEmpresa.exe");
    ASSERT_TRUE(fs::exists(mestre / "a.exe"));
    EXPECT_EQ(fs::last_write_time(mestre / "a.exe"), fs::last_write_time(origem / "a.exe"));
}

TEST_F(ArquivosExecTest, NomeEmMaiusculasNaoEhExecutavelDoErp) {
    PrepararOrigem();
    GravarMarcador("Exec-TESSORAEMPRESA.EXE", origem.string());
    Tratar("TESSORAEMPRESA.EXE");
    EXPECT_EQ(Arquivos(mestre), (std::map<std::string, std::string>{{"c.exe", "antigo c"}}));
    EXPECT_TRUE(Arquivos(programa).empty());
    EXPECT_EQ(Arquivos(desktop).count("Novo TESSORAEMPRESA.desktop"), 1u);
}

}  // namespace
}  // namespace tessora::manutencao
