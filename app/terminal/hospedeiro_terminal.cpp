#include "app/terminal/hospedeiro_terminal.h"

#include <algorithm>
#include <iostream>
#include <utility>

#include "app/execucao/pedidos_via_api.h"
#include "app/terminal/avisos_terminal.h"
#include "app/terminal/painel_terminal.h"
#include "plataforma/sinais_encerramento.h"

namespace tessora::app {

namespace {
// Only the run's thread posts, and only while a run goes: its end is seen within this time
// without a wake-up channel beside the signals' one.
constexpr std::chrono::milliseconds kEsperaDuranteExecucao(50);

Instante Agora() { return std::chrono::steady_clock::now(); }

size_t Indice(Temporizador temporizador) { return static_cast<size_t>(temporizador); }
}  // namespace

HospedeiroTerminal::HospedeiroTerminal(ServicoResidente::Opcoes opcoes, Avisos& avisos,
                                       PainelExecucao& painel, PedidosAppForcaVenda& pedidos)
    : servico_(std::move(opcoes), *this, *this, avisos, painel, pedidos) {}

int HospedeiroTerminal::Executar(int sinais) {
    servico_.Iniciar();
    plataforma::LiberarSinaisEncerramento();
    for (ExecutarTarefas(); !codigoSaida_; ExecutarTarefas()) {
        const auto espera = std::chrono::ceil<std::chrono::milliseconds>(ProximoPrazo() - Agora());
        if (plataforma::AguardarSinaisEncerramento(
                sinais, std::max(espera, std::chrono::milliseconds::zero()))) {
            plataforma::ConsumirSinaisEncerramento(sinais);
            servico_.Fechar();
            continue;
        }
        for (const Temporizador temporizador : {Temporizador::Sincronizacao, Temporizador::Vigia}) {
            auto& relogio = relogios_[Indice(temporizador)];
            const Instante agora = Agora();
            if (codigoSaida_ || !relogio || relogio->proximo > agora) continue;
            relogio->proximo = agora + relogio->intervalo;
            servico_.Tique(temporizador);
        }
    }
    servico_.IniciarAtualizacaoPendente();  // last: the updater waits for this process to end
    return *codigoSaida_;
}

void HospedeiroTerminal::ExecutarTarefas() {
    for (;;) {
        std::function<void()> tarefa;
        {
            const std::lock_guard trava(mutexTarefas_);
            if (tarefas_.empty()) return;
            tarefa = std::move(tarefas_.front());
            tarefas_.pop_front();
        }
        tarefa();
    }
}

Instante HospedeiroTerminal::ProximoPrazo() const {
    Instante prazo = Agora() + std::chrono::hours(1);
    if (emExecucao_) prazo = Agora() + kEsperaDuranteExecucao;
    for (const auto& relogio : relogios_) {
        if (relogio) prazo = std::min(prazo, relogio->proximo);
    }
    return prazo;
}

void HospedeiroTerminal::Postar(std::function<void()> tarefa) {
    const std::lock_guard trava(mutexTarefas_);
    tarefas_.push_back(std::move(tarefa));
}

void HospedeiroTerminal::ArmarTemporizador(Temporizador temporizador,
                                           std::chrono::milliseconds intervalo) {
    relogios_[Indice(temporizador)] = Relogio{intervalo, Agora() + intervalo};
}

void HospedeiroTerminal::PararTemporizador(Temporizador temporizador) {
    relogios_[Indice(temporizador)].reset();
}

int ExecutarServicoSemJanela(const std::filesystem::path& executavel) {
    const int sinais = plataforma::DesviarSinaisEncerramento();  // before any thread starts
    AvisosTerminal avisos(std::cerr);
    PainelTerminal painel(std::cout);
    PedidosViaApi pedidos;
    HospedeiroTerminal servico({.executavel = executavel}, avisos, painel, pedidos);
    return servico.Executar(sinais);
}

}  // namespace tessora::app
