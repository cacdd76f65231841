#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "app/configuracoes/configuracoes_servico.h"
#include "app/execucao/observador_execucao.h"

namespace tessora::app {

using Instante = std::chrono::steady_clock::time_point;

// Why the resident program is to end.
enum class MotivoFim {
    Fechamento,   // the operator's close, or the system's request: settings written back
    Desconexao,   // the ERP's request through "Conectado.txt"
    Aviso,        // a notice's situation (ERP files missing, another copy, a failed start-up)
    Atualizacao,  // start-up found an update: the updater follows
};

// What the resident service's rules ask of the front end that drives them. Each action is
// carried out when called; a front end may serve further events inside one (a message box
// that waits for the operator), and the rules are in a consistent state whenever it does.
class AcoesServicoResidente {
  public:
    virtual ~AcoesServicoResidente() = default;
    // One synchronisation run, away from the events; ExecucaoTerminada follows its end.
    virtual void IniciarExecucao(OrigemExecucao origem) = 0;
    // (Re)starts the repeating synchronisation timer with a fresh full interval.
    virtual void ArmarTemporizador(std::chrono::milliseconds intervalo) = 0;
    virtual void PararTemporizador() = 0;
    // When the next automatic run is due; nothing when none is.
    virtual void AnunciarProximaExecucao(std::optional<Instante> quando) = 0;
    // The shutdown watch's read of "Conectado.txt"; ResultadoVigia follows.
    virtual void VerificarConexao() = 0;
    // An error box captioned with the program's title; returns once it is closed.
    virtual void ExibirErro(const std::string& mensagem) = 0;
    // The close handling's writes: the settings, then the lock file removed. FechamentoConcluido
    // or FechamentoRecusado follows.
    virtual void FecharServico(const ConfiguracoesServico& atuais) = 0;
    // The lock file removed, the settings left alone.
    virtual void LiberarLock() = 0;
    // An end was asked for during a run: the run stops after the order it is writing.
    virtual void InterromperExecucao() = 0;
    // Both timers stop and the program ends with this exit status; later events change
    // nothing.
    virtual void EncerrarPrograma(int codigoSaida) = 0;
};

// The resident service's rules, free of any toolkit: the synchronisation timer, one run at a
// time, the shutdown watch, the operator's settings, the notices and every way of ending.
// Events come in through the methods below, on one thread; `agora` is a steady clock's time.
class MaquinaServicoResidente {
  public:
    explicit MaquinaServicoResidente(AcoesServicoResidente& acoes,
                                     std::chrono::milliseconds porMinuto = std::chrono::minutes(1));

    // The settings as they stand: the initial values until start-up loads them, changed by the
    // operator since.
    const ConfiguracoesServico& Configuracoes() const { return atuais_; }
    // Start-up loaded the settings file: they arm the timer. Raises like
    // AjustarIntervaloSincronizacao.
    void CarregarConfiguracoes(const ConfiguracoesServico& configuracoes, Instante agora);
    void DefinirProcessoAtivo(bool ativo);
    // Re-arms the timer from the minutes text with a fresh full interval. A text the timer
    // cannot take raises, leaves the timer stopped and keeps the interval it had.
    void AjustarIntervaloSincronizacao(std::string_view minutos, Instante agora);

    void TiqueSincronizacao(Instante agora);
    // "Sincronizar Agora": a run whatever the settings say.
    void SincronizarAgora();
    // "Tentar novamente": a run of one order, under the same rules as the button's.
    void RepetirPedido();
    // `erro`: the message of an error that left the run.
    void ExecucaoTerminada(const std::optional<std::string>& erro, Instante agora);

    void TiqueVigia();
    void ResultadoVigia(bool conexaoLiberada);

    void SolicitarFim(MotivoFim motivo);
    void FechamentoConcluido();
    void FechamentoRecusado(const std::string& mensagem);

    // Notices that the front end shows of its own (the run's, the watch's): an end that a
    // notice's situation asked for waits until none is open.
    void AvisoAberto();
    void AvisoFechado();
    // An error of the front end's own to show (start-up, settings).
    void Falha(const std::string& mensagem);

    bool EmExecucao() const { return execucao_.has_value(); }
    bool Encerrado() const { return encerrado_; }
    // When the synchronisation timer ticks next; nothing while it is stopped.
    std::optional<Instante> ProximoTique() const { return prazo_; }

  private:
    // A run goes, or the program is ending: neither a tick nor the button starts a run.
    bool Ocupada() const;
    void IniciarExecucao(OrigemExecucao origem);
    void Armar(Instante agora);
    void Parar();
    void RearmarSincronizacao(Instante agora);
    void AnunciarProximaExecucao();
    void ConcluirFimPendente();
    void Encerrar(int codigoSaida);

    AcoesServicoResidente& acoes_;
    const std::chrono::milliseconds porMinuto_;
    ConfiguracoesServico atuais_{false, "0"};             // the window's values before start-up
    std::optional<std::chrono::milliseconds> intervalo_;  // nothing: no automatic runs
    std::optional<Instante> prazo_;                       // the armed timer's next tick
    std::optional<OrigemExecucao> execucao_;              // the run in progress
    std::optional<MotivoFim> fimPendente_;
    int avisosAbertos_ = 0;
    bool vigiando_ = false;
    bool fechando_ = false;
    bool encerrado_ = false;
};

}  // namespace tessora::app
