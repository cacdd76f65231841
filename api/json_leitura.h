#pragma once

#include <optional>
#include <string_view>

#include "api/json_analise.h"

namespace tessora {

// Reads the text of an API answer (as decoded from its charset) into a JSON object, owned by the
// caller as a document; the values inside belong to it. The text passes through
// TextoRespostaParaAscii first, then is parsed as one JSON text. Nothing when the text is not
// readable JSON; raises ErroTipoInvalido when it is readable JSON whose value is not an object.
std::optional<JsonDocumento> LerRespostaJson(std::string_view texto);

}  // namespace tessora
