#include "app/win32/programa.h"

#include <windows.h>

#include <commctrl.h>

#include "app/execucao/pedidos_via_api.h"
#include "app/win32/avisos_win32.h"
#include "app/win32/janela_principal.h"

namespace tessora::win32 {

int ExecutarProgramaBandeja(int&, char**, const std::filesystem::path& executavel) {
    const INITCOMMONCONTROLSEX controles{
        sizeof(INITCOMMONCONTROLSEX),
        ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controles);

    AvisosWin32 avisos;
    app::PedidosViaApi pedidos;
    TfrmPrincipal frmPrincipal({.executavel = executavel}, avisos, pedidos);
    frmPrincipal.FormCreate();
    // An end decided during start-up (a second copy, a refused attach) returns at once.
    int codigo = frmPrincipal.CodigoSaida().value_or(0);
    if (!frmPrincipal.CodigoSaida()) {
        MSG mensagem;
        while (GetMessageW(&mensagem, nullptr, 0, 0) > 0) {
            // The keyboard moves between the controls of the main window or the history's own.
            const HWND janela = GetAncestor(mensagem.hwnd, GA_ROOT);
            if ((janela == frmPrincipal.Janela() || janela == frmPrincipal.Historico()) &&
                IsDialogMessageW(janela, &mensagem)) {
                continue;
            }
            TranslateMessage(&mensagem);
            DispatchMessageW(&mensagem);
        }
        codigo = frmPrincipal.CodigoSaida().value_or(static_cast<int>(mensagem.wParam));
    }
    frmPrincipal.Servico().IniciarAtualizacaoPendente();  // last: the updater waits for us
    return codigo;
}

}  // namespace tessora::win32
