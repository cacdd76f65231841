#include "app/intervalo_sincronizacao.h"

#include <charconv>
#include <string>

#include "comum/erros.h"

namespace tessora::app {

int32_t ConverterInteiro(std::string_view texto) {
    std::string_view numero = texto;
    while (!numero.empty() && numero.front() == ' ') numero.remove_prefix(1);
    // from_chars takes "-" but not "+".
    if (numero.size() > 1 && numero.front() == '+' && numero[1] != '-') numero.remove_prefix(1);
    int32_t valor = 0;
    const auto [fim, erro] = std::from_chars(numero.data(), numero.data() + numero.size(), valor);
    if (numero.empty() || erro != std::errc() || fim != numero.data() + numero.size()) {
        throw ErroConversao("'" + std::string(texto) + "' is not a valid integer value");
    }
    return valor;
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
