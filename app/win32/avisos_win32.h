#pragma once

#include <windows.h>

#include "comum/avisos.h"

namespace tessora::win32 {

// Notices of the window program: message boxes and the notice dialog.
class AvisosWin32 : public Avisos {
  public:
    void MostrarMensagem(std::string_view texto, std::string_view titulo,
                         IconeAviso icone) override;
    void ExibirAviso(std::string_view texto, ConfirmacaoAviso confirmacao,
                     FechamentoAviso fechamento) override;
    // Ends the message loop of the thread that made this object once it runs again.
    void SolicitarEncerramento() override;

  private:
    const DWORD thread_ = GetCurrentThreadId();
};

}  // namespace tessora::win32
