#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "api/json_valor.h"
#include "comum/moeda.h"
#include "importacao/dados_operacao.h"

namespace tessora::importacao {

// An item whose total is not its quantity times its unit price.
struct DivergenciaItem {
    int32_t noItem = 0;
    std::string codigoApp;
    Moeda quantidade;
    Moeda unitario;
    // Quantity times unit price; nothing when it is beyond any amount.
    std::optional<Moeda> calculado;
    Moeda informado;
};

// The order's amounts checked against each other, with one cent of tolerance: the products
// total of the header against the sum of the items' totals, and each item's total against
// its quantity times its unit price. The import writes the amounts as the app sent them;
// this only tells whether they agree, and never raises for amounts the import could read.
struct ConferenciaTotais {
    Moeda produtos;
    std::optional<Moeda> somaItens;  // nothing when it is beyond any amount
    bool produtosConferem = true;
    std::vector<DivergenciaItem> itens;

    bool Confere() const { return produtosConferem && itens.empty(); }
};

ConferenciaTotais ConferirTotais(Moeda valorProdutos,
                                 const std::vector<TDadosItensOperacaoComercialApp>& itens);

// The check of an order's "data" object ("valor_produtos" and the items of "itens"), its
// amounts read as the import reads them; raises where the import would (an element that is
// no object, an amount beyond its column).
ConferenciaTotais ConferirTotaisDoPedido(const JsonObjeto& dados);

}  // namespace tessora::importacao
