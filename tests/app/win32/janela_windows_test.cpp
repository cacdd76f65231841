// The Windows window program, run under Wine as a user would, in a Windows installation of the
// ERP where no Firebird client library can be had: its window is made with its controls, it
// goes behind its tray icon, and its notices show and end it.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instalacao_erp_windows.h"
#include "programa_janela.h"

namespace tessora::testes {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The design's pixels on this screen.
int Escalar(int pixels) {
    const HDC tela = GetDC(nullptr);
    const int dpi = GetDeviceCaps(tela, LOGPIXELSY);
    ReleaseDC(nullptr, tela);
    return MulDiv(pixels, dpi, USER_DEFAULT_SCREEN_DPI);
}

// A control: its text and its place in its parent's client area, in design pixels.
struct Controle {
    std::wstring texto;
    RECT lugar;
    bool operator==(const Controle& outro) const {
        return texto == outro.texto && EqualRect(&lugar, &outro.lugar);
    }
};

void PrintTo(const Controle& controle, std::ostream* saida) {
    *saida << "\"" << std::string(controle.texto.begin(), controle.texto.end()) << "\" {"
           << controle.lugar.left << ", " << controle.lugar.top << ", " << controle.lugar.right
           << ", " << controle.lugar.bottom << "}";
}

Controle Esperado(const std::wstring& texto, int x, int y, int largura, int altura) {
    return {texto, {Escalar(x), Escalar(y), Escalar(x + largura), Escalar(y + altura)}};
}

BOOL CALLBACK AcrescentarControle(HWND filho, LPARAM lista) {
    RECT lugar{};
    GetWindowRect(filho, &lugar);
    MapWindowPoints(nullptr, GetParent(filho), reinterpret_cast<POINT*>(&lugar), 2);
    reinterpret_cast<std::vector<Controle>*>(lista)->push_back({Texto(filho), lugar});
    return TRUE;
}

std::vector<Controle> Controles(HWND janela) {
    std::vector<Controle> controles;
    EnumChildWindows(janela, AcrescentarControle, reinterpret_cast<LPARAM>(&controles));
    return controles;
}

using JanelaWindowsTest = InstalacaoErpWindowsTest;

TEST_F(JanelaWindowsTest, JanelaComSeusControlesEErroDeConexaoEncerraAoFecharACaixa) {
    ProgramaJanela processo(programa);
    // Start-up cannot reach the database: its error box shows, the window behind it made.
    const HWND caixa = processo.AguardarJanela(L"#32770");
    ASSERT_TRUE(caixa);
    EXPECT_EQ(Texto(caixa), L"tessora Service");
    std::wstring mensagem;
    for (const auto& controle : Controles(caixa)) mensagem += controle.texto;
    EXPECT_THAT(mensagem, HasSubstr(L"Não foi possível conectar ao banco de dados: "));

    const HWND janela = processo.AguardarJanela(L"TfrmPrincipal");
    ASSERT_TRUE(janela);
    EXPECT_EQ(Texto(janela), L"tessora Service");
    RECT cliente{};
    GetClientRect(janela, &cliente);
    EXPECT_EQ(cliente.right, Escalar(606));
    EXPECT_EQ(cliente.bottom, Escalar(351));
    // Fixed size, with the close box only.
    const auto estilo = static_cast<DWORD>(GetWindowLongPtrW(janela, GWL_STYLE));
    EXPECT_TRUE(estilo & WS_SYSMENU);
    EXPECT_FALSE(estilo & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

    const auto controles = Controles(janela);
    EXPECT_THAT(controles,
                ::testing::Contains(::testing::Field(&Controle::texto, StartsWith(L"Versão: "))));
    for (const auto& esperado : {
             Esperado(L"Sincronizar Automaticamente", 10, 10, 240, 22),
             Esperado(L"Sincronizar Agora", 436, 6, 142, 28),
             Esperado(L"Data/Hora da Última atualização:", 10, 42, 200, 20),
             Esperado(L"00/00/0000 00:00", 212, 42, 120, 20),
             Esperado(L"Sincronizar a cada", 348, 42, 118, 20),
             Esperado(L"0", 468, 40, 54, 24),
             Esperado(L"min", 546, 42, 32, 20),
             Esperado(L"Log de Processamento", 10, 70, 200, 18),
             Esperado(L"", 10, 90, 568, 104),
             Esperado(L"Copiar Log", 478, 198, 100, 28),
             Esperado(L"Último processamento: 00/00/0000 00:00:00", 10, 230, 280, 18),
             Esperado(L"Próximo processamento: 00/00/0000 00:00:00", 296, 230, 282, 18),
             Esperado(L"Minimizar", 368, 316, 104, 28),
             Esperado(L"Encerrar Serviços", 478, 316, 122, 28),
             Esperado(L"Falhas e avisos", 10, 6, 130, 22),
             Esperado(L"Pesquisar:", 150, 8, 64, 18),
             // The history page's buttons keep to its right edge.
             Esperado(L"Exportar CSV...", 456, 3, 120, 28),
             Esperado(L"Abrir em janela", 456, 228, 120, 26),
         }) {
        EXPECT_THAT(controles, ::testing::Contains(esperado));
    }

    const HWND abas = FindWindowExW(janela, nullptr, L"SysTabControl32", nullptr);
    EXPECT_EQ(SendMessageW(abas, TCM_GETITEMCOUNT, 0, 0), 2);

    // "Minimizar" puts the program behind its tray icon.
    const HWND minimizar = FindWindowExW(janela, nullptr, L"Button", L"Minimizar");
    ASSERT_TRUE(minimizar);
    PostMessageW(janela, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(minimizar), BN_CLICKED),
                 reinterpret_cast<LPARAM>(minimizar));
    EXPECT_TRUE(AguardarIconeBandeja(janela, true));

    PostMessageW(caixa, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(processo.AguardarFim(), 1u);
    EXPECT_FALSE(fs::exists(dados / "tessoraService.lock"));
    EXPECT_TRUE(AguardarIconeBandeja(janela, false));
}

TEST_F(JanelaWindowsTest, OutraCopiaMostraOAvisoQueSeFechaSozinhoEEncerra) {
    // Another copy holds the lock file.
    const HANDLE trava =
        CreateFileW((dados / "tessoraService.lock").c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(trava, INVALID_HANDLE_VALUE);
    ProgramaJanela processo(programa);
    const HWND aviso = processo.AguardarJanela(L"TfrmMensagemConfirmarGenerica");
    ASSERT_TRUE(aviso);
    EXPECT_EQ(Texto(aviso), L"Aviso do Sistema");
    const auto controles = Controles(aviso);
    ASSERT_EQ(controles.size(), 1u);  // the message alone: no check box, no OK
    EXPECT_THAT(controles[0].texto, HasSubstr(L"já está sendo executado em outra sessão"));
    EXPECT_EQ(processo.AguardarFim(), 1u);
    CloseHandle(trava);
}

}  // namespace
}  // namespace tessora::testes
