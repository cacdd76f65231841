#include "comum/inteiros.h"

#include <charconv>
#include <string>

#include "comum/erros.h"
#include "comum/texto.h"

namespace tessora {

std::optional<int32_t> InteiroDecimal(std::string_view texto) {
    // from_chars takes "-" but not "+", and after "+" no second sign may follow.
    if (texto.starts_with('+')) {
        texto.remove_prefix(1);
        if (texto.starts_with('-')) return std::nullopt;
    }
    int32_t valor = 0;
    const char* fim = texto.data() + texto.size();
    const auto [ponteiro, erro] = std::from_chars(texto.data(), fim, valor);
    if (texto.empty() || erro != std::errc() || ponteiro != fim) return std::nullopt;
    return valor;
}

std::optional<int32_t> InteiroAposBrancos(std::string_view texto) {
    return InteiroDecimal(AparaBrancosIniciais(texto));
}

std::optional<int32_t> InteiroEntreBrancos(std::string_view texto) {
    return InteiroDecimal(AparaBrancos(texto));
}

int32_t ExigirInteiro(std::string_view texto,
                      std::optional<int32_t> (*regra)(std::string_view texto)) {
    const std::optional<int32_t> valor = regra(texto);
    if (!valor) throw ErroConversao("'" + std::string(texto) + "' is not a valid integer value");
    return *valor;
}

}  // namespace tessora
