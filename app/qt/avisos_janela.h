#pragma once

#include "comum/avisos.h"

namespace tessora::qt {

// Notices of the tray program: message boxes and the notice dialog.
class AvisosJanela : public Avisos {
  public:
    void MostrarMensagem(std::string_view texto, std::string_view titulo,
                         IconeAviso icone) override;
    void ExibirAviso(std::string_view texto, ConfirmacaoAviso confirmacao,
                     FechamentoAviso fechamento) override;
    // Ends the event loop once it runs again.
    void SolicitarEncerramento() override;
};

}  // namespace tessora::qt
