#include "app/win32/janela_historico.h"

#include <commctrl.h>

#include <utility>

#include "app/apresentacao/textos_janela.h"
#include "app/win32/controles_win32.h"
#include "app/win32/recursos.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {

namespace {
constexpr wchar_t kClasse[] = L"TfrmHistorico";
}  // namespace

JanelaHistorico::JanelaHistorico(HFONT fonte, std::filesystem::path arquivoHistorico,
                                 Avisos& avisos) {
    const HINSTANCE instancia = GetModuleHandleW(nullptr);
    RegistrarClasseJanela(kClasse, Procedimento,
                          LoadIconW(instancia, MAKEINTRESOURCEW(kIconePrograma)), nullptr);

    CreateWindowExW(0, kClasse, plataforma::Utf16(app::kTituloJanelaHistorico).c_str(),
                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr, nullptr, instancia,
                    this);
    CentrarComAreaCliente(frmHistorico, app::kLarguraJanelaHistorico, app::kAlturaJanelaHistorico);
    pagina_ = std::make_unique<PaginaHistorico>(frmHistorico, AreaDaPagina(), fonte,
                                                std::move(arquivoHistorico), avisos);
}

JanelaHistorico::~JanelaHistorico() {
    pagina_.reset();
    DestroyWindow(frmHistorico);
}

RECT JanelaHistorico::AreaDaPagina() const {
    RECT area{};
    GetClientRect(frmHistorico, &area);
    area.top += Escalar(6);
    area.bottom -= Escalar(6);
    return area;
}

void JanelaHistorico::Mostrar() {
    pagina_->Atualizar();
    ShowWindow(frmHistorico, IsIconic(frmHistorico) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(frmHistorico);
}

void JanelaHistorico::Atualizar() {
    if (IsWindowVisible(frmHistorico)) pagina_->Atualizar();
}

LRESULT CALLBACK JanelaHistorico::Procedimento(HWND janela, UINT mensagem, WPARAM wParam,
                                               LPARAM lParam) {
    auto* formulario = DonoDaJanela(janela, mensagem, lParam, &JanelaHistorico::frmHistorico);
    if (!formulario || !formulario->pagina_)
        return DefWindowProcW(janela, mensagem, wParam, lParam);
    return formulario->Tratar(mensagem, wParam, lParam);
}

LRESULT JanelaHistorico::Tratar(UINT mensagem, WPARAM wParam, LPARAM lParam) {
    switch (mensagem) {
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) pagina_->Dispor(AreaDaPagina());
            return 0;
        case WM_GETMINMAXINFO: {
            // The outer size that gives the smallest client area the page is laid out for.
            RECT minimo{0, 0, Escalar(app::kLarguraMinimaJanelaHistorico),
                        Escalar(app::kAlturaMinimaJanelaHistorico)};
            AdjustWindowRectEx(&minimo, WS_OVERLAPPEDWINDOW, FALSE, 0);
            auto& limites = *reinterpret_cast<MINMAXINFO*>(lParam);
            limites.ptMinTrackSize = {minimo.right - minimo.left, minimo.bottom - minimo.top};
            return 0;
        }
        case WM_COMMAND:
            pagina_->Comando(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            LRESULT resultado = 0;
            pagina_->Notificacao(*reinterpret_cast<const NMHDR*>(lParam), lParam, resultado);
            return resultado;
        }
        case WM_CTLCOLORSTATIC:
            // The page paints its labels over its own background, as in the main window's tab.
            return 0;
        case WM_CLOSE:
            // Kept for the next time: the main window owns it.
            ShowWindow(frmHistorico, SW_HIDE);
            return 0;
    }
    return DefWindowProcW(frmHistorico, mensagem, wParam, lParam);
}

}  // namespace tessora::win32
