#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "app/servico/portas_servico.h"

namespace tessora::testes {

// A front end for the resident service without a toolkit: posted tasks wait until the test
// serves them, timers only record how they were armed (the test ticks them by hand), and the
// service's events are kept.
class HospedeiroFalso : public app::HospedeiroServico, public app::EventosServico {
  public:
    void Postar(std::function<void()> tarefa) override {
        {
            const std::lock_guard trava(mutex_);
            tarefas_.push_back(std::move(tarefa));
        }
        chegou_.notify_all();
    }
    void ArmarTemporizador(app::Temporizador temporizador,
                           std::chrono::milliseconds intervalo) override {
        temporizadores[temporizador] = intervalo;
    }
    void PararTemporizador(app::Temporizador temporizador) override {
        temporizadores.erase(temporizador);
    }

    void ExecucaoIniciada(app::OrigemExecucao origem) override { iniciadas.push_back(origem); }
    void ExecucaoTerminada(const app::ResumoExecucao& resumo) override {
        terminadas.push_back(resumo);
    }
    void ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando) override {
        proxima = quando;
    }
    void Encerrar(int codigoSaida) override { fins.push_back(codigoSaida); }

    // Serves posted tasks, as the front end's loop would, until `condicao` holds; false when
    // it still does not after `limite`.
    bool ServirAte(const std::function<bool()>& condicao,
                   std::chrono::milliseconds limite = std::chrono::seconds(30)) {
        const auto fim = std::chrono::steady_clock::now() + limite;
        while (!condicao()) {
            std::function<void()> tarefa;
            {
                std::unique_lock trava(mutex_);
                if (!chegou_.wait_until(trava, fim, [&] { return !tarefas_.empty(); })) {
                    return condicao();
                }
                tarefa = std::move(tarefas_.front());
                tarefas_.pop_front();
            }
            tarefa();
        }
        return true;
    }
    // Serves what arrives during `duracao`.
    void Servir(std::chrono::milliseconds duracao) {
        ServirAte([] { return false; }, duracao);
    }

    std::map<app::Temporizador, std::chrono::milliseconds> temporizadores;
    std::vector<app::OrigemExecucao> iniciadas;
    std::vector<app::ResumoExecucao> terminadas;
    std::optional<std::chrono::system_clock::time_point> proxima;
    std::vector<int> fins;

  private:
    std::mutex mutex_;
    std::condition_variable chegou_;
    std::deque<std::function<void()>> tarefas_;
};

}  // namespace tessora::testes
