#include "db/locais_erp.h"

#include <gtest/gtest.h>

#include "arquivos_teste.h"
#include "avisos_gravados.h"
#include "banco_teste.h"
#include "db/caminhos_atualizacao.h"
#include "plataforma/sistema.h"

namespace tessora::db {
namespace {

using testes::GravarArquivo;

class LocaisErpTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria raiz{"tessora-locais"};
    std::filesystem::path programa = raiz.Caminho() / "Sistema" / "Servico";
    std::string dados =
        (raiz.Caminho() / "Sistema" / "Dados").string() + plataforma::SeparadorPasta();
    testes::AvisosGravados avisos;

    void SetUp() override { std::filesystem::create_directories(programa); }
    void IniErp(const std::string& nome, const std::string& iniServidor) {
        GravarArquivo(programa / nome, "[IniServidor]\r\nnomearquivo=" + iniServidor + "\r\n");
    }
};

TEST_F(LocaisErpTest, SemIniErpUsaPastaDadosAoLadoDoPrograma) {
    EXPECT_EQ(ObterPastaDados(programa, avisos), dados);
    EXPECT_EQ(avisos.mensagens,
              std::vector<std::string>{
                  "Aviso do Sistema|Não foi encontrado a pasta Dados no servidor|erro"});
    EXPECT_EQ(avisos.encerramentos, 1);

    std::filesystem::create_directories(dados);
    testes::AvisosGravados semAviso;
    EXPECT_EQ(ObterPastaDados(programa, semAviso), dados);
    EXPECT_TRUE(semAviso.mensagens.empty());
}

TEST_F(LocaisErpTest, PastaDadosEhAPastaDoIniServidor) {
    const auto iniServidor = raiz.Caminho() / "Outra Base" / "servidor.ini";
    GravarArquivo(iniServidor, "[Database]\r\n");
    IniErp("tessoraempresa.ini", iniServidor.string());
    EXPECT_EQ(ObterPastaDados(programa, avisos),
              (raiz.Caminho() / "Outra Base").string() + plataforma::SeparadorPasta());
    EXPECT_TRUE(avisos.mensagens.empty());
}

TEST_F(LocaisErpTest, IniServidorAusenteAvisaEDevolveAPastaConfigurada) {
    IniErp("tessoraempresa.ini", (raiz.Caminho() / "nada" / "servidor.ini").string());
    EXPECT_EQ(ObterPastaDados(programa, avisos),
              (raiz.Caminho() / "nada").string() + plataforma::SeparadorPasta());
    ASSERT_EQ(avisos.mensagens.size(), 1u);
    EXPECT_EQ(avisos.mensagens[0],
              "Aviso do Sistema|Não foi encontrado o arquivo de inicialização dentro da pasta "
              "tessora Empresa|erro");

    testes::AvisosGravados outro;
    IniErp("tessoraempresa.ini", "servidor.ini");  // no separator at all
    EXPECT_EQ(ObterPastaDados(programa, outro), "");
}

// The ERP's INI files are edited by hand: on Windows a folder may end in "\" or "/" alike.
TEST_F(LocaisErpTest, PastaDadosAteOUltimoSeparadorDoSistema) {
    const std::string base = raiz.Caminho().string() + plataforma::SeparadorPasta();
    struct Caso {
        std::string iniServidor, pastaDados;
    };
#ifdef _WIN32
    const Caso casos[] = {
        {base + "Dados\\servidor.ini", base + "Dados\\"},
        {base + "Dados/servidor.ini", base + "Dados/"},
        {base + "Base/Dados\\servidor.ini", base + "Base/Dados\\"},
        {base + "Base\\Dados/servidor.ini", base + "Base\\Dados/"},
    };
#else
    const Caso casos[] = {
        {base + "Dados/servidor.ini", base + "Dados/"},
        {base + "Da\\dos/servidor.ini", base + "Da\\dos/"},  // "\" is part of a name here
    };
#endif
    for (const auto& caso : casos) {
        GravarArquivo(caso.iniServidor, "[Database]\r\n");
        IniErp("tessoraempresa.ini", caso.iniServidor);
        EXPECT_EQ(ObterPastaDados(programa, avisos), caso.pastaDados) << caso.iniServidor;
    }
    EXPECT_TRUE(avisos.mensagens.empty());
}

TEST_F(LocaisErpTest, ExecutavelEmpresa4EscolheONomeBaseMesmoSemSeuIni) {
    GravarArquivo(programa / "tessoraempresa4.exe", "");
    const auto iniServidor = raiz.Caminho() / "Dados" / "servidor.ini";
    GravarArquivo(iniServidor, "[Database]\r\npath=/base/\r\nname=ERP.FDB\r\n");
    IniErp("tessoraempresa.ini", iniServidor.string());

    EXPECT_EQ(NomeBaseErp(programa), "tessoraempresa4");
    EXPECT_EQ(ObterPastaDados(programa, avisos),
              dados);  // falls back to "Dados" beside the program
    testes::AvisosGravados avisosBanco;
    EXPECT_EQ(ObterCaminhoBancoDados(programa, avisosBanco).nomeBanco, "");
    EXPECT_EQ(avisosBanco.mensagens,
              std::vector<std::string>{
                  "Aviso do Sistema|Não foi encontrado o arquivo de inicialização|erro"});
    EXPECT_EQ(avisosBanco.encerramentos, 1);
}

TEST_F(LocaisErpTest, NomesFixosSaoAchadosSemDiferencaDeCaixa) {
    GravarArquivo(programa / "TessoraEmpresa4.EXE", "");
    const auto iniServidor = raiz.Caminho() / "Dados" / "Servidor.INI";
    GravarArquivo(iniServidor, "[DATABASE]\r\nPATH=/base/\r\nName=ERP.FDB\r\n");
    IniErp("TESSORAEMPRESA4.INI", (raiz.Caminho() / "Dados" / "servidor.ini").string());
    EXPECT_EQ(ObterCaminhoBancoDados(programa, avisos).nomeBanco, "/base/ERP.FDB");
    EXPECT_TRUE(avisos.mensagens.empty());
}

TEST_F(LocaisErpTest, ComposicaoDoNomeDoBanco) {
    struct Caso {
        std::string servidor, path, name, esperado;
    };
    const Caso casos[] = {
        {"srverp", "D:\\Base\\", "ERP.FDB", "srverp:D:\\Base\\ERP.FDB"},
        {"", "/srv/base/", "ERP.FDB", "/srv/base/ERP.FDB"},
        {"   ", "/srv/base/", "ERP.FDB", "/srv/base/ERP.FDB"},  // blanks only: no host
        {"", "/srv/base", "ERP.FDB", "/srv/baseERP.FDB"},       // no separator is added
        {"127.0.0.1", "/srv/base/", "ERP.FDB", "127.0.0.1:/srv/base/ERP.FDB"},
    };
    const auto iniServidor = raiz.Caminho() / "Dados" / "servidor.ini";
    IniErp("tessoraempresa.ini", iniServidor.string());
    for (const auto& caso : casos) {
        GravarArquivo(iniServidor, "[Database]\r\nServidor=" + caso.servidor +
                                       "\r\npath=" + caso.path + "\r\nname=" + caso.name + "\r\n");
        const auto local = ObterCaminhoBancoDados(programa, avisos);
        EXPECT_EQ(local.nomeBanco, caso.esperado) << caso.servidor << "|" << caso.path;
        EXPECT_EQ(local.localIniServidor, iniServidor.string());
    }
    EXPECT_TRUE(avisos.mensagens.empty());
}

TEST_F(LocaisErpTest, IniEmWindows1252EhLidoComoUtf8) {
    const auto iniServidor = raiz.Caminho() / "Dados" / "servidor.ini";
    IniErp("tessoraempresa.ini", iniServidor.string());
    GravarArquivo(iniServidor, "[Database]\r\npath=/srv/Gest\xE3o/\r\nname=ERP.FDB\r\n");
    EXPECT_EQ(ObterCaminhoBancoDados(programa, avisos).nomeBanco, "/srv/Gestão/ERP.FDB");
}

TEST_F(LocaisErpTest, ValoresEntreAspasComoOWindowsLe) {
    const auto iniServidor = raiz.Caminho() / "Dados" / "servidor.ini";
    IniErp("tessoraempresa.ini", "\"" + iniServidor.string() + "\"");
    GravarArquivo(iniServidor, "[Database]\r\npath=\"/srv/base/\"\r\nname='ERP.FDB'\r\n");
    const auto local = ObterCaminhoBancoDados(programa, avisos);
    EXPECT_EQ(local.nomeBanco, "/srv/base/ERP.FDB");
    EXPECT_EQ(local.localIniServidor, iniServidor.string());
    EXPECT_TRUE(avisos.mensagens.empty());
}

TEST(CaminhosAtualizacaoTest, PastaMestreEPastasCodificadas) {
    struct Caso {
        std::string local, pastaMestre;
    };
    const Caso casos[] = {
        {"/srv/ERP/Dados/servidor.ini", "/srv/ERP/Update"},
        {"//srv/erp/Dados/servidor.ini", "//srv/erp/Update"},
        {"/srv/ERP/Dados/", "/srv/Update"},  // a final separator is not scanned
        {"/servidor.ini", "/Update"},        // a single separator: beside the INI
        {"servidor.ini", ""},                // none: no master folder
        {"", ""},
#ifdef _WIN32
        {"C:\\ERP\\Dados\\servidor.ini", "C:\\ERP\\Update"},
        {"\\\\srv\\erp\\Dados\\servidor.ini", "\\\\srv\\erp\\Update"},
        {"C:\\ERP/Dados\\servidor.ini", "C:\\ERP/Update"},
        {"C:/ERP\\Dados/servidor.ini", "C:/ERP\\Update"},
        {"C:\\ERP\\Dados/", "C:\\Update"},
#else
        {"/srv/Base\\ERP/Dados/servidor.ini",
         "/srv/Base\\ERP/Update"},  // "\" is part of a name here
#endif
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(DefinirCaminhosAtualizacao(caso.local, "/opt/x/tessoraService").pastaMestre,
                  caso.pastaMestre)
            << caso.local;
    }
    const auto caminhos = DefinirCaminhosAtualizacao(
        "/mnt/Base ERP/Dados/servidor.ini", "/opt/Arquivos de Programas/ERP/tessoraService");
    EXPECT_EQ(caminhos.nomeExecutavel, "tessoraService");
    EXPECT_EQ(caminhos.pastaMestre, "/mnt/Base ERP/Update");
    EXPECT_EQ(caminhos.pastaMestreCodificada, "/mnt/Base§ERP/Update");
    EXPECT_EQ(caminhos.pastaProgramaCodificada, "/opt/Arquivos§de§Programas/ERP");
}

}  // namespace
}  // namespace tessora::db
