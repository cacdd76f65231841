#pragma once

#include <string_view>

#include "api/json_valor.h"
#include "comum/moeda.h"

namespace tessora::importacao {

// Amounts of an order as the ERP's NUMERIC(15, casas) columns hold them: at most 15 digits once
// rounded to `casas` decimals, the way they are written. The database itself would take more,
// since it keeps such columns as 64-bit integers, and the ERP would then show a wrong amount.

// The amount of an order's member, read with TextoParaValor. One that the column cannot hold
// raises ErroConversao naming the member and its text, so that the order is refused whole.
Moeda ValorDoPedido(const JsonObjeto& objeto, std::string_view membro, int casas);

// The order's total (VL_TOTAL_NF): the sum of its parts, refused like a member when the column
// cannot hold it.
Moeda TotalDoPedido(Moeda produtos, Moeda ipi, Moeda icmsSubstituicao);

}  // namespace tessora::importacao
