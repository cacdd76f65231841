#include "app/servico/intervalo_sincronizacao.h"

#include <string>

#include "comum/erros.h"
#include "comum/inteiros.h"

namespace tessora::app {

std::optional<std::chrono::milliseconds> IntervaloSincronizacao(
    std::string_view minutos, std::chrono::milliseconds porMinuto) {
    const int32_t valor = ExigirInteiro(minutos, InteiroAposBrancos);
    if (valor < 0 || valor > kMinutosMaximos) {
        throw Erro("O intervalo de sincronização deve ser de 0 a " +
                   std::to_string(kMinutosMaximos) + " minutos.");
    }
    if (valor == 0) return std::nullopt;
    return porMinuto * valor;
}

}  // namespace tessora::app
