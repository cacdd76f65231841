#include "app/terminal/avisos_terminal.h"

namespace tessora::app {

void AvisosTerminal::MostrarMensagem(std::string_view texto, std::string_view titulo, IconeAviso) {
    saida_ << titulo << ": " << texto << std::endl;
}

}  // namespace tessora::app
