#include "app/win32/aviso_sistema.h"

#include <windows.h>

#include "app/apresentacao/textos_janela.h"
#include "app/win32/controles_win32.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {

namespace {
constexpr wchar_t kClasse[] = L"TfrmMensagemConfirmarGenerica";
constexpr int kLargura = 540;
constexpr int kAlturaSimples = 80;
constexpr int kAlturaConfirmacao = 200;
constexpr int ckbConcordo = 1;
constexpr int btnOk = 2;

LRESULT CALLBACK Procedimento(HWND janela, UINT mensagem, WPARAM wParam, LPARAM lParam) {
    switch (mensagem) {
        case WM_COMMAND:
            if (LOWORD(wParam) == ckbConcordo && HIWORD(wParam) == BN_CLICKED) {
                const bool marcado =
                    SendMessageW(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0) == BST_CHECKED;
                EnableWindow(GetDlgItem(janela, btnOk), marcado);
            } else if (LOWORD(wParam) == btnOk && HIWORD(wParam) == BN_CLICKED) {
                DestroyWindow(janela);
            }
            return 0;
        case WM_CLOSE:
            return 0;  // only OK, or the one who showed it, closes it
        case WM_NCDESTROY:
            DeleteObject(reinterpret_cast<HFONT>(GetWindowLongPtrW(janela, GWLP_USERDATA)));
            break;
    }
    return DefWindowProcW(janela, mensagem, wParam, lParam);
}

void RegistrarClasse() {
    static const bool registrada = [] {
        WNDCLASSW classe{};
        classe.lpfnWndProc = Procedimento;
        classe.hInstance = GetModuleHandleW(nullptr);
        classe.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        classe.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        classe.lpszClassName = kClasse;
        return RegisterClassW(&classe) != 0;
    }();
    (void)registrada;
}

HWND Criar(std::string_view mensagem, bool confirmacao) {
    RegistrarClasse();
    const HWND janela = CreateWindowExW(
        WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kClasse, plataforma::Utf16(app::kTituloAviso).c_str(),
        WS_POPUP | WS_CAPTION, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const HFONT fonte = CriarFonte(L"Tahoma", 8);
    SetWindowLongPtrW(janela, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fonte));
    const int altura = confirmacao ? kAlturaConfirmacao : kAlturaSimples;
    CentrarComAreaCliente(janela, kLargura, altura);

    CriarControle(janela, L"STATIC", mensagem, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, {8, 16, 517, 72},
                  0, fonte);
    if (confirmacao) {
        CriarControle(janela, L"BUTTON", app::kCienteAviso,
                      WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, {8, 94, 185, 17}, ckbConcordo,
                      fonte);
        CriarControle(janela, L"STATIC", "", WS_VISIBLE | SS_ETCHEDFRAME,
                      {0, altura - 40, kLargura, 40}, 0, fonte);
        const HWND ok =
            CriarControle(janela, L"BUTTON", "OK", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                          {445, altura - 33, 75, 25}, btnOk, fonte);
        EnableWindow(ok, FALSE);
    }
    ShowWindow(janela, SW_SHOWNORMAL);
    UpdateWindow(janela);
    return janela;
}

// Serves the thread's windows until `prazo`; a request to end the loop is passed on.
void Servir(ULONGLONG prazo) {
    for (ULONGLONG agora = GetTickCount64(); agora < prazo; agora = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(prazo - agora),
                                  QS_ALLINPUT);
        MSG mensagem;
        while (PeekMessageW(&mensagem, nullptr, 0, 0, PM_REMOVE)) {
            if (mensagem.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(mensagem.wParam));
                return;
            }
            TranslateMessage(&mensagem);
            DispatchMessageW(&mensagem);
        }
    }
}
}  // namespace

void ExibirAviso(std::string_view mensagem, ConfirmacaoAviso confirmacao,
                 FechamentoAviso fechamento, std::chrono::milliseconds espera) {
    const HWND janela = Criar(mensagem, confirmacao == ConfirmacaoAviso::Exigida);
    if (fechamento == FechamentoAviso::PeloOperador) return;
    Servir(GetTickCount64() + static_cast<ULONGLONG>(espera.count()));
    if (IsWindow(janela)) DestroyWindow(janela);
}

}  // namespace tessora::win32
