#pragma once

#include <optional>
#include <string>

#include "app/apresentacao/progresso_execucao.h"
#include "app/execucao/resumo_execucao.h"

namespace tessora::app {

// What the tray icon shows.
enum class EstadoBandeja {
    Normal,           // no run going, and the last one (if any) went well
    EmExecucao,       // a run is going
    PedidosComFalha,  // the last run could not write some of its orders, or runs in a row left
                      // theirs for another copy (kExecucoesComAdiadosToleradas)
    SemComunicacao,   // the last run could not reach the database or the API, or an error ended it
};

// A message for the notification area.
struct NotificacaoBandeja {
    std::string texto;
    bool falha = false;  // a problem; otherwise the news that the problems cleared
};

// The tray icon's rules, apart from any toolkit, for every front end: the state that the runs
// give, the tooltip, and when to notify. A problem is told once per episode (the runs in a row
// that end the same bad way), not at every automatic run, and once more when a run goes well
// again.
class SituacaoBandeja {
  public:
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
    int execucoesComAdiados_ = 0;                 // in a row, up to the last one
    EstadoBandeja ultimaExecucao_ = EstadoBandeja::Normal;
    std::string resumoUltimaExecucao_;
};

}  // namespace tessora::app
