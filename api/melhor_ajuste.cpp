#include "api/melhor_ajuste.h"

#include <utf8proc.h>

namespace tessora {

namespace {

bool EhLetra(utf8proc_int32_t codigo) {
    const utf8proc_category_t categoria = utf8proc_category(codigo);
    return categoria >= UTF8PROC_CATEGORY_LU && categoria <= UTF8PROC_CATEGORY_LO;
}

}  // namespace

std::optional<char32_t> LetraSemDiacriticos(char32_t codigo) {
    if (codigo > 0x10FFFF) return std::nullopt;
    const auto original = static_cast<utf8proc_int32_t>(codigo);
    if (!EhLetra(original)) return std::nullopt;
    utf8proc_int32_t decomposto[8];
    int classe = 0;
    constexpr auto kOpcoes =
        static_cast<utf8proc_option_t>(UTF8PROC_DECOMPOSE | UTF8PROC_STRIPMARK);
    const utf8proc_ssize_t quantos =
        utf8proc_decompose_char(original, decomposto, 8, kOpcoes, &classe);
    // One letter left that differs from the original: the original was that letter plus marks.
    // Anything else (no decomposition, a Hangul syllable's jamo) has no base letter.
    if (quantos != 1 || decomposto[0] == original || !EhLetra(decomposto[0])) return std::nullopt;
    return static_cast<char32_t>(decomposto[0]);
}

}  // namespace tessora
