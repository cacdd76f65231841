// The installer, silent, into a folder that already holds an ERP installation, and its
// uninstaller, which must take away only what the installer brought.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "arquivos_teste.h"
#include "execucao_programa.h"
#include "pasta_temporaria.h"

namespace tessora::testes {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const wchar_t* kChaveDesinstalacao =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\tessoraService";

std::optional<std::wstring> ValorRegistro(const wchar_t* nome) {
    wchar_t valor[1024];
    DWORD tamanho = sizeof valor;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kChaveDesinstalacao, nome, RRF_RT_REG_SZ, nullptr, valor,
                     &tamanho) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(valor);
}

TEST(InstaladorTest, InstalaNaPastaDoErpEADesinstalacaoSoLevaOQueTrouxe) {
    const PastaTemporaria raiz("tessora-instalacao");
    const fs::path pasta = raiz.Caminho() / "Sistema ERP";
    // The ERP's own files, and the settings the program left there in an earlier life.
    const std::vector<std::pair<fs::path, std::string>> arquivosErp = {
        {pasta / "tessoraempresa.exe", "erp"},
        {pasta / "tessoraempresa.ini",
         "[IniServidor]\r\nnomearquivo=C:\\ERP\\Dados\\servidor.ini\r\n"},
        {pasta / "tessoraService.ini", "[AppForcaVendas]\r\nProcessoAtivo=S\r\n"},
        {pasta / "Dados" / "servidor.ini", "[Database]\r\nname=ERP.FDB\r\n"},
    };
    for (const auto& [caminho, conteudo] : arquivosErp) GravarArquivo(caminho, conteudo);

    const auto instalacao =
        ExecutarPrograma(TESSORA_INSTALADOR_WINDOWS, L"/S /D=" + pasta.wstring());
    ASSERT_EQ(instalacao.codigo, 0u);
    const fs::path instalados = TESSORA_INSTALADOS_WINDOWS;
    for (const char* arquivo : {"tessoraService.exe", "tessoraAtualizador.exe"}) {
        EXPECT_EQ(LerArquivo(pasta / arquivo), LerArquivo(instalados / arquivo)) << arquivo;
    }
    const fs::path desinstalador = pasta / "Desinstalar tessoraService.exe";
    EXPECT_TRUE(fs::exists(desinstalador));
    EXPECT_EQ(ValorRegistro(L"DisplayName"), L"tessora Service");
    EXPECT_EQ(ValorRegistro(L"InstallLocation"), pasta.wstring());
    EXPECT_EQ(ValorRegistro(L"UninstallString"), L"\"" + desinstalador.wstring() + L"\"");

    // The uninstaller goes on from a copy of itself in the temporary folder, so that it can
    // remove itself; its own file is the last thing it removes.
    ASSERT_EQ(ExecutarPrograma(desinstalador, L"/S").codigo, 0u);
    const auto limite = std::chrono::steady_clock::now() + 60s;
    while (fs::exists(desinstalador) && std::chrono::steady_clock::now() < limite) {
        std::this_thread::sleep_for(100ms);
    }
    EXPECT_FALSE(fs::exists(desinstalador));
    EXPECT_FALSE(fs::exists(pasta / "tessoraService.exe"));
    EXPECT_FALSE(fs::exists(pasta / "tessoraAtualizador.exe"));
    EXPECT_EQ(ValorRegistro(L"DisplayName"), std::nullopt);
    for (const auto& [caminho, conteudo] : arquivosErp) {
        EXPECT_EQ(LerArquivo(caminho), conteudo) << caminho.string();
    }
}

}  // namespace
}  // namespace tessora::testes
