#pragma once

#include <chrono>
#include <functional>
#include <optional>

#include "app/execucao/resumo_execucao.h"

namespace tessora::app {

enum class Temporizador {
    Sincronizacao,  // the automatic runs
    Vigia,          // the shutdown watch
};

// What the resident service needs of the front end that holds it: the front end's thread,
// where every method of the service is called, and its timers.
class HospedeiroServico {
  public:
    // Has `tarefa` run on the front end's thread after what is already waiting there. Called
    // from any thread; tasks posted from one thread run in the order they were posted.
    virtual void Postar(std::function<void()> tarefa) = 0;
    // (Re)starts a repeating timer with a fresh full interval; each tick calls
    // ServicoResidente::Tique on the front end's thread.
    virtual void ArmarTemporizador(Temporizador temporizador,
                                   std::chrono::milliseconds intervalo) = 0;
    virtual void PararTemporizador(Temporizador temporizador) = 0;

  protected:
    ~HospedeiroServico() = default;
};

// What the resident service tells the front end, on the front end's thread.
class EventosServico {
  public:
    virtual void ExecucaoIniciada(OrigemExecucao origem) = 0;
    // Once the run's thread has ended, after every log line of the run.
    virtual void ExecucaoTerminada(const ResumoExecucao& resumo) = 0;
    // When the next automatic run is due; nothing when none is (automatic runs off, or a
    // run that the timer started going).
    virtual void ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando) = 0;
    // The program is to end now with this exit status: the lock file is already gone and the
    // timers are stopped.
    virtual void Encerrar(int codigoSaida) = 0;

  protected:
    ~EventosServico() = default;
};

}  // namespace tessora::app
