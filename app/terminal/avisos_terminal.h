#pragma once

#include <ostream>

#include "comum/avisos.h"

namespace tessora::app {

// Notices of the commands without a window: one line on the given stream (standard
// error); an end request is remembered for the command to honour when its work returns.
class AvisosTerminal : public Avisos {
  public:
    explicit AvisosTerminal(std::ostream& saida) : saida_(saida) {}
    void MostrarMensagem(std::string_view texto, std::string_view titulo,
                         IconeAviso icone) override;
    void SolicitarEncerramento() override { encerramentoSolicitado_ = true; }
    bool EncerramentoSolicitado() const { return encerramentoSolicitado_; }

  private:
    std::ostream& saida_;
    bool encerramentoSolicitado_ = false;
};

}  // namespace tessora::app
