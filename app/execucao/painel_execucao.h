#pragma once

#include <cstdint>
#include <string>

namespace tessora::app {

// What a synchronisation run shows while it goes, called on the run's thread: the window
// implements it with its label and log view; the commands without a window print.
class PainelExecucao {
  public:
    virtual ~PainelExecucao() = default;
    virtual void ExibirUltimaAtualizacao(const std::string& dataHora) = 0;
    virtual void LimparLog() = 0;
    virtual void AcrescentarLinhaLog(const std::string& linha) = 0;
    // The run reads the `atual`-th of its `total` orders; nothing to show without a window.
    virtual void ExibirProgresso(int32_t /*atual*/, int32_t /*total*/) {}
};

}  // namespace tessora::app
