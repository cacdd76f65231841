#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "app/configuracoes/leitura_configuracoes.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/historico/historico_execucoes.h"
#include "app/servico/ciclo_servico.h"
#include "app/servico/maquina_servico_residente.h"
#include "app/servico/portas_servico.h"
#include "app/servico/vigia_encerramento.h"
#include "comum/avisos.h"
#include "db/caminhos_atualizacao.h"

namespace tessora::app {

// The resident service that every front end holds: start-up, the runs on a thread of the
// service's own, the shutdown watch, the close handling and the rules of
// MaquinaServicoResidente. It lives on the front end's thread, where every method here is
// called and every event is told; the front end lends it that thread and its timers.
class ServicoResidente : private AcoesServicoResidente {
  public:
    using Execucao = std::function<ResumoExecucao(const AmbienteExecucao&)>;

    struct Opcoes {
        std::filesystem::path executavel;
        std::chrono::milliseconds porMinuto = std::chrono::minutes(1);
        std::chrono::milliseconds intervaloVigia = std::chrono::seconds(5);
        Execucao executar = {};  // empty: the synchronisation run
    };

    // Starts the shutdown watch. `avisos` is used on the front end's thread only; `painel` and
    // `pedidos` on the run's.
    ServicoResidente(Opcoes opcoes, HospedeiroServico& hospedeiro, EventosServico& eventos,
                     Avisos& avisos, PainelExecucao& painel, PedidosAppForcaVenda& pedidos);
    // Waits for a run under way: it reports to objects that are about to go.
    ~ServicoResidente() override;
    ServicoResidente(const ServicoResidente&) = delete;
    ServicoResidente& operator=(const ServicoResidente&) = delete;

    // The start-up sequence. False when the program ends instead (Encerrar follows or came).
    // A step that fails is shown and the service stays, with what was done until then;
    // only a lock file that cannot be had ends the program after its message.
    bool Iniciar();

    // The settings as they stand: loaded at start-up, changed by the operator since.
    const ConfiguracoesServico& Configuracoes() const { return maquina_.Configuracoes(); }
    void DefinirProcessoAtivo(bool ativo);
    // Re-arms the synchronisation timer from the minutes text, with a fresh full interval.
    // A text the timer cannot take raises and leaves the timer stopped.
    void AjustarIntervaloSincronizacao(const std::string& minutos);

    // A run now, whatever the settings say; nothing while a run goes or the program ends.
    void SincronizarAgora();
    // The same for one order only, fetched by its id without asking the API for the new ones:
    // the retry once the operator mended what made it fail.
    void TentarNovamente(const std::string& idApp);
    // The close handling; a run in progress is let finish first.
    void Fechar();
    // A tick of one of the timers that the host armed.
    void Tique(Temporizador temporizador);
    // The program's last act when start-up ended it for an update: starts the updater.
    void IniciarAtualizacaoPendente() const;

    bool EmExecucao() const { return maquina_.EmExecucao(); }
    const std::filesystem::path& Executavel() const { return opcoes_.executavel; }

  private:
    class AvisosDoServico;

    static Instante Agora() { return std::chrono::steady_clock::now(); }

    // Calls `acao` on the front end's thread: at once when called there, later otherwise.
    void NaThreadDoServico(std::function<void()> acao);
    // Shows a notice through `avisos_`; a pending end may follow once none is open.
    void Mostrar(const std::function<void()>& mostrar);
    void ConcluirExecucao();

    void IniciarExecucao(OrigemExecucao origem) override;
    void ArmarTemporizador(std::chrono::milliseconds intervalo) override;
    void PararTemporizador() override;
    void AnunciarProximaExecucao(std::optional<Instante> quando) override;
    void VerificarConexao() override;
    void ExibirErro(const std::string& mensagem) override;
    void FecharServico(const ConfiguracoesServico& atuais) override;
    void LiberarLock() override;
    void InterromperExecucao() override;
    void EncerrarPrograma(int codigoSaida) override;

    Opcoes opcoes_;
    HospedeiroServico& hospedeiro_;
    EventosServico& eventos_;
    Avisos& avisos_;
    PainelExecucao& painel_;
    PedidosAppForcaVenda& pedidos_;
    const std::thread::id threadServico_;
    std::unique_ptr<AvisosDoServico> avisosServico_;
    const ConfiguracoesPrograma configuracoes_;  // the settings file, read once
    HistoricoExecucoes historico_;               // written by the run, on its thread
    db::CaminhosAtualizacao caminhos_;
    EstadoServico estado_;
    MaquinaServicoResidente maquina_;
    VigiaEncerramento vigia_;
    // Asks the run under way to end after the order it is writing.
    std::atomic<bool> encerrarExecucao_{false};
    // The order of the retry that is about to start.
    std::optional<std::string> pedidoRepetido_;
    // Written by the run, read once its thread ended.
    ResumoExecucao resumoExecucao_{};
    std::thread execucao_;
};

}  // namespace tessora::app
