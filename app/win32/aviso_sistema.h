#pragma once

#include <chrono>
#include <string_view>

#include "comum/avisos.h"

namespace tessora::win32 {

// The notice dialog "Aviso do Sistema": a message, and in the confirmation mode the check
// box "Estou ciente destas informações." that must be ticked before OK closes it. The
// operator cannot dismiss it otherwise. Shown without waiting for the operator; one that
// closes itself stays for `espera` and closes, and the call returns then, the program's
// windows served meanwhile.
void ExibirAviso(std::string_view mensagem, ConfirmacaoAviso confirmacao,
                 FechamentoAviso fechamento,
                 std::chrono::milliseconds espera = std::chrono::seconds(5));

}  // namespace tessora::win32
