#pragma once

#include <optional>

namespace tessora {

// The base letter of a letter with diacritics ("ã" gives "a", "Ǿ" gives "Ø"), found by canonical
// decomposition with the marks stripped; nothing for any other character. Compatibility
// mappings are never used, so no look-alike (a fullwidth quote or comma) turns into punctuation.
std::optional<char32_t> LetraSemDiacriticos(char32_t codigo);

}  // namespace tessora
