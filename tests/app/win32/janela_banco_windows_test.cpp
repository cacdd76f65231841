// The window program under Wine in a Windows installation of the ERP that reaches a real
// database: the Linux build's wine suite lays the installation out, with a Firebird server and
// the substitute API, names its program folder in TESSORA_ERP_WINDOWS and runs this test;
// without it the test is skipped.
#include <windows.h>

#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "app/configuracoes/configuracoes_historico.h"
#include "app/historico/leitura_historico.h"
#include "arquivos_teste.h"
#include "programa_janela.h"

namespace tessora::testes {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

struct BuscaControles {
    const wchar_t* classe;
    std::vector<HWND> achados;
};

// A function, not a lambda: the 32-bit build's callbacks take the stdcall convention.
BOOL CALLBACK AcrescentarDaClasse(HWND filho, LPARAM dados) {
    auto& busca = *reinterpret_cast<BuscaControles*>(dados);
    wchar_t nome[64] = {};
    GetClassNameW(filho, nome, 64);
    if (lstrcmpiW(nome, busca.classe) == 0) busca.achados.push_back(filho);
    return TRUE;
}

// The window's controls of that class, in the order they were made.
std::vector<HWND> Controles(HWND janela, const wchar_t* classe) {
    BuscaControles busca{classe, {}};
    EnumChildWindows(janela, AcrescentarDaClasse, reinterpret_cast<LPARAM>(&busca));
    return busca.achados;
}

HWND Botao(HWND janela, const std::wstring& texto) {
    for (const HWND botao : Controles(janela, L"Button")) {
        if (Texto(botao) == texto) return botao;
    }
    return nullptr;
}

bool Aguardar(const std::function<bool()>& condicao) {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condicao()) {
        if (std::chrono::steady_clock::now() > limite) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Another program's tab is chosen as a user does, with the mouse: where its tabs lie is that
// program's to know, so the click moves along the strip until the tab is the chosen one.
bool EscolherAba(HWND abas, int aba) {
    for (int x = 5; x < 600; x += 10) {
        SendMessageW(abas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
        SendMessageW(abas, WM_LBUTTONUP, 0, MAKELPARAM(x, 10));
        if (SendMessageW(abas, TCM_GETCURSEL, 0, 0) == aba) return true;
    }
    return false;
}

TEST(JanelaBancoWindowsTest, IniciaNaBandejaSincronizaMostraOHistoricoEEncerra) {
    const char* pasta = std::getenv("TESSORA_ERP_WINDOWS");
    if (!pasta) GTEST_SKIP() << "run by the Linux build's wine suite, which lays out the ERP";
    const fs::path programa = pasta;
    ProgramaJanela processo(programa);

    // Start-up reaches the database and goes behind the tray icon, with no error box.
    const HWND janela = processo.AguardarJanela(L"TfrmPrincipal");
    ASSERT_TRUE(janela);
    ASSERT_TRUE(AguardarIconeBandeja(janela, true));
    EXPECT_FALSE(IsWindowVisible(janela));

    ShowWindow(janela, SW_SHOWNORMAL);
    SetForegroundWindow(janela);
    const auto grades = Controles(janela, L"SysListView32");
    ASSERT_FALSE(grades.empty());
    const HWND execucoes = grades.front();
    const HWND sincronizar = Botao(janela, L"Sincronizar Agora");
    ASSERT_TRUE(sincronizar);
    ASSERT_TRUE(Aguardar([&] { return IsWindowEnabled(sincronizar) != FALSE; }));
    const auto antes = SendMessageW(execucoes, LVM_GETITEMCOUNT, 0, 0);

    // The run from the button ends in the history, with the button on again.
    PostMessageW(sincronizar, BM_CLICK, 0, 0);
    ASSERT_TRUE(Aguardar([&] {
        return SendMessageW(execucoes, LVM_GETITEMCOUNT, 0, 0) > antes &&
               IsWindowEnabled(sincronizar) != FALSE;
    }));
    const HWND abas = Controles(janela, L"SysTabControl32").at(0);
    ASSERT_TRUE(EscolherAba(abas, 1));
    EXPECT_TRUE(Aguardar([&] { return IsWindowVisible(execucoes) != FALSE; }));

    // The order that the run could not include (the API cannot give its new customer) is in
    // "Pedidos com falha" with its whole message; "Tentar novamente" runs it alone, and it
    // fails again, a second time in a row.
    ASSERT_TRUE(EscolherAba(abas, 0));
    const HWND botaoFalhas = Botao(janela, L"Pedidos com falha");
    ASSERT_TRUE(botaoFalhas);
    PostMessageW(botaoFalhas, BM_CLICK, 0, 0);
    const HWND falhas = processo.AguardarJanela(L"TfrmPedidosComFalha");
    ASSERT_TRUE(falhas);
    ASSERT_TRUE(Aguardar([&] { return IsWindowVisible(falhas) != FALSE; }));
    EXPECT_EQ(SendMessageW(Controles(falhas, L"SysListView32").at(0), LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(Texto(Controles(falhas, L"Edit").at(0))
                  .rfind(L"Não foi possível incluir o pedido: ped-3900 no sistema", 0),
              0u);
    const HWND tentar = Botao(falhas, L"Tentar novamente");
    ASSERT_TRUE(tentar);
    const auto depoisDoBotao = SendMessageW(execucoes, LVM_GETITEMCOUNT, 0, 0);
    PostMessageW(tentar, BM_CLICK, 0, 0);
    ASSERT_TRUE(Aguardar([&] {
        return SendMessageW(execucoes, LVM_GETITEMCOUNT, 0, 0) > depoisDoBotao &&
               IsWindowEnabled(tentar) != FALSE;
    }));
    const auto historico =
        app::LeituraHistorico(app::ObterArquivoHistorico(programa / "tessoraService.exe"))
            .Execucoes({});
    ASSERT_FALSE(historico.empty());
    EXPECT_EQ(historico.back().origem, "repeticao");
    ASSERT_EQ(historico.back().pedidos.size(), 1u);
    EXPECT_EQ(historico.back().pedidos[0].idApp, "ped-3900");
    EXPECT_EQ(historico.back().pedidos[0].falhasSeguidas, 2);

    // "Encerrar Serviços" writes the settings and ends the program, its lock file gone.
    const HWND encerrar = Botao(janela, L"Encerrar Serviços");
    ASSERT_TRUE(encerrar);
    PostMessageW(encerrar, BM_CLICK, 0, 0);
    EXPECT_EQ(processo.AguardarFim(), 0u);
    const auto configuracoes = LerArquivo(programa / "tessoraService.ini");
    ASSERT_TRUE(configuracoes);
    EXPECT_THAT(*configuracoes, HasSubstr("ProcessoAtivo="));
    EXPECT_THAT(*configuracoes, HasSubstr("TempoEsperaAtualizacao="));
    EXPECT_FALSE(fs::exists(programa.parent_path() / "Dados" / "tessoraService.lock"));

    // Started again, it shows that run from the history instead of a time of zeros.
    ProgramaJanela novamente(programa);
    const HWND depois = novamente.AguardarJanela(L"TfrmPrincipal");
    ASSERT_TRUE(depois);
    ASSERT_TRUE(AguardarIconeBandeja(depois, true));
    std::wstring ultimo;
    for (const HWND rotulo : Controles(depois, L"Static")) {
        if (Texto(rotulo).starts_with(L"Último processamento: ")) ultimo = Texto(rotulo);
    }
    EXPECT_TRUE(std::regex_match(
        ultimo, std::wregex(L"Último processamento: [0-9]{2}/[0-9]{2}/[0-9]{4} [0-9:]{8}")))
        << std::string(ultimo.begin(), ultimo.end());
    EXPECT_NE(ultimo, L"Último processamento: 00/00/0000 00:00:00");
    const HWND encerrarDepois = Botao(depois, L"Encerrar Serviços");
    ASSERT_TRUE(encerrarDepois);
    PostMessageW(encerrarDepois, BM_CLICK, 0, 0);
    EXPECT_EQ(novamente.AguardarFim(), 0u);
}

}  // namespace
}  // namespace tessora::testes
