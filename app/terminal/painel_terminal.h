#pragma once

#include <ostream>

#include "app/execucao/painel_execucao.h"

namespace tessora::app {

// The run's panel without a window: every log line goes to the stream as it is written.
class PainelTerminal : public PainelExecucao {
  public:
    explicit PainelTerminal(std::ostream& saida) : saida_(saida) {}
    void ExibirUltimaAtualizacao(const std::string&) override {}
    void LimparLog() override {}
    void AcrescentarLinhaLog(const std::string& linha) override { saida_ << linha << std::endl; }

  private:
    std::ostream& saida_;
};

}  // namespace tessora::app
