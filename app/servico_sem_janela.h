#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/nucleo_servico_residente.h"

namespace tessora::app {

// The resident service driven by a plain loop, for the program without a window.
class ServicoSemJanela : public NucleoServicoResidente {
  public:
    using NucleoServicoResidente::NucleoServicoResidente;

    // Start-up, then the loop until the program ends; returns the exit status. `sinais` comes
    // from DesviarSinaisEncerramento: a request that arrives during start-up is served once
    // start-up is over, and takes the close handling's way.
    int Executar(int sinais);

  private:
    void NaThreadDoServico(std::function<void()> acao) override;
    void IniciarExecucao(OrigemExecucao origem) override;
    void ArmarTemporizador(std::chrono::milliseconds intervalo) override;
    void PararTemporizador() override;
    void AnunciarProximaExecucao(std::optional<Instante> quando) override;
    void EncerrarPrograma(int codigoSaida) override;

    std::optional<int> codigoSaida_;
};

// The resident service without a window and without a toolkit: the processing log on
// standard output, notices on standard error, ending on the system's request (SIGTERM,
// SIGINT, a console's close) like the close handling. One loop waits for that request or
// the next timer, whichever comes first, and runs each synchronisation itself: nothing has
// to be served during a run, since every end waits for the run anyway; what arrived
// meanwhile is served after it. Returns the exit status.
int ExecutarServicoSemJanela(const std::filesystem::path& executavel);

}  // namespace tessora::app
