// The Windows main window in this process, its run held by the test: "Sincronizar Agora" is off
// for the run, and the focus it had never lands on the minutes field.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "app/execucao/execucao_sincronizacao.h"
#include "app/win32/janela_principal.h"
#include "pasta_temporaria.h"
#include "pedidos_sem_novos.h"

namespace tessora::win32 {
namespace {

class SemAvisos : public Avisos {
  public:
    void MostrarMensagem(std::string_view texto, std::string_view, IconeAviso) override {
        ADD_FAILURE() << texto;
    }
    void SolicitarEncerramento() override {}
};

struct BuscaControle {
    const wchar_t* classe;
    DWORD estilo;
    const wchar_t* texto;
    HWND achado = nullptr;
};

// A function, not a lambda: the 32-bit build's callbacks take the stdcall convention.
BOOL CALLBACK CompararControle(HWND filho, LPARAM dados) {
    auto& busca = *reinterpret_cast<BuscaControle*>(dados);
    wchar_t nome[64] = {};
    wchar_t texto[64] = {};
    GetClassNameW(filho, nome, 64);
    GetWindowTextW(filho, texto, 64);
    const auto estilo = static_cast<DWORD>(GetWindowLongPtrW(filho, GWL_STYLE));
    if (lstrcmpiW(nome, busca.classe) != 0 || (estilo & busca.estilo) != busca.estilo) return TRUE;
    if (busca.texto && lstrcmpW(texto, busca.texto) != 0) return TRUE;
    busca.achado = filho;
    return FALSE;
}

// The window's control of that class whose style has all of `estilo`, and with that text when
// one is given.
HWND Controle(HWND janela, const wchar_t* classe, DWORD estilo, const wchar_t* texto = nullptr) {
    BuscaControle busca{classe, estilo, texto};
    EnumChildWindows(janela, CompararControle, reinterpret_cast<LPARAM>(&busca));
    return busca.achado;
}

// Serves the window's messages until the condition holds or ten seconds have passed.
bool Aguardar(const std::function<bool()>& condicao) {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condicao()) {
        if (std::chrono::steady_clock::now() > limite) return false;
        MSG mensagem;
        while (PeekMessageW(&mensagem, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&mensagem);
            DispatchMessageW(&mensagem);
        }
        Sleep(5);
    }
    return true;
}

TEST(SincronizarAgoraWindowsTest, FocoDoBotaoNaoCaiNoCampoDeMinutos) {
    testes::PastaTemporaria pasta{"tessora-janela"};
    SemAvisos avisos;
    testes::PedidosSemNovos pedidos;
    std::atomic<bool> liberada = false;
    app::ServicoResidente::Opcoes opcoes{pasta.Caminho() / "tessoraService.exe"};
    opcoes.executar = [&](const app::AmbienteExecucao&) {
        while (!liberada) Sleep(5);
        return app::ResumoExecucao{{}, app::FimExecucao::Concluida};
    };
    TfrmPrincipal janela(std::move(opcoes), avisos, pedidos);
    // A failed assertion lets the run end, so that the window can go.
    const std::unique_ptr<std::atomic<bool>, void (*)(std::atomic<bool>*)> soltar(
        &liberada, [](std::atomic<bool>* l) { *l = true; });
    ShowWindow(janela.Janela(), SW_SHOW);
    SetForegroundWindow(janela.Janela());
    const HWND botao = Controle(janela.Janela(), L"Button", 0, L"Sincronizar Agora");
    const HWND log = Controle(janela.Janela(), L"Edit", ES_MULTILINE | ES_READONLY);
    ASSERT_TRUE(botao && log);

    // Pressed with the mouse, as an operator does: the button takes the focus.
    SendMessageW(botao, BM_CLICK, 0, 0);
    ASSERT_TRUE(Aguardar([&] { return !IsWindowEnabled(botao); }));
    EXPECT_EQ(GetFocus(), log);  // not the next control, the minutes field
    liberada = true;
    ASSERT_TRUE(Aguardar([&] { return IsWindowEnabled(botao) != FALSE; }));
    EXPECT_EQ(GetFocus(), botao);
}

}  // namespace
}  // namespace tessora::win32
