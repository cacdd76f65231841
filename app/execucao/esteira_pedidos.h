#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <deque>
#include <exception>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "api/cliente_http.h"
#include "app/execucao/orcamento_antecipacao.h"
#include "app/execucao/resumo_execucao.h"
#include "app/execucao/trabalhadores_http.h"
#include "importacao/importacao_pedido.h"

namespace tessora::app {

using Momento = std::chrono::system_clock::time_point;

// What each order goes through. `Token`, `Importar` run on the run's thread, which owns the
// database connection; `Buscar` on a fetch thread and `Registrar` on an acknowledgement thread,
// each with a client of its own.
class EtapasPedido {
  public:
    virtual ~EtapasPedido() = default;
    virtual std::string Token() = 0;
    virtual importacao::DocumentoPedido Buscar(api::ClienteHttp& cliente,
                                               const std::string& id) = 0;
    // The order's outcome; `registrar` says whether the API is to be told it is in the ERP.
    virtual ResultadoPedido Importar(const std::string& id,
                                     const importacao::DocumentoPedido& documento,
                                     bool& registrar) = 0;
    // Raises when the acknowledgement did not go through.
    virtual void Registrar(api::ClienteHttp& cliente, const std::string& id) = 0;
};

// Where the orders' lines go, in listing order, stamped with the times of their events.
class SaidaPedidos {
  public:
    virtual ~SaidaPedidos() = default;
    virtual void Lendo(const std::string& id, Momento quando) = 0;
    virtual void Desfecho(const ResultadoPedido& resultado, Momento quando) = 0;
};

struct LimitesEsteira {
    size_t buscasSimultaneas = 3;
    // Documents fetched or fetching ahead of the order being written, within `orcamento`.
    size_t documentosAntecipados = 6;
    size_t registrosSimultaneos = 3;
    // Written orders that may wait for their acknowledgements before the next order waits too.
    size_t registrosPendentes = 6;
    size_t orcamento = 64u * 1024 * 1024;
    // What a fetch under way counts until its document comes: the largest answer it may bring.
    size_t reservaPorBusca = 16u * 1024 * 1024;
};

// The orders in listing order, one import at a time on the calling thread, while the next
// orders' documents are fetched and earlier orders acknowledged on threads of its own. A written
// order's outcome waits for its acknowledgement before it goes out, so that one that raises
// turns the order into an error, as if it had been sent before the next order began.
class EsteiraPedidos {
  public:
    // `modelo` gives the threads' clients their settings. `encerramento`, when set, stops the
    // fetches and the orders not yet begun; what was written is still acknowledged.
    EsteiraPedidos(EtapasPedido& etapas, SaidaPedidos& saida, const api::ClienteHttp& modelo,
                   LimitesEsteira limites, const std::atomic<bool>* encerramento);
    EsteiraPedidos(const EsteiraPedidos&) = delete;
    EsteiraPedidos& operator=(const EsteiraPedidos&) = delete;

    void Processar(const std::vector<std::string>& lista);

  private:
    struct RegistroRespondido {
        std::exception_ptr erro;
        Momento quando;
    };
    struct PedidoEscrito {
        ResultadoPedido resultado;
        std::optional<Momento> lido;  // when it was read, if its line still waits
        Momento desfecho;
        std::optional<std::future<RegistroRespondido>> registro;
    };

    bool Encerrando() const;
    void Antecipar(const std::vector<std::string>& lista);
    void Escrever(const std::vector<std::string>& lista, const std::string& id);
    void Registrar(PedidoEscrito& escrito);
    // Sends out the oldest written orders whose acknowledgements have answered; with `esperar`,
    // the oldest one in any case.
    void Publicar(bool esperar);

    EtapasPedido& etapas_;
    SaidaPedidos& saida_;
    const LimitesEsteira limites_;
    const std::atomic<bool>* encerramento_;
    // Outlives the fetches, which settle their reservations.
    OrcamentoAntecipacao orcamento_;
    TrabalhadoresHttp registros_;
    TrabalhadoresHttp buscas_;
    std::deque<std::future<importacao::DocumentoPedido>> documentos_;
    size_t proximaBusca_ = 0;
    std::deque<PedidoEscrito> escritos_;
};

// An order whose step raised: "Erro na leitura do pedido: <id> Erro: <message>".
ResultadoPedido ResultadoDoErro(const std::string& id, const std::exception_ptr& erro);

}  // namespace tessora::app
