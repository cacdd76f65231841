#pragma once

#include <optional>
#include <string>

#include "app/apresentacao/progresso_execucao.h"
#include "app/execucao/resumo_execucao.h"
#include "app/historico/situacao_registrada.h"

namespace tessora::app {

// What the tray icon shows.
enum class EstadoBandeja {
    Normal,           // no run going, and the last one went well
    EmExecucao,       // a run is going
    PedidosComFalha,  // the last run could not write some of its orders, or runs in a row left
                      // theirs for another copy (kExecucoesComAdiadosToleradas)
    SemComunicacao,   // the last run could not reach the database or the API, or an error ended it
    Desligada,        // automatic runs are off, and the last run (if any) went well
    Indefinido,       // no run known: none has ended yet, or the history could not be read
};

// How the latest finished run leaves the synchronisation, with `execucoesComAdiados` finished
// runs in a row up to it that left orders to another copy: Normal, PedidosComFalha or
// SemComunicacao. The tray icon and the health check decide by this one rule.
EstadoBandeja EstadoDasExecucoes(const ResumoExecucao& ultima, int execucoesComAdiados);

// A message for the notification area.
struct NotificacaoBandeja {
    std::string texto;
    bool falha = false;  // a problem; otherwise the news that the problems cleared
};

// The tray icon's rules, apart from any toolkit, for every front end: the state that the runs
// give, the tooltip, and when to notify. A problem is told once per episode (the runs in a row
// that end the same bad way, with the same kind of trouble), not at every automatic run, and
// once more when a run goes well again.
class SituacaoBandeja {
  public:
    // The state the history leaves, before this program's first run.
    void Restaurar(const SituacaoRegistrada& situacao);
    // The history could not be read: the state stays unknown until a run ends.
    void HistoricoIndisponivel();
    void DefinirSincronizacaoAutomatica(bool ativa);

    void ExecucaoIniciada();
    void Progresso(const ProgressoExecucao& progresso) { progresso_ = progresso; }
    // What to tell the operator about this end, if anything.
    [[nodiscard]] std::optional<NotificacaoBandeja> ExecucaoTerminada(const ResumoExecucao& resumo);

    EstadoBandeja Estado() const;
    // The program's title, a line while a run goes, and the last run's summary.
    std::string Dica() const;

  private:
    bool emExecucao_ = false;
    std::optional<ProgressoExecucao> progresso_;  // of the run that goes
    bool automatica_ = true;
    int execucoesComAdiados_ = 0;                  // in a row, up to the last one
    std::optional<EstadoBandeja> ultimaExecucao_;  // nothing: no run known
    std::optional<ProblemaExecucao> problema_;     // of the last run
    std::string resumoUltimaExecucao_;
};

}  // namespace tessora::app
