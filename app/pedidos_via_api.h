#pragma once

#include "app/execucao_sincronizacao.h"

namespace tessora::app {

// The order loop's steps as the program makes them: the listing over the API; the import
// of an order is not part of this build yet and reports every order as not included.
class PedidosViaApi : public PedidosAppForcaVenda {
public:
    std::vector<std::string> ListarPedidosNovos(ContextoSincronizacao& contexto) override;
    std::string ImportarPedido(ContextoSincronizacao& contexto, const std::string& id) override;
};

}  // namespace tessora::app
