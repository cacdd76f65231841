#include "app/servico_sem_janela.h"

#include <algorithm>
#include <iostream>

#include "app/avisos_terminal.h"
#include "app/painel_terminal.h"
#include "app/pedidos_via_api.h"
#include "plataforma/sinais_encerramento.h"

namespace tessora::app {

int ServicoSemJanela::Executar(int sinais) {
    Iniciar();
    plataforma::LiberarSinaisEncerramento();
    Instante vigia = Agora() + OpcoesServico().intervaloVigia;
    while (!codigoSaida_) {
        const Instante prazo = std::min(vigia, ProximoTique().value_or(vigia));
        const auto espera = std::chrono::ceil<std::chrono::milliseconds>(prazo - Agora());
        if (plataforma::AguardarSinaisEncerramento(
                sinais, std::max(espera, std::chrono::milliseconds::zero()))) {
            plataforma::ConsumirSinaisEncerramento(sinais);
            Fechar();
            continue;
        }
        const Instante agora = Agora();
        if (const auto tique = ProximoTique(); tique && *tique <= agora) TiqueSincronizacao();
        if (vigia <= agora) {
            vigia = agora + OpcoesServico().intervaloVigia;
            TiqueVigia();
        }
    }
    IniciarAtualizacaoPendente();  // last: the updater waits for this process to end
    return *codigoSaida_;
}

// Everything happens on the loop's thread.
void ServicoSemJanela::NaThreadDoServico(std::function<void()> acao) { acao(); }

void ServicoSemJanela::IniciarExecucao(OrigemExecucao origem) {
    PrepararExecucao(origem)();
    ConcluirExecucao();
}

// The loop asks the rules for the timer's next tick, and nothing shows it.
void ServicoSemJanela::ArmarTemporizador(std::chrono::milliseconds) {}
void ServicoSemJanela::PararTemporizador() {}
void ServicoSemJanela::AnunciarProximaExecucao(std::optional<Instante>) {}

void ServicoSemJanela::EncerrarPrograma(int codigoSaida) { codigoSaida_ = codigoSaida; }

int ExecutarServicoSemJanela(const std::filesystem::path& executavel) {
    const int sinais = plataforma::DesviarSinaisEncerramento();  // before any thread starts
    AvisosTerminal avisos(std::cerr);
    PainelTerminal painel(std::cout);
    PedidosViaApi pedidos;
    ServicoSemJanela servico({.executavel = executavel}, avisos, painel, pedidos);
    return servico.Executar(sinais);
}

}  // namespace tessora::app
