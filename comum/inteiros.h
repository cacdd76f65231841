#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tessora {

// Whole numbers read from text, within 32 bits and never a value cut to fit: an optional
// sign ("+" or "-") and decimal digits. The rules differ only in the blanks (codes 0 to 32)
// they allow around the number; anything else gives nothing.

// Nothing before or after the number.
[[nodiscard]] std::optional<int32_t> InteiroDecimal(std::string_view texto);
// Blanks before the number, as an operator or the API may put them, but none after.
[[nodiscard]] std::optional<int32_t> InteiroAposBrancos(std::string_view texto);
// Blanks before and after, as the database's fixed-length texts carry them.
[[nodiscard]] std::optional<int32_t> InteiroEntreBrancos(std::string_view texto);

// The number that `regra` reads from `texto`; ErroConversao
// "'<texto>' is not a valid integer value" when it reads none.
[[nodiscard]] int32_t ExigirInteiro(std::string_view texto,
                                    std::optional<int32_t> (*regra)(std::string_view texto));

}  // namespace tessora
