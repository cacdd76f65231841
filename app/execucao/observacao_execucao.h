#pragma once

#include <chrono>

#include "app/execucao/log_processamento.h"
#include "app/execucao/observador_execucao.h"

namespace tessora::app {

// The run's side of its observer (the history): every call guarded, the first failure
// logged once as "Histórico indisponível: " with its reason, the observer left alone for
// the rest of the run.
class ObservacaoExecucao {
  public:
    // Without an observer every call does nothing.
    ObservacaoExecucao(ObservadorExecucao* observador, OrigemExecucao origem,
                       std::chrono::system_clock::time_point inicio, LogProcessamento& log)
        : observador_(observador), origem_(origem), inicio_(inicio), log_(log) {}

    void Iniciar();
    void Pedido(const ResultadoPedido& pedido);
    // Starts the record first when the run ended before it got that far.
    void Terminar(const ResumoExecucao& resumo);

  private:
    template <typename Chamada>
    void Chamar(Chamada chamada);

    ObservadorExecucao* observador_;
    OrigemExecucao origem_;
    std::chrono::system_clock::time_point inicio_;
    LogProcessamento& log_;
    bool iniciada_ = false;
};

}  // namespace tessora::app
