#pragma once

#include "app/execucao/execucao_sincronizacao.h"

namespace tessora::app {

// The order loop's steps as the program makes them: the listing over the API and the
// import of each order into the ERP.
class PedidosViaApi : public PedidosAppForcaVenda {
  public:
    api::ListagemPedidos ListarPedidosNovos(ContextoSincronizacao& contexto) override;
    importacao::DocumentoPedido BuscarPedido(api::ClienteHttp& cliente,
                                             const std::string& id) override;
    importacao::ResultadoImportacao ImportarPedido(
        ContextoSincronizacao& contexto, const std::string& id,
        const importacao::DocumentoPedido& documento) override;
    void RegistrarPedido(api::ClienteHttp& cliente, const std::string& id) override;
};

}  // namespace tessora::app
