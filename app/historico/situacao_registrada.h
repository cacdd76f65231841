#pragma once

#include <optional>
#include <vector>

#include "app/execucao/resumo_execucao.h"
#include "app/historico/leitura_historico.h"

namespace tessora::app {

// What the history says of the runs as they stand, for whatever shows their state before (or
// without) a run of its own.
struct SituacaoRegistrada {
    std::optional<ResumoExecucao> ultima;  // the latest finished run; nothing: none yet
    // Finished runs in a row, up to the latest, that left orders to another copy.
    int execucoesComAdiados = 0;
    std::vector<PedidoEmFalha> pedidosEmFalha;
    std::vector<PedidoRegistrado> pedidosComAviso;  // of the latest finished run
};

// A recorded run in the words of the run's own summary.
ResumoExecucao ResumoRegistrado(const ExecucaoRegistrada& execucao);

// Raises when the history cannot be read.
SituacaoRegistrada LerSituacaoRegistrada(LeituraHistorico& historico);

}  // namespace tessora::app
