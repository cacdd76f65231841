#pragma once

#include <string>

#include "importacao/conferencia_totais.h"

namespace tessora::app {

// The totals check in the program's words: "conferem (produtos 10,00, soma dos itens 10,00)",
// or "não conferem (...)" followed by "; item N (code): quantity x price = amount, total
// informado amount" for every item that does not agree.
std::string TextoConferenciaTotais(const importacao::ConferenciaTotais& totais);

}  // namespace tessora::app
