#pragma once

#include <QObject>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/ciclo_servico.h"
#include "app/configuracoes_servico.h"
#include "app/execucao_sincronizacao.h"
#include "app/historico_execucoes.h"
#include "app/painel_execucao.h"
#include "app/vigia_encerramento.h"
#include "comum/avisos.h"
#include "db/caminhos_atualizacao.h"

namespace tessora::ui {

// The resident service behind the tray program and the program without a window: the
// synchronisation timer `tmAppForcaVenda`, the shutdown watch `tmEncerramento`, one run
// at a time on a worker thread, start-up and every way of ending. Lives on the thread of
// the event loop; only the run goes elsewhere.
class ServicoResidente : public QObject {
    Q_OBJECT

  public:
    using Execucao = std::function<app::FimExecucao(const app::AmbienteExecucao&)>;

    struct Opcoes {
        std::filesystem::path executavel;
        std::chrono::milliseconds porMinuto = std::chrono::minutes(1);
        std::chrono::milliseconds intervaloVigia = std::chrono::seconds(5);
        Execucao executar = {};  // empty: the synchronisation run
    };

    // `avisos` is used on this object's thread only; `painel` and `pedidos` on the run's.
    ServicoResidente(Opcoes opcoes, Avisos& avisos, app::PainelExecucao& painel,
                     app::PedidosAppForcaVenda& pedidos, QObject* parent = nullptr);
    ~ServicoResidente() override;

    // The start-up sequence. False when the program ends instead (Encerrar is emitted).
    // A step that fails is shown and the service stays, with what was done until then;
    // only a lock file that cannot be had ends the program after its message.
    bool Iniciar();

    // The settings as they stand: loaded at start-up, changed by the operator since.
    const app::ConfiguracoesServico& Configuracoes() const { return atuais_; }
    void DefinirProcessoAtivo(bool ativo);
    // Re-arms the synchronisation timer from the minutes text, with a fresh full interval.
    // A text the timer cannot take raises and leaves the timer stopped.
    void AjustarIntervaloSincronizacao(const std::string& minutos);

    // A run now, whatever the settings say; nothing while a run goes or the program ends.
    void SincronizarAgora();
    // The close handling; a run in progress is let finish first.
    void Fechar();
    // The program's last act when start-up ended it for an update: starts the updater.
    void IniciarAtualizacaoPendente() const;

    bool EmExecucao() const { return trabalhador_ != nullptr; }
    const std::filesystem::path& Executavel() const { return opcoes_.executavel; }

  signals:
    void ExecucaoIniciada();
    void ExecucaoTerminada(const app::ResumoExecucao& resumo);
    // The program is to end now with this exit status: the lock file is already gone.
    void Encerrar(int codigoSaida);
    // When the next automatic run is due; nothing when none is (automatic runs off, or a
    // timer-started run going).
    void ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando);

  private:
    enum class MotivoFim { Fechamento, Desconexao, Pedido, Atualizacao };
    class AvisosDoServico;

    void tmAppForcaVendaTimer();
    void tmEncerramentoTimer();
    void IniciarExecucao(bool peloTemporizador);
    void AoTerminarExecucao();
    void RearmarSincronizacao();
    void AnunciarProximaExecucao();
    void SolicitarFim(MotivoFim motivo);
    void ConcluirFimPendente();
    // Shows a notice through `avisos_`; a pending end may follow once none is open.
    void Mostrar(const std::function<void()>& mostrar);
    void MostrarErro(const std::string& mensagem);

    Opcoes opcoes_;
    Avisos& avisos_;
    app::PainelExecucao& painel_;
    app::PedidosAppForcaVenda& pedidos_;
    std::unique_ptr<AvisosDoServico> avisosServico_;
    app::HistoricoExecucoes historico_;  // written by the run, on its thread
    db::CaminhosAtualizacao caminhos_;
    app::EstadoServico estado_;
    app::ConfiguracoesServico atuais_{false, "0"};        // the window's values before start-up
    std::optional<std::chrono::milliseconds> intervalo_;  // the timer's; nothing: no automatic runs
    app::VigiaEncerramento vigia_;
    QTimer tmAppForcaVenda_;
    QTimer tmEncerramento_;
    std::unique_ptr<QThread> trabalhador_;
    // Asks the run under way to end after the order it is writing.
    std::atomic<bool> encerrarExecucao_{false};
    bool execucaoPeloTemporizador_ = false;
    std::chrono::system_clock::time_point inicioExecucao_;
    // Written by the run, read once it finished.
    std::optional<app::FimExecucao> fimExecucao_;
    std::optional<std::string> erroExecucao_;
    std::optional<MotivoFim> fimPendente_;
    int avisosAbertos_ = 0;
    bool vigiando_ = false;
    bool encerrado_ = false;
};

}  // namespace tessora::ui
