#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "app/execucao/painel_execucao.h"

namespace tessora::app {

// The processing log: each line is the local time stamp, " - " and the text.
class LogProcessamento {
  public:
    explicit LogProcessamento(PainelExecucao& painel) : painel_(painel) {}

    void GravarLog(std::string_view texto);
    // A line written after the fact, stamped with the time its event happened.
    void GravarLog(std::string_view texto, std::chrono::system_clock::time_point instante);
    void LimparLog();

  private:
    PainelExecucao& painel_;
};

}  // namespace tessora::app
