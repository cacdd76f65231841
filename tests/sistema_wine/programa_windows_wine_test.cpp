// The Windows program under Wine, in a Windows installation of the ERP whose server INI names a
// Firebird server of the test's own, through a Firebird client library built for Windows: its
// import of the demo orders leaves the database, table by table, as the same run of the Linux
// program leaves it, and its window program starts, runs, shows the run and ends there.
// test-windows.sh names the Windows build through the environment: TESSORA_WINE (Wine's loader
// for the build), TESSORA_SERVICO_WINDOWS (tessoraService.exe), TESSORA_JANELA_WINDOWS (the
// window program's test suite) and TESSORA_FBCLIENT_WINDOWS (fbclient.dll); without them the
// tests are skipped.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "api_substituta.h"
#include "arquivos_teste.h"
#include "banco_teste.h"
#include "instalacao_erp_teste.h"
#include "pasta_temporaria.h"
#include "script_sql.h"
#include "servidor_firebird.h"

namespace tessora::testes {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

struct Execucao {
    int codigo = -1;
    std::vector<std::string> linhas;
};

Execucao Executar(const std::string& comando) {
    Execucao execucao;
    FILE* saida = popen(comando.c_str(), "r");  // Wine's own messages go to stderr
    if (!saida) return execucao;
    std::array<char, 4096> linha;
    while (fgets(linha.data(), linha.size(), saida)) {
        std::string texto(linha.data());
        while (!texto.empty() && (texto.back() == '\n' || texto.back() == '\r')) texto.pop_back();
        execucao.linhas.push_back(texto);
    }
    execucao.codigo = WEXITSTATUS(pclose(saida));
    return execucao;
}

// The program's log lines without their time stamps ("dd/mm/yyyy hh:mm:ss - ").
std::vector<std::string> SemHorario(const std::vector<std::string>& linhas) {
    std::vector<std::string> texto;
    for (const auto& linha : linhas) texto.push_back(linha.size() > 22 ? linha.substr(22) : linha);
    return texto;
}

std::string EntreAspas(const fs::path& caminho) { return "'" + caminho.string() + "'"; }

// A Linux path as the Windows program sees it: Wine's drive Z: is the root.
std::string CaminhoWindows(const fs::path& caminho) {
    std::string texto = "Z:" + caminho.string();
    for (char& c : texto) {
        if (c == '/') c = '\\';
    }
    return texto;
}

// The demo's orders (one of them for a new customer whose name has accents, with three items)
// and one that cannot be imported: its customer is new and the API fails to give it
// (ApiDemo's rule).
std::string EstadoDemo() {
    std::string estado = LerArquivo(PastaFontes() / "erp/demo/estado-api.json").value_or("");
    const std::string lista = "\"pedidos\": [";
    const auto inicio = estado.find(lista);
    if (inicio == std::string::npos) return estado;
    estado.insert(inicio + lista.size(),
                  R"({"id":"ped-3900","tipo":"Pedido","registrado_erp_em":null,"numero_seq":3900,)"
                  R"("cliente_id":"cli-2003","vendedor_id":"vend-101",)"
                  R"("valor_produtos":"25.00","itens":[{"id_item":"ped-3900-1",)"
                  R"("produto_id":"prod-501","quantidade":"2","valor_unitario":"12.5"}]},)");
    return estado;
}

std::unique_ptr<ApiSubstituta> ApiDemo() {
    auto api = std::make_unique<ApiSubstituta>(EstadoDemo());
    api->DefinirRegra({.metodo = "GET",
                       .caminho = "/api/clientes/cli-2003",
                       .status = 503,
                       .corpo = R"({"success":false,"message":"Fora do ar"})"});
    return api;
}

std::string Ambiente(const char* nome) {
    const char* valor = std::getenv(nome);
    return valor ? valor : "";
}

class ProgramaWindowsWineTest : public ::testing::Test {
  protected:
    const std::string wine = Ambiente("TESSORA_WINE");
    const std::string servicoWindows = Ambiente("TESSORA_SERVICO_WINDOWS");
    const std::string janelaWindows = Ambiente("TESSORA_JANELA_WINDOWS");
    const std::string fbclientWindows = Ambiente("TESSORA_FBCLIENT_WINDOWS");
    std::unique_ptr<ServidorFirebirdTeste> servidor;
    const PastaTemporaria windows{"tessora-erp-windows"};
    const fs::path programa = windows.Caminho() / "Servico";
    const fs::path dados = windows.Caminho() / "Dados";

