#include "app/execucao/log_processamento.h"

#include <chrono>

#include "comum/data_hora.h"

namespace tessora::app {

void LogProcessamento::GravarLog(std::string_view texto) {
    GravarLog(texto, std::chrono::system_clock::now());
}

void LogProcessamento::GravarLog(std::string_view texto,
                                 std::chrono::system_clock::time_point instante) {
    std::string linha = DataHoraSegundos(instante);
    linha += " - ";
    linha += texto;
    painel_.AcrescentarLinhaLog(linha);
}

void LogProcessamento::LimparLog() { painel_.LimparLog(); }

}  // namespace tessora::app
