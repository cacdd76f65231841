#include "app/pedidos_via_api.h"

#include "api/listagem_pedidos.h"

namespace tessora::app {

api::ListagemPedidos PedidosViaApi::ListarPedidosNovos(ContextoSincronizacao& contexto) {
    api::ClienteHttp cliente(contexto.api);
    return api::ListarPedidosNovos(cliente);
}

importacao::ResultadoImportacao PedidosViaApi::ImportarPedido(ContextoSincronizacao& contexto,
                                                              const std::string& id) {
    api::ClienteHttp cliente(contexto.api);
    return importacao::ImportarPedido(contexto.conexao, cliente, id);
}

}  // namespace tessora::app
