#include "app/pedidos_via_api.h"

#include "api/listagem_pedidos.h"

namespace tessora::app {

api::ListagemPedidos PedidosViaApi::ListarPedidosNovos(ContextoSincronizacao& contexto) {
    return api::ListarPedidosNovos(contexto.cliente);
}

importacao::ResultadoImportacao PedidosViaApi::ImportarPedido(ContextoSincronizacao& contexto,
                                                              const std::string& id) {
    return importacao::ImportarPedido(contexto.conexao, contexto.cliente, id);
}

}  // namespace tessora::app
