#include "app/win32/avisos_win32.h"

#include "app/win32/aviso_sistema.h"
#include "plataforma/texto_windows.h"

namespace tessora::win32 {

namespace {
UINT IconeCaixa(IconeAviso icone) {
    switch (icone) {
        case IconeAviso::Erro:
            return MB_ICONERROR;
        case IconeAviso::Advertencia:
            return MB_ICONWARNING;
        case IconeAviso::Nenhum:
            return 0;
        case IconeAviso::Informacao:
            break;
    }
    return MB_ICONINFORMATION;
}
}  // namespace

void AvisosWin32::MostrarMensagem(std::string_view texto, std::string_view titulo,
                                  IconeAviso icone) {
    // Modal for the whole program, which may have no window shown.
    MessageBoxW(nullptr, plataforma::Utf16(texto).c_str(), plataforma::Utf16(titulo).c_str(),
                MB_OK | MB_TASKMODAL | MB_SETFOREGROUND | IconeCaixa(icone));
}

void AvisosWin32::ExibirAviso(std::string_view texto, ConfirmacaoAviso confirmacao,
                              FechamentoAviso fechamento) {
    win32::ExibirAviso(texto, confirmacao, fechamento);
}

void AvisosWin32::SolicitarEncerramento() { PostThreadMessageW(thread_, WM_QUIT, 0, 0); }

}  // namespace tessora::win32
