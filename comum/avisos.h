#pragma once

#include <string_view>

namespace tessora {

// The caption of the program's own error boxes.
inline constexpr std::string_view kTituloPrograma = "tessora Service";

enum class IconeAviso { Informacao, Erro, Advertencia, Nenhum };

// Whether a notice asks the operator to tick its confirmation box before it can be closed.
enum class ConfirmacaoAviso { Dispensada, Exigida };
// Whether a notice waits for the operator or closes itself after a while.
enum class FechamentoAviso { PeloOperador, Sozinho };

// How the service logic shows a message box and asks the program to end; the window
// implements it with dialogs, the commands without a window on standard error.
class Avisos {
  public:
    virtual ~Avisos() = default;
    // Modal message with only an OK button.
    virtual void MostrarMensagem(std::string_view texto, std::string_view titulo,
                                 IconeAviso icone) = 0;
    // The notice dialog: a message with or without the confirmation box; one that closes
    // itself does so after five seconds, and the call returns then.
    // Without a dialog of its own, a notice is a message like any other.
    virtual void ExibirAviso(std::string_view texto, ConfirmacaoAviso /*confirmacao*/,
                             FechamentoAviso /*fechamento*/) {
        MostrarMensagem(texto, "Aviso do Sistema", IconeAviso::Informacao);
    }
    // Asks the program to end once the current work returns; never ends it on the spot.
    virtual void SolicitarEncerramento() = 0;
};

}  // namespace tessora
