#pragma once

#include <ostream>
#include <vector>

#include "app/historico/leitura_historico.h"

namespace tessora::app {

// For people: a line per run, its orders below it in aligned columns, local times.
void EscreverHistoricoTabela(const std::vector<ExecucaoRegistrada>& execucoes, std::ostream& saida);
// For other programs (RFC 4180): a row per order with its run's columns; a run without
// orders gets one row with the order's columns empty. Times in UTC, ISO 8601.
void EscreverHistoricoCsv(const std::vector<ExecucaoRegistrada>& execucoes, std::ostream& saida);
// For other programs: {"execucoes": [...]} with each run's counts and orders. Times in UTC, ISO
// 8601.
void EscreverHistoricoJson(const std::vector<ExecucaoRegistrada>& execucoes, std::ostream& saida);

// One run without its orders as a JSON object, as the history and the health check show it.
std::string ExecucaoJson(const ExecucaoRegistrada& execucao);

}  // namespace tessora::app
