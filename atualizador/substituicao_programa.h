#pragma once

#include <chrono>

#include "atualizador/pedido_atualizacao.h"

namespace tessora::atualizador {

// Waits, at most `limiteEspera`, until no process runs the program any more, then puts
// the master copy in the program's place with the master copy's last-write time (so that
// the program finds itself current) and the program's former permissions. The program's
// file is replaced in one step: it is either the old or the new build, never a part.
// Raises std::runtime_error with the reason when the master copy is missing, the program
// keeps running or the copy fails; the program's file is then left as it was.
void SubstituirPrograma(const PedidoAtualizacao& pedido, std::chrono::milliseconds limiteEspera);

}  // namespace tessora::atualizador
