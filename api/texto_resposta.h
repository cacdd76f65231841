#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessora {

// Brings the text of an API answer to the ASCII bytes that the JSON reader takes, in this order:
// drops every "â€" (the first two characters of a typographic sign's UTF-8 bytes read as
// Windows-1252); converts to Windows-1252 (a missing character becomes its base letter when it
// is a letter with diacritics, else "?"); reads those bytes as UTF-8, so that UTF-8 that arrived
// one character per byte is restored, while a byte that is no valid UTF-8 keeps its Windows-1252
// character; folds to ASCII (base letter of a letter with diacritics, else "?").
// Pure ASCII passes unchanged. `folgaAoFim` bytes of capacity are reserved beyond the result,
// for a reader that needs padding.
std::string TextoRespostaParaAscii(std::string_view texto, size_t folgaAoFim = 0);

}  // namespace tessora
