#pragma once

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
#include "app/maquina_servico_residente.h"
#include "app/painel_execucao.h"
#include "app/vigia_encerramento.h"
#include "comum/avisos.h"
#include "db/caminhos_atualizacao.h"

namespace tessora::app {

// The resident service apart from whatever drives it: start-up, the runs, the shutdown watch,
// the close handling and the rules of MaquinaServicoResidente. A front end supplies the
// timers, the thread a run works on and the way back to the service's own thread, where
// every method here is called.
class NucleoServicoResidente : protected AcoesServicoResidente {
  public:
    using Execucao = std::function<FimExecucao(const AmbienteExecucao&)>;

    struct Opcoes {
        std::filesystem::path executavel;
        std::chrono::milliseconds porMinuto = std::chrono::minutes(1);
        std::chrono::milliseconds intervaloVigia = std::chrono::seconds(5);
        Execucao executar = {};  // empty: the synchronisation run
    };

    // `avisos` is used on the service's thread only; `painel` and `pedidos` on the run's.
    NucleoServicoResidente(Opcoes opcoes, Avisos& avisos, PainelExecucao& painel,
                           PedidosAppForcaVenda& pedidos);
    ~NucleoServicoResidente() override;

    // The start-up sequence. False when the program ends instead (the rules end it).
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
    // The close handling; a run in progress is let finish first.
    void Fechar();
    // The program's last act when start-up ended it for an update: starts the updater.
    void IniciarAtualizacaoPendente() const;

    bool EmExecucao() const { return maquina_.EmExecucao(); }
    const std::filesystem::path& Executavel() const { return opcoes_.executavel; }

  protected:
    static Instante Agora() { return std::chrono::steady_clock::now(); }
    // A steady clock's time as the wall clock would show it.
    static std::chrono::system_clock::time_point HoraDoSistema(Instante instante);

    // Calls `acao` on the service's thread: at once when called there, later otherwise.
    virtual void NaThreadDoServico(std::function<void()> acao) = 0;

    // The work of the run that the rules started, for the front end to do on the thread it
    // chooses; once it is done, ConcluirExecucao on the service's thread.
    std::function<void()> PrepararExecucao(OrigemExecucao origem);
    // The last run's start and end, once its work is done.
    ResumoExecucao UltimaExecucao() const { return {inicioExecucao_, fimExecucao_}; }
    void ConcluirExecucao();

    void TiqueSincronizacao() { maquina_.TiqueSincronizacao(Agora()); }
    void TiqueVigia() { maquina_.TiqueVigia(); }
    std::optional<Instante> ProximoTique() const { return maquina_.ProximoTique(); }

    const Opcoes& OpcoesServico() const { return opcoes_; }

    void VerificarConexao() override;
    void ExibirErro(const std::string& mensagem) override;
    void FecharServico(const ConfiguracoesServico& atuais) override;
    void LiberarLock() override;
    void InterromperExecucao() override;

  private:
    class AvisosDoServico;

    // Shows a notice through `avisos_`; a pending end may follow once none is open.
    void Mostrar(const std::function<void()>& mostrar);

    Opcoes opcoes_;
    Avisos& avisos_;
    PainelExecucao& painel_;
    PedidosAppForcaVenda& pedidos_;
    std::unique_ptr<AvisosDoServico> avisosServico_;
    HistoricoExecucoes historico_;  // written by the run, on its thread
    db::CaminhosAtualizacao caminhos_;
    EstadoServico estado_;
    MaquinaServicoResidente maquina_;
    VigiaEncerramento vigia_;
    std::chrono::system_clock::time_point inicioExecucao_;
    // Asks the run under way to end after the order it is writing.
    std::atomic<bool> encerrarExecucao_{false};
    // Written by the run, read once it finished.
    std::optional<FimExecucao> fimExecucao_;
    std::optional<std::string> erroExecucao_;
};

}  // namespace tessora::app
