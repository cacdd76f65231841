#include "api/json_valor.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

namespace tessora {

namespace {

// Decimal exponent of the leading significant digit of a well-formed JSON number, used only to
// tell an overflow from an underflow; saturates far beyond any double's range.
int64_t OrdemDeGrandeza(std::string_view numero) {
    size_t i = numero.front() == '-' ? 1 : 0;
    int64_t ordem = 0;
    bool achouDigito = false;
    for (; i < numero.size() && numero[i] >= '0' && numero[i] <= '9'; ++i) {
        if (numero[i] != '0') achouDigito = true;
        if (achouDigito) ++ordem;
    }
    if (i < numero.size() && numero[i] == '.') {
        for (++i; i < numero.size() && numero[i] >= '0' && numero[i] <= '9'; ++i) {
            if (achouDigito) continue;
            if (numero[i] != '0')
                achouDigito = true;
            else
                --ordem;
        }
    }
    if (!achouDigito) return std::numeric_limits<int64_t>::min();  // zero, whatever the exponent
    if (i < numero.size() && (numero[i] == 'e' || numero[i] == 'E')) {
        ++i;
        const bool negativo = numero[i] == '-';
        if (numero[i] == '-' || numero[i] == '+') ++i;
        int64_t expoente = 0;
        for (; i < numero.size(); ++i) {
            if (expoente < 1'000'000) expoente = expoente * 10 + (numero[i] - '0');
        }
        ordem += negativo ? -expoente : expoente;
    }
    return ordem;
}

}  // namespace

static_assert(std::is_trivially_copyable_v<JsonValor> && std::is_trivially_copyable_v<JsonMembro>,
              "documents copy values with memcpy and never run their destructors");

JsonValor JsonValor::Booleano(bool valor) {
    JsonValor resultado;
    resultado.tipo_ = JsonTipo::Booleano;
    resultado.booleano_ = valor;
    return resultado;
}

JsonValor JsonValor::Numero(std::string_view texto) {
    JsonValor resultado;
    resultado.tipo_ = JsonTipo::Numero;
    resultado.texto_ = texto;
    return resultado;
}

JsonValor JsonValor::Texto(std::string_view texto) {
    JsonValor resultado;
    resultado.tipo_ = JsonTipo::Texto;
    resultado.texto_ = texto;
    return resultado;
}

JsonValor JsonValor::Lista(JsonLista lista) {
    JsonValor resultado;
    resultado.tipo_ = JsonTipo::Lista;
    resultado.lista_ = lista;
    return resultado;
}

JsonValor JsonValor::Objeto(JsonObjeto objeto) {
    JsonValor resultado;
    resultado.tipo_ = JsonTipo::Objeto;
    resultado.objeto_ = objeto;
    return resultado;
}

std::optional<double> JsonValor::ComoDouble() const {
    const std::string_view* texto = TextoDoNumero();
    if (!texto) return std::nullopt;
    double valor = 0;
    const auto [fim, erro] = std::from_chars(texto->data(), texto->data() + texto->size(), valor);
    if (erro == std::errc::result_out_of_range) {
        const bool negativo = texto->front() == '-';
        const double magnitude =
            OrdemDeGrandeza(*texto) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        return negativo ? -magnitude : magnitude;
    }
    return valor;
}

}  // namespace tessora
