#pragma once

#include <string>

namespace tessora::app {

struct ResumoExecucao;

// What a synchronisation run shows while it goes: the window implements it with its
// button, label and log view; the commands without a window print.
class PainelExecucao {
  public:
    virtual ~PainelExecucao() = default;
    virtual void HabilitarSincronizarAgora(bool habilitado) = 0;
    virtual void ExibirUltimaAtualizacao(const std::string& dataHora) = 0;
    virtual void LimparLog() = 0;
    virtual void AcrescentarLinhaLog(const std::string& linha) = 0;
    // How the run ended, as its last report; a panel that shows no summary ignores it.
    virtual void ExecucaoEncerrada(const ResumoExecucao&) {}
};

}  // namespace tessora::app
