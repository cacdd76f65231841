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

#include "app/configuracoes_servico.h"
#include "app/execucao_sincronizacao.h"
#include "app/nucleo_servico_residente.h"
#include "app/painel_execucao.h"
#include "comum/avisos.h"

namespace tessora::ui {

// The resident service behind the tray program: the synchronisation timer `tmAppForcaVenda`
// and the shutdown watch `tmEncerramento` as Qt timers, one run at a time on a worker
// thread, and the service's events as signals. Lives on the thread of the event loop; only
// the run goes elsewhere.
class ServicoResidente : public QObject, private app::NucleoServicoResidente {
    Q_OBJECT

  public:
    using Execucao = app::NucleoServicoResidente::Execucao;
    using Opcoes = app::NucleoServicoResidente::Opcoes;

    // `avisos` is used on this object's thread only; `painel` and `pedidos` on the run's.
    ServicoResidente(Opcoes opcoes, Avisos& avisos, app::PainelExecucao& painel,
                     app::PedidosAppForcaVenda& pedidos, QObject* parent = nullptr);
    ~ServicoResidente() override;

    // The start-up sequence. False when the program ends instead (Encerrar is emitted).
    // A step that fails is shown and the service stays, with what was done until then;
    // only a lock file that cannot be had ends the program after its message.
    bool Iniciar() { return NucleoServicoResidente::Iniciar(); }

    // The settings as they stand: loaded at start-up, changed by the operator since.
    const app::ConfiguracoesServico& Configuracoes() const {
        return NucleoServicoResidente::Configuracoes();
    }
    void DefinirProcessoAtivo(bool ativo) { NucleoServicoResidente::DefinirProcessoAtivo(ativo); }
    // Re-arms the synchronisation timer from the minutes text, with a fresh full interval.
    // A text the timer cannot take raises and leaves the timer stopped.
    void AjustarIntervaloSincronizacao(const std::string& minutos) {
        NucleoServicoResidente::AjustarIntervaloSincronizacao(minutos);
    }

    // A run now, whatever the settings say; nothing while a run goes or the program ends.
    void SincronizarAgora() { NucleoServicoResidente::SincronizarAgora(); }
    // The close handling; a run in progress is let finish first.
    void Fechar() { NucleoServicoResidente::Fechar(); }
    // The program's last act when start-up ended it for an update: starts the updater.
    void IniciarAtualizacaoPendente() const {
        NucleoServicoResidente::IniciarAtualizacaoPendente();
    }

    bool EmExecucao() const { return NucleoServicoResidente::EmExecucao(); }
    const std::filesystem::path& Executavel() const { return NucleoServicoResidente::Executavel(); }

  signals:
    void ExecucaoIniciada();
    void ExecucaoTerminada(const app::ResumoExecucao& resumo);
    // The program is to end now with this exit status: the lock file is already gone.
    void Encerrar(int codigoSaida);
    // When the next automatic run is due; nothing when none is (automatic runs off, or a
    // timer-started run going).
    void ProximaExecucao(std::optional<std::chrono::system_clock::time_point> quando);

  private:
    void tmAppForcaVendaTimer() { TiqueSincronizacao(); }
    void tmEncerramentoTimer() { TiqueVigia(); }
    void AoTerminarExecucao();

    void NaThreadDoServico(std::function<void()> acao) override;
    void IniciarExecucao(app::OrigemExecucao origem) override;
    void ArmarTemporizador(std::chrono::milliseconds intervalo) override;
    void PararTemporizador() override;
    void AnunciarProximaExecucao(std::optional<app::Instante> quando) override;
    void EncerrarPrograma(int codigoSaida) override;

    QTimer tmAppForcaVenda_;
    QTimer tmEncerramento_;
    std::unique_ptr<QThread> trabalhador_;
};

}  // namespace tessora::ui