    void SetUp() override {
        if (wine.empty() || servicoWindows.empty() || janelaWindows.empty() ||
            fbclientWindows.empty()) {
            GTEST_SKIP() << "run by test-windows.sh, which names the Windows build";
        }
        servidor = std::make_unique<ServidorFirebirdTeste>();
    }

    // A fresh ERP database on the test's server.
    std::string CriarBanco(const std::string& arquivo) const {
        ferramentas::CriarBancoErp(
            servidor->NomeBanco(arquivo),
            {PastaFontes() / "erp/esquema.sql", PastaFontes() / "erp/semente.sql"});
        return servidor->NomeBanco(arquivo);
    }

    // The ERP's Windows installation on a fresh database of that file: the client library in
    // the program folder, the INIs in Windows form; the server's folder is the server's own, a
    // Linux one.
    std::string InstalarWindows(const std::string& arquivo, const ApiSubstituta& api) const {
        fs::create_directories(programa);
        fs::create_directories(dados);
        const std::string banco = CriarBanco(arquivo);
        fs::copy_file(servicoWindows, programa / "tessoraService.exe");
        fs::copy_file(fbclientWindows, programa / "fbclient.dll");
        // The master folder beside the data folder publishes the same program, so that the
        // window program's start-up finds it current, and an updater.
        const fs::path mestre = windows.Caminho() / "Update";
        fs::create_directories(mestre);
        fs::copy_file(programa / "tessoraService.exe", mestre / "tessoraService.exe");
        fs::last_write_time(mestre / "tessoraService.exe",
                            fs::last_write_time(programa / "tessoraService.exe"));
        GravarArquivo(mestre / "tessoraAtualizador.exe", "atualizador");
        GravarArquivo(
            programa / "tessoraempresa.ini",
            "[IniServidor]\r\nnomearquivo=" + CaminhoWindows(dados / "servidor.ini") + "\r\n");
        GravarArquivo(dados / "servidor.ini", "[Database]\r\nServidor=" + servidor->Host() +
                                                  "\r\npath=" + servidor->PastaDados().string() +
                                                  "/\r\nname=" + arquivo + "\r\n");
        // Wine's Schannel matches a certificate to a host name only, not to an address.
        GravarArquivo(
            programa / "tessoraService.ini",
            "[AppForcaVendas]\r\nUrlBaseApi=https://localhost:" + std::to_string(api.Porta()) +
                "/api\r\nArquivoCertificados=" + CaminhoWindows(api.ArquivoCertificado()) + "\r\n");
        return banco;
    }

    std::string Wine() const { return "WINEDEBUG=-all " + EntreAspas(wine) + " "; }

