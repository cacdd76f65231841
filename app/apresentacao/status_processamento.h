#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "app/execucao/resumo_execucao.h"

namespace tessora::app {

// The main page's two status labels, the last run's and the next one's.
struct RotuloStatus {
    std::string texto;
    std::string dica;    // the tooltip; empty: none
    bool falha = false;  // drawn in kCorFalha
};

// Before the first run, and before the service arms its timer.
RotuloStatus UltimoProcessamentoInicial();
std::string ProximoProcessamentoInicial();

// The run's start; a run that failed as a whole must not look like a quiet one, so it says why
// and what to check first on its tooltip and is drawn as a failure.
RotuloStatus UltimoProcessamento(const ResumoExecucao& resumo);
// When the history holds no finished run, or could not be read (`motivo`).
RotuloStatus UltimoProcessamentoNenhum();
RotuloStatus UltimoProcessamentoDesconhecido(const std::string& motivo);
// The next automatic run's time; the bare title when none is armed.
std::string ProximoProcessamento(std::optional<std::chrono::system_clock::time_point> quando);

}  // namespace tessora::app
