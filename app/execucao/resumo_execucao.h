#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// The words in which runs are told: where a run came from, what became of each order and how
// the run ended. Whatever shows or records runs needs these and nothing of the run itself.
namespace tessora::app {

enum class OrigemExecucao {
    Temporizador,
    Botao,  // "Sincronizar Agora"
    LinhaComando,
    Repeticao,  // "Tentar novamente": one failing order again
};

enum class DesfechoPedido {
    Incluido,
    // Written, but otherwise than sent: a placeholder product, an item left out, the company in
    // place of the customer, or amounts that do not agree; the reasons in the order's remark.
    IncluidoComAviso,
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
    // The customer as the order names it (name, CNPJ or CPF), once its document was read.
    std::string cliente{};
};

enum class [[nodiscard]] FimExecucao{
    Concluida,
    SemConexao,   // the attach was refused; logged, and the program goes on
    SemListagem,  // the API's list of new orders could not be had; logged with its reason
};

// What kept a run from its work, as far as the operator can mend it.
enum class ProblemaExecucao {
    TokenRecusado,
    CertificadoRecusado,
    CertificadoForaDoPrazo,  // expired or not valid yet: the PC's clock is the first suspect
    ApiInacessivel,
    ErroApi,
    BancoInacessivel,
    Configuracao,
};

// How a run ended, for whatever shows the state of runs.
struct ResumoExecucao {
    std::chrono::system_clock::time_point inicio;
    std::optional<FimExecucao> fim;  // nothing: an error left the run
    std::chrono::system_clock::time_point termino{};
    // Why it did not end normally: the attach's or the listing's reason, or the error's message.
    std::string motivo{};
    int32_t pedidosProcessados = 0;
    int32_t pedidosIncluidos = 0;  // written by this run, with a warning or not
    int32_t pedidosComFalha = 0;   // see PedidoFalhou
    int32_t pedidosAdiados = 0;    // left for another copy of the program
    int32_t pedidosComAviso = 0;   // DesfechoPedido::IncluidoComAviso
    // Known for a run that could not reach the database or have the list of new orders.
    std::optional<ProblemaExecucao> problema{};

    bool Normal() const { return fim == FimExecucao::Concluida; }
};

}  // namespace tessora::app
