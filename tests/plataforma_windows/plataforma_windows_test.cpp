// winsock2.h before windows.h, which would bring the older sockets header.
#include <winsock2.h>

#include <windows.h>

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "plataforma/area_trabalho.h"
#include "plataforma/arquivo_exclusivo.h"
#include "plataforma/processos.h"
#include "plataforma/saida_console_windows.h"
#include "plataforma/sinais_encerramento.h"
#include "plataforma/sistema.h"
#include "plataforma/tempo_arquivo.h"
#include "plataforma/texto_windows.h"

namespace tessora::plataforma {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class PastaTemporaria {
  public:
    PastaTemporaria() {
        static int contador = 0;
        caminho_ = fs::temp_directory_path() / ("tessora-" + std::to_string(GetCurrentProcessId()) +
                                                "-" + std::to_string(++contador));
        fs::create_directories(caminho_);
    }
    ~PastaTemporaria() {
        std::error_code erro;
        fs::remove_all(caminho_, erro);
    }
    const fs::path& Caminho() const { return caminho_; }

  private:
    fs::path caminho_;
};

std::optional<std::string> Ler(const fs::path& caminho) {
    std::ifstream entrada(caminho, std::ios::binary);
    if (!entrada) return std::nullopt;
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    return conteudo.str();
}

void Gravar(const fs::path& caminho, const std::string& conteudo) {
    std::ofstream(caminho, std::ios::binary) << conteudo;
}

bool Aguardar(const std::function<bool()>& condicao, std::chrono::milliseconds limite) {
    for (const auto fim = std::chrono::steady_clock::now() + limite; !condicao();) {
        if (std::chrono::steady_clock::now() > fim) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

TEST(SistemaWindowsTest, NomesECaminhosDoSistema) {
    EXPECT_EQ(SufixoExecutavel(), ".exe");
    EXPECT_EQ(SeparadorPasta(), '\\');
    EXPECT_EQ(CaminhoExecutavel().filename(), "testes_plataforma_windows.exe");
    EXPECT_EQ(PastaPrograma(), CaminhoExecutavel().parent_path());

    PastaTemporaria pasta;
    Gravar(pasta.Caminho() / "Conectado.TXT", "DESCONECTAR");
    EXPECT_TRUE(LocalizarArquivo(pasta.Caminho() / "conectado.txt"));
    EXPECT_FALSE(LocalizarArquivo(pasta.Caminho() / "outro.txt"));
    fs::create_directories(pasta.Caminho() / "Pasta");
    EXPECT_FALSE(LocalizarArquivo(pasta.Caminho() / "pasta"));
}

TEST(ArquivoExclusivoWindowsTest, SoUmDonoPorVezESobraEhAssumida) {
    PastaTemporaria pasta;
    const auto caminho = pasta.Caminho() / "tessoraService.lock";
    Gravar(caminho, "sobra");
    auto arquivo = ArquivoExclusivo::Abrir(caminho);
    ASSERT_TRUE(arquivo);
    EXPECT_FALSE(ArquivoExclusivo::Abrir(caminho));
    arquivo->Gravar("linha\r\n");
    arquivo->Apagar();
    EXPECT_FALSE(fs::exists(caminho));

    {
        auto outro = ArquivoExclusivo::Abrir(caminho);
        ASSERT_TRUE(outro);
        outro->Gravar("uma linha mais longa\r\n");
        outro->Gravar("curta\r\n");
    }
    EXPECT_EQ(Ler(caminho), "curta\r\n");  // let go without deleting
    EXPECT_TRUE(ArquivoExclusivo::Abrir(caminho));
}

TEST(AreaTrabalhoWindowsTest, AtalhoLevaAoAlvoComADescricao) {
    EXPECT_TRUE(fs::is_directory(PastaAreaTrabalho()));
    EXPECT_EQ(ExtensaoAtalho(), ".lnk");

    PastaTemporaria pasta;
    const auto arquivo = pasta.Caminho() / "Novo tessoraService.lnk";
    Gravar(arquivo, "atalho antigo");
    const auto alvo = pasta.Caminho() / "Programas ERP" / "tessoraService.exe";
    ASSERT_TRUE(CriarAtalho(arquivo, alvo, "Serviço tessora"));

    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IShellLinkW* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, reinterpret_cast<void**>(&link))));
    IPersistFile* persistencia = nullptr;
    ASSERT_TRUE(
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persistencia))));
    ASSERT_TRUE(SUCCEEDED(persistencia->Load(arquivo.c_str(), STGM_READ)));
    wchar_t texto[MAX_PATH] = {};
    link->GetPath(texto, MAX_PATH, nullptr, SLGP_RAWPATH);
    EXPECT_EQ(fs::path(texto), alvo);
    link->GetDescription(texto, MAX_PATH);
    EXPECT_EQ(Utf8(texto), "Serviço tessora");
    link->GetWorkingDirectory(texto, MAX_PATH);
    EXPECT_EQ(std::wstring(texto), L"");
    persistencia->Release();
    link->Release();
    CoUninitialize();
}

TEST(ProcessosWindowsTest, ProgramaIniciadoRecebeALinhaDeComando) {
    PastaTemporaria pasta;
    const auto saida = pasta.Caminho() / "eco.txt";
    ASSERT_TRUE(IniciarPrograma(
        CaminhoExecutavel(),
        "--eco " + saida.string() + " @F1 @M\\\\srv\\Servidor§ERP\\Update @EC:\\x @Anome"));
    ASSERT_TRUE(Aguardar([&] { return Ler(saida).value_or("").ends_with("|"); }, 30s));
    EXPECT_EQ(Ler(saida), "@F1|@M\\\\srv\\Servidor§ERP\\Update|@EC:\\x|@Anome|");
    EXPECT_FALSE(IniciarPrograma(pasta.Caminho() / "nao-existe.exe", ""));
}

