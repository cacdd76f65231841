#include "app/execucao/pedidos_via_api.h"

#include "api/listagem_pedidos.h"
#include "api/registro_erp.h"

namespace tessora::app {

api::ListagemPedidos PedidosViaApi::ListarPedidosNovos(ContextoSincronizacao& contexto) {
    return api::ListarPedidosNovos(contexto.cliente);
}

importacao::DocumentoPedido PedidosViaApi::BuscarPedido(api::ClienteHttp& cliente,
                                                        const std::string& id) {
    return importacao::DocumentoPedido::Buscar(cliente, id);
}

importacao::ResultadoImportacao PedidosViaApi::ImportarPedido(
    ContextoSincronizacao& contexto, const std::string& id,
    const importacao::DocumentoPedido& documento) {
    return importacao::GravarPedido(contexto.conexao, contexto.cliente, id, documento);
}

void PedidosViaApi::RegistrarPedido(api::ClienteHttp& cliente, const std::string& id) {
    // The order is in the ERP whatever the API answers: one left unacknowledged is listed again
    // and then acknowledged as already included.
    static_cast<void>(api::RegistrarPedidoNoErp(cliente, id));
}

}  // namespace tessora::app