    // Each user table's rows in isql's list form, ordered by every column. The run's time
    // stamp differs between runs and is masked: the note that says when an order was captured.
    std::map<std::string, std::string> Tabelas(const std::string& banco) const {
        const std::string nomes = servidor->Isql(
            banco,
            "set list on;\nselect trim(rdb$relation_name) as tabela, count(*) as colunas\n"
            "from rdb$relation_fields f join rdb$relations r using (rdb$relation_name)\n"
            "where r.rdb$system_flag = 0 and r.rdb$view_blr is null\n"
            "group by rdb$relation_name order by 1;\n");
        std::map<std::string, std::string> tabelas;
        const std::regex linhaTabela(R"(TABELA\s+(\S+)\s+COLUNAS\s+(\d+))");
        const std::regex dataHora(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)");
        for (std::sregex_iterator i(nomes.begin(), nomes.end(), linhaTabela), fim; i != fim; ++i) {
            std::string ordem;
            for (int coluna = 1; coluna <= std::stoi((*i)[2]); ++coluna) {
                ordem += (coluna > 1 ? "," : "") + std::to_string(coluna);
            }
            const std::string linhas =
                servidor->Isql(banco, "set list on;\nselect * from " + (*i)[1].str() +
                                          " order by " + ordem + ";\n");
            tabelas[(*i)[1]] = std::regex_replace(linhas, dataHora, "<data e hora>");
        }
        return tabelas;
    }
};

TEST_F(ProgramaWindowsWineTest, SincronizarImportaOsPedidosDeDemonstracaoComoOProgramaLinux) {
    // Each run gets the API in its first state: the run acknowledges the orders it imported.
    const auto apiLinux = ApiDemo();
    const auto apiWindows = ApiDemo();

    InstalacaoErpTeste linux;
    const std::string bancoLinux = CriarBanco("linux.fdb");
    fs::copy_file(TESSORA_DIR_BUILD "/app/tessoraService", linux.Executavel());
    GravarArquivo(linux.PastaPrograma() / "tessoraService.ini",
                  "[AppForcaVendas]\r\nUrlBaseApi=" + apiLinux->UrlBase() +
                      "\r\nArquivoCertificados=" + apiLinux->ArquivoCertificado() + "\r\n");
    linux.DefinirBanco(servidor->Host(), servidor->PastaDados().string() + "/", "linux.fdb");
    const std::string bancoWindows = InstalarWindows("windows.fdb", *apiWindows);

    const Execucao execucaoLinux = Executar(EntreAspas(linux.Executavel()) + " --sincronizar");
    const Execucao execucaoWindows =
        Executar(Wine() + EntreAspas(programa / "tessoraService.exe") + " --sincronizar");

    // Both runs tell the same: the demo's two orders in, the added one not.
    EXPECT_EQ(execucaoWindows.codigo, execucaoLinux.codigo);
    const auto log = SemHorario(execucaoWindows.linhas);
    EXPECT_EQ(log, SemHorario(execucaoLinux.linhas));
    EXPECT_EQ(std::count(log.begin(), log.end(), "Pedido incluído no sistema."), 2);
    EXPECT_THAT(log,
                Contains(StartsWith("Não foi possível incluir o pedido: ped-3900 no sistema")));
    EXPECT_THAT(log, Contains("Encerrando processamento..."));
    EXPECT_FALSE(fs::exists(dados / "tessoraService.lock"));

    const auto tabelasLinux = Tabelas(bancoLinux);
    const auto tabelasWindows = Tabelas(bancoWindows);
    ASSERT_FALSE(tabelasLinux.empty());
    EXPECT_THAT(tabelasWindows.at("MOV_NF_COMERCIO_ITEM"), HasSubstr("ID_NF_COMERCIO"));
    for (const auto& [tabela, linhas] : tabelasLinux) {
        EXPECT_EQ(tabelasWindows.at(tabela), linhas) << tabela;
    }
    EXPECT_EQ(tabelasWindows.size(), tabelasLinux.size());
}

TEST_F(ProgramaWindowsWineTest, JanelaSincronizaNoBancoDoServidor) {
    const auto api = ApiDemo();
    const std::string banco = InstalarWindows("janela.fdb", *api);
    const std::string vazio = Tabelas(banco).at("MOV_NF_COMERCIO_ITEM");

    // The window program's own suite drives it; its display comes from test-windows.sh.
    const Execucao janela =
        Executar("TESSORA_ERP_WINDOWS=" + EntreAspas(CaminhoWindows(programa)) + " " + Wine() +
                 EntreAspas(janelaWindows) + " --gtest_filter=JanelaBancoWindowsTest.*");
    std::string saida;
    for (const auto& linha : janela.linhas) saida += linha + "\n";
    EXPECT_EQ(janela.codigo, 0) << saida;
    EXPECT_THAT(janela.linhas, Contains(HasSubstr("1 test.")));
    EXPECT_THAT(janela.linhas, Not(Contains(HasSubstr("SKIPPED")))) << saida;

    // The run from the button imported the orders.
    EXPECT_NE(Tabelas(banco).at("MOV_NF_COMERCIO_ITEM"), vazio);
}

}  // namespace
}  // namespace tessora::testes
