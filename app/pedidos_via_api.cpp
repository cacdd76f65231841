#include "app/pedidos_via_api.h"

#include "api/listagem_pedidos.h"

namespace tessora::app {

std::vector<std::string> PedidosViaApi::ListarPedidosNovos(ContextoSincronizacao& contexto) {
    api::ClienteHttp cliente(contexto.api);
    return api::ListarPedidosNovos(cliente);
}

std::string PedidosViaApi::ImportarPedido(ContextoSincronizacao&, const std::string&) {
    return "Importação de pedidos indisponível nesta versão";
}

}  // namespace tessora::app
