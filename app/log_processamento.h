#pragma once

#include <string>
#include <string_view>

#include "app/painel_execucao.h"

namespace tessora::app {

// The processing log: each line is the local time stamp, " - " and the text.
class LogProcessamento {
  public:
    explicit LogProcessamento(PainelExecucao& painel) : painel_(painel) {}

    void GravarLog(std::string_view texto);
    void LimparLog();

  private:
    PainelExecucao& painel_;
};

}  // namespace tessora::app
