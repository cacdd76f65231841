#pragma once

#include <array>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>

#include "app/servico/servico_residente.h"

namespace tessora::app {

// The resident service driven by a plain loop, for the program without a window: the loop
// waits for the system's request to end, the next timer or the end of a run, whichever comes
// first.
class HospedeiroTerminal : private HospedeiroServico, private EventosServico {
  public:
    HospedeiroTerminal(ServicoResidente::Opcoes opcoes, Avisos& avisos, PainelExecucao& painel,
                       PedidosAppForcaVenda& pedidos);

    // Start-up, then the loop until the program ends; returns the exit status. `sinais` comes
    // from DesviarSinaisEncerramento: a request that arrives during start-up is served once
    // start-up is over, and takes the close handling's way.
    int Executar(int sinais);

  private:
    struct Relogio {
        std::chrono::milliseconds intervalo;
        Instante proximo;
    };

    void ExecutarTarefas();
    // The earliest timer, or the time to look again for a run's end.
    Instante ProximoPrazo() const;

    void Postar(std::function<void()> tarefa) override;
    void ArmarTemporizador(Temporizador temporizador, std::chrono::milliseconds intervalo) override;
    void PararTemporizador(Temporizador temporizador) override;

    void ExecucaoIniciada(OrigemExecucao) override { emExecucao_ = true; }
    void ExecucaoTerminada(const ResumoExecucao&) override { emExecucao_ = false; }
    void ProximaExecucao(std::optional<std::chrono::system_clock::time_point>) override {}
    void Encerrar(int codigoSaida) override { codigoSaida_ = codigoSaida; }

    std::mutex mutexTarefas_;
    std::deque<std::function<void()>> tarefas_;
    std::array<std::optional<Relogio>, 2> relogios_{};  // by Temporizador
    bool emExecucao_ = false;
    std::optional<int> codigoSaida_;
    ServicoResidente servico_;  // last: it arms the watch's timer as it is made
};

// The resident service without a window and without a toolkit: the processing log on
// standard output, notices on standard error, ending on the system's request (SIGTERM,
// SIGINT, a console's close) like the close handling. Returns the exit status.
int ExecutarServicoSemJanela(const std::filesystem::path& executavel);

}  // namespace tessora::app
