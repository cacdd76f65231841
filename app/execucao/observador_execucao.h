#pragma once

#include <chrono>

#include "app/execucao/resumo_execucao.h"

namespace tessora::app {

// Follows a run from the thread that makes it. A failure raised here is logged once by the
// run, which then goes on without the observer: it never changes what the run does.
class ObservadorExecucao {
  public:
    virtual ~ObservadorExecucao() = default;
    virtual void ExecucaoIniciada(OrigemExecucao origem,
                                  std::chrono::system_clock::time_point inicio) = 0;
    virtual void PedidoProcessado(const ResultadoPedido& pedido) = 0;
    virtual void ExecucaoTerminada(const ResumoExecucao& resumo) = 0;
};

}  // namespace tessora::app