TEST(ProcessosWindowsTest, ExecutavelEmExecucaoAcompanhaOProcesso) {
    PastaTemporaria pasta;
    const auto copia = pasta.Caminho() / "espera.exe";
    fs::copy_file(CaminhoExecutavel(), copia);
    EXPECT_FALSE(ExecutavelEmExecucao(copia));
    ASSERT_TRUE(IniciarPrograma(copia, "--esperar 2000"));
    EXPECT_TRUE(Aguardar([&] { return ExecutavelEmExecucao(copia); }, 30s));
    EXPECT_TRUE(Aguardar([&] { return !ExecutavelEmExecucao(copia); }, 30s));
}

TEST(TempoArquivoWindowsTest, UltimaGravacaoEmHoraLocal) {
    PastaTemporaria pasta;
    const auto caminho = pasta.Caminho() / "arquivo";
    Gravar(caminho, "");
    const SYSTEMTIME local{2024, 3, 5, 15, 14, 5, 7, 500};
    SYSTEMTIME universal{};
    ASSERT_TRUE(TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal));
    FILETIME hora{};
    ASSERT_TRUE(SystemTimeToFileTime(&universal, &hora));
    const HANDLE arquivo = CreateFileW(caminho.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(arquivo, INVALID_HANDLE_VALUE);
    SetFileTime(arquivo, nullptr, nullptr, &hora);
    CloseHandle(arquivo);

    EXPECT_EQ(UltimaGravacaoLocal(caminho), (DataHoraLocal{2024, 3, 15, 14, 5, 7}));
    EXPECT_FALSE(UltimaGravacaoLocal(pasta.Caminho() / "nao-existe"));
}

TEST(SinaisEncerramentoWindowsTest, PedidoDeFimTornaOSocketLegivel) {
    const int descritor = DesviarSinaisEncerramento();
    EXPECT_EQ(DesviarSinaisEncerramento(), descritor);
    LiberarSinaisEncerramento();
    const auto legivel = [descritor] {
        fd_set conjunto;
        FD_ZERO(&conjunto);
        FD_SET(static_cast<SOCKET>(descritor), &conjunto);
        timeval espera{2, 0};
        return select(0, &conjunto, nullptr, nullptr, &espera) == 1;
    };
    std::raise(SIGTERM);
    EXPECT_TRUE(legivel());
    ConsumirSinaisEncerramento(descritor);
    std::raise(SIGINT);  // the handler stays in place
    EXPECT_TRUE(legivel());
    ConsumirSinaisEncerramento(descritor);
}

TEST(SaidaConsoleTest, EntregaLinhasInteirasComoUtf16MesmoComCaractereDividido) {
    std::vector<std::wstring> escritas;
    SaidaConsole buffer([&](std::wstring_view texto) { escritas.emplace_back(texto); });
    std::ostream saida(&buffer);
    const std::string linha = "Não foi possível conectar €\n";
    // The "€" (three bytes) arrives split between two writes; nothing goes before the line ends.
    const size_t corte = linha.find("\xE2\x82") + 2;
    saida.write(linha.data(), static_cast<std::streamsize>(corte));
    EXPECT_TRUE(escritas.empty());
    saida << linha.substr(corte) << "Encerrando";
    saida.flush();
    EXPECT_EQ(escritas,
              (std::vector<std::wstring>{L"Não foi possível conectar \u20AC\n", L"Encerrando"}));

    // A flush in the middle of a character hands on what comes before it.
    escritas.clear();
    saida << "ç\xE2";
    saida.flush();
    saida << "\x82\xAC" << std::flush;
    EXPECT_EQ(escritas, (std::vector<std::wstring>{L"ç", L"\u20AC"}));
}

TEST(SinaisEncerramentoWindowsTest, EsperaTerminaComOPedidoDeFimOuComOTempo) {
    const int descritor = DesviarSinaisEncerramento();
    LiberarSinaisEncerramento();
    EXPECT_FALSE(AguardarSinaisEncerramento(descritor, std::chrono::milliseconds(20)));
    std::raise(SIGINT);
    EXPECT_TRUE(AguardarSinaisEncerramento(descritor, std::chrono::seconds(60)));
    ConsumirSinaisEncerramento(descritor);
    EXPECT_FALSE(AguardarSinaisEncerramento(descritor, std::chrono::milliseconds(0)));
}

TEST(SinaisEncerramentoWindowsTest, FimDaSessaoTornaOSocketLegivel) {
    const int descritor = DesviarSinaisEncerramento();
    LiberarSinaisEncerramento();
    // The session's watch is a hidden window of a thread of its own.
    HWND janela = nullptr;
    for (int i = 0; i < 500 && !(janela = FindWindowW(L"tessoraFimDaSessao", nullptr)); ++i) {
        Sleep(10);
    }
    ASSERT_NE(janela, nullptr);
    // A session end that another program called off asks nothing.
    PostMessageW(janela, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(AguardarSinaisEncerramento(descritor, std::chrono::milliseconds(300)));
    // Posted: the window's answer waits for the program's own end and never returns.
    PostMessageW(janela, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(AguardarSinaisEncerramento(descritor, std::chrono::seconds(60)));
    ConsumirSinaisEncerramento(descritor);
}

}  // namespace
}  // namespace tessora::plataforma
