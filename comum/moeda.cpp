#include "moeda.h"

#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "comum/erros.h"

namespace tessora {

Moeda Moeda::operator+(Moeda outra) const {
    int64_t soma;
    if (__builtin_add_overflow(valor_, outra.valor_, &soma)) {
        throw ErroConversao("Valor fora do limite: " + Formatar(4, ',') + " + " +
                            outra.Formatar(4, ','));
    }
    return Moeda(soma);
}

Moeda Moeda::operator-() const {
    if (valor_ == std::numeric_limits<int64_t>::min()) {
        throw ErroConversao("Valor fora do limite: -(" + Formatar(4, ',') + ")");
    }
    return Moeda(-valor_);
}

std::string Moeda::Formatar(int casas, char separador) const {
    if (casas < 0 || casas > 4) throw std::invalid_argument("casas decimais fora de 0 a 4");
    int64_t divisor = 1;
    for (int i = casas; i < 4; ++i) divisor *= 10;
    // Work on the magnitude as unsigned so that the minimum value does not overflow.
    const bool negativo = valor_ < 0;
    uint64_t magnitude =
        negativo ? uint64_t{0} - static_cast<uint64_t>(valor_) : static_cast<uint64_t>(valor_);
    const uint64_t d = static_cast<uint64_t>(divisor);
    magnitude = magnitude / d + (magnitude % d * 2 >= d ? 1 : 0);

    uint64_t escala = 1;
    for (int i = 0; i < casas; ++i) escala *= 10;
    std::string texto = std::to_string(magnitude / escala);
    if (casas > 0) {
        std::string fracao = std::to_string(magnitude % escala);
        texto += separador;
        texto += std::string(static_cast<size_t>(casas) - fracao.size(), '0') + fracao;
    }
    if (negativo && magnitude != 0) texto.insert(texto.begin(), '-');
    return texto;
}

}  // namespace tessora
