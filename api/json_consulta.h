#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "api/json_analise.h"
#include "api/json_valor.h"

namespace tessora {

// The value of the first member whose name equals `nome` with ASCII letters compared without
// regard to case; nullptr when there is none or the object is nothing. The value belongs to the
// object's document.
const JsonValor* JsonValorPorNome(const JsonObjeto* objeto, std::string_view nome);
const JsonValor* JsonValorPorNome(const JsonObjeto& objeto, std::string_view nome);
const JsonValor* JsonValorPorNome(const std::optional<JsonDocumento>& documento,
                                  std::string_view nome);

// The member's value as text: a string's characters; a number written back by TextoDeNumero;
// empty for a missing member, true, false, null, an object or an array.
std::string JsonTextoPorNome(const JsonObjeto* objeto, std::string_view nome);
std::string JsonTextoPorNome(const JsonObjeto& objeto, std::string_view nome);
std::string JsonTextoPorNome(const std::optional<JsonDocumento>& documento, std::string_view nome);

// Whether the answer's "success" member says the call succeeded: a JSON true, or a value whose
// text is "true" in any letter case. False for nothing.
bool RespostaComSucesso(const JsonObjeto* resposta);
bool RespostaComSucesso(const JsonObjeto& resposta);
bool RespostaComSucesso(const std::optional<JsonDocumento>& resposta);

// A double in general format: at most 15 significant digits, "," as decimal separator, no digit
// grouping; fixed notation ("12,5", "10234") unless the value is below 0.00001 in magnitude or
// has more than 15 integer digits, then scientific ("1E20", "1,5E-7").
std::string TextoDeNumero(double valor);

}  // namespace tessora
