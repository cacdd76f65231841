#include "app/log_processamento.h"

#include <chrono>

#include "comum/data_hora.h"

namespace tessora::app {

void LogProcessamento::GravarLog(std::string_view texto) {
    std::string linha = DataHoraSegundos(std::chrono::system_clock::now());
    linha += " - ";
    linha += texto;
    painel_.AcrescentarLinhaLog(linha);
}

void LogProcessamento::LimparLog() { painel_.LimparLog(); }

}  // namespace tessora::app
