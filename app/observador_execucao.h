#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace tessora::app {

enum class OrigemExecucao {
    Temporizador,
    Botao,  // "Sincronizar Agora"
    LinhaComando,
};

struct ResumoExecucao;

enum class DesfechoPedido {
    Incluido,
    JaIncluido,
    Adiado,       // another copy of the program was importing; left for a later run
    NaoIncluido,  // the import answered with a failure
    Erro,         // an error left the import
};

// Runs in a row that left orders for another copy of the program before the tray and the
// health check say so: one such run is an overlap of two copies' runs, several are imports that
// have stopped here.
inline constexpr int kExecucoesComAdiadosToleradas = 3;

// An order that this run could not write: an error, or a refused import.
inline bool PedidoFalhou(DesfechoPedido desfecho) {
    return desfecho == DesfechoPedido::NaoIncluido || desfecho == DesfechoPedido::Erro;
}

// One order of a run as its log line tells it.
struct ResultadoPedido {
    std::string idApp{};
    DesfechoPedido desfecho = DesfechoPedido::Erro;
    std::string mensagem{};  // the processing log's line, without its time stamp
    // Known only for an order written by this run.
    std::optional<int32_t> idNfComercio{};
    std::optional<int32_t> nrNotaFiscal{};
    std::optional<bool> clienteCadastrado{};
    // A remark for the history alone, never for the log: the database's reason for refusing
    // the order or its customer, amounts of a written order that do not agree.
    std::string observacao{};
};

// Follows a run from the thread that makes it. A failure raised here is logged once by the
// run, which then goes on without the observer: it never changes what the run does.
class ObservadorExecucao {
  public:
    virtual ~ObservadorExecucao() = default;
    virtual void ExecucaoIniciada(OrigemExecucao origem,
                                  std::chrono::system_clock::time_point inicio) = 0;
    virtual void PedidoProcessado(const ResultadoPedido& pedido) = 0;
    virtual void ExecucaoTerminada(const ResumoExecucao& resumo) = 0;
};

}  // namespace tessora::app
