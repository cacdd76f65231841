#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "app/configuracoes/configuracoes_historico.h"
#include "app/execucao/observador_execucao.h"
#include "app/historico/banco_sqlite.h"

namespace tessora::app {

// Records every run and every order's outcome in the history file. The file is opened when
// a run starts (creating or upgrading it, and pruning runs older than the days kept) and
// closed when it ends, so a file that could not be had is tried again by the next run.
// Each row is written as it happens: a run cut short keeps what it did.
class HistoricoExecucoes : public ObservadorExecucao {
  public:
    explicit HistoricoExecucoes(ConfiguracoesHistorico configuracoes)
        : configuracoes_(std::move(configuracoes)) {}

    void ExecucaoIniciada(OrigemExecucao origem,
                          std::chrono::system_clock::time_point inicio) override;
    void PedidoProcessado(const ResultadoPedido& pedido) override;
    void ExecucaoTerminada(const ResumoExecucao& resumo) override;

  private:
    ConfiguracoesHistorico configuracoes_;
    std::optional<BancoSqlite> banco_;  // during a run
    int64_t execucao_ = 0;
};

}  // namespace tessora::app
