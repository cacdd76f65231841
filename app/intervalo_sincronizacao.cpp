#include "app/intervalo_sincronizacao.h"

#include <string>

#include "comum/erros.h"
#include "comum/texto.h"

namespace tessora::app {

int32_t ConverterInteiro(std::string_view texto) {
    std::string_view numero = texto;
    while (!numero.empty() && numero.front() == ' ') numero.remove_prefix(1);
    const std::optional<int32_t> valor = InteiroDecimal(numero);
    if (!valor) throw ErroConversao("'" + std::string(texto) + "' is not a valid integer value");
    return *valor;
}

std::optional<std::chrono::milliseconds> IntervaloSincronizacao(
    std::string_view minutos, std::chrono::milliseconds porMinuto) {
    const int32_t valor = ConverterInteiro(minutos);
    if (valor < 0 || valor > kMinutosMaximos) {
        throw Erro("O intervalo de sincronização deve ser de 0 a " +
                   std::to_string(kMinutosMaximos) + " minutos.");
    }
    if (valor == 0) return std::nullopt;
    return porMinuto * valor;
}

}  // namespace tessora::app
