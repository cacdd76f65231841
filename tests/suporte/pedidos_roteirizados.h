#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/execucao/execucao_sincronizacao.h"

namespace tessora::testes {

// Lists the orders the test sets and imports each with the result the test gave it; counts
// the listings asked for.
class PedidosRoteirizados : public app::PedidosAppForcaVenda {
  public:
    api::ListagemPedidos ListarPedidosNovos(app::ContextoSincronizacao&) override {
        ++listagens;
        return lista;
    }
    importacao::ResultadoImportacao ImportarPedido(app::ContextoSincronizacao&,
                                                   const std::string& id,
                                                   const importacao::DocumentoPedido&) override {
        return resultados.at(id);
    }

    std::vector<std::string> lista;
    std::map<std::string, importacao::ResultadoImportacao> resultados;
    int listagens = 0;
};

}  // namespace tessora::testes
