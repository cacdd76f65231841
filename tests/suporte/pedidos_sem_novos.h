#pragma once

#include <string>

#include "app/execucao/execucao_sincronizacao.h"

namespace tessora::testes {

// A run's steps for tests of what surrounds the run: the API lists no new order, and nothing
// reaches the database or the API.
class PedidosSemNovos : public app::PedidosAppForcaVenda {
  public:
    api::ListagemPedidos ListarPedidosNovos(app::ContextoSincronizacao&) override {
        return api::ListagemPedidos(std::vector<std::string>{});
    }
    importacao::ResultadoImportacao ImportarPedido(app::ContextoSincronizacao&, const std::string&,
                                                   const importacao::DocumentoPedido&) override {
        return {importacao::DesfechoImportacao::Incluido};
    }
};

}  // namespace tessora::testes
