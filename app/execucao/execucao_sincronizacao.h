#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "api/cliente_http.h"
#include "api/listagem_pedidos.h"
#include "app/configuracoes/configuracoes_api.h"
#include "app/execucao/observador_execucao.h"
#include "app/execucao/painel_execucao.h"
#include "app/execucao/resumo_execucao.h"
#include "comum/avisos.h"
#include "db/caminhos_atualizacao.h"
#include "db/conexao_erp.h"
#include "importacao/importacao_pedido.h"

namespace tessora::app {

// What the listing and the import of one run work with.
struct ContextoSincronizacao {
    db::ConexaoErp& conexao;
    api::ConfiguracaoApi api;  // reads the token through `conexao` before each request
    // The run's requests on this thread, over one kept-alive connection.
    api::ClienteHttp cliente{api};
};

// The order loop's steps: which orders are new, the fetch of an order's document, its import
// and its acknowledgement.
// Fetches and acknowledgements run on threads of the run, each with a client of its own; the
// listing and the import on the run's thread, one order at a time.
class PedidosAppForcaVenda {
  public:
    virtual ~PedidosAppForcaVenda() = default;
    virtual api::ListagemPedidos ListarPedidosNovos(ContextoSincronizacao& contexto) = 0;
    // Nothing fetched unless overridden.
    virtual importacao::DocumentoPedido BuscarPedido(api::ClienteHttp&, const std::string&) {
        return {};
    }
    virtual importacao::ResultadoImportacao ImportarPedido(
        ContextoSincronizacao& contexto, const std::string& id,
        const importacao::DocumentoPedido& documento) = 0;
    // After the order's commit; nothing unless overridden.
    virtual void RegistrarPedido(api::ClienteHttp&, const std::string&) {}
};

// The API client's settings for work on `conexao`, which gives the token for every request.
api::ConfiguracaoApi ConfiguracaoDaExecucao(const ConfiguracoesApi& configuracoes,
                                            db::ConexaoErp& conexao);

// What a run needs from the service around it.
struct AmbienteExecucao {
    std::filesystem::path executavel;  // its folder is the program folder
    ConfiguracoesApi configuracoesApi;
    Avisos& avisos;
    PainelExecucao& painel;
    PedidosAppForcaVenda& pedidos;
    db::CaminhosAtualizacao& caminhosAtualizacao;  // refreshed after the attach
    OrigemExecucao origem = OrigemExecucao::LinhaComando;
    ObservadorExecucao* observador = nullptr;  // the history; nothing: the run is not recorded
    // Set when the program is to end: the run fetches nothing more, finishes the order being
    // written and its acknowledgement, and ends there. Nothing: the run goes to its end.
    const std::atomic<bool>* encerramento = nullptr;
    // Only this order, fetched and imported like a listed one, without asking the API for the
    // list: the retry of one order after its cause was mended. Nothing: the new orders.
    std::optional<std::string> pedido = std::nullopt;
    // The bytes that the order documents fetched ahead may hold together; room for the fetches
    // under way at their largest answers and some more documents, and well inside what a 32-bit
    // process can address.
    size_t orcamentoAntecipacao = 64u * 1024 * 1024;
};

// One synchronisation run. Its closing steps run on every way out; an error outside the
// per-order guard ends the run after them, its message in the summary.
ResumoExecucao ProcessarAppForcaVenda(const AmbienteExecucao& ambiente);

}  // namespace tessora::app
