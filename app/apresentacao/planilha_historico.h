#pragma once

#include <ostream>
#include <vector>

#include "app/historico/leitura_historico.h"

namespace tessora::app {

// The history page's export, for a spreadsheet set up for Brazil: UTF-8 with a byte order mark,
// ";" between fields, local times and the page's labels. A row per order with its run's columns
// (a run without orders on a row of its own), the newest run first as on the page; `execucoes`
// oldest first, as read.
void EscreverPlanilhaHistorico(const std::vector<ExecucaoRegistrada>& execucoes,
                               std::ostream& saida);

}  // namespace tessora::app
