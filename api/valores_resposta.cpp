#include "api/valores_resposta.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "comum/codigo_pagina.h"
#include "comum/erros.h"
#include "comum/texto.h"

namespace tessora {

namespace {

constexpr int64_t kCasasDaMoeda = 4;
// Exponents are only compared against digit counts; this keeps the arithmetic far from overflow.
constexpr int64_t kExpoenteSaturado = 1'000'000'000;

bool EhDigito(char c) { return c >= '0' && c <= '9'; }
bool EhBranco(char c) { return static_cast<unsigned char>(c) <= 32; }

// `digitos` × 10^`escala` rounded half away from zero to an integer, or nothing above `limite`.
std::optional<uint64_t> Arredondar(std::string_view digitos, int64_t escala, uint64_t limite) {
    const auto tamanho = static_cast<int64_t>(digitos.size());
    if (escala < 0 && -escala > tamanho) return 0;  // below one half
    const int64_t mantidos = escala < 0 ? tamanho + escala : tamanho;
    const int64_t zeros = escala > 0 ? escala : 0;
    if (mantidos + zeros > 20) return std::nullopt;  // digitos has no leading zeros
    uint64_t valor = 0;
    const auto acrescentar = [&](unsigned digito) {
        if (valor > (limite - digito) / 10) return false;
        valor = valor * 10 + digito;
        return true;
    };
    for (int64_t i = 0; i < mantidos; ++i) {
        if (!acrescentar(static_cast<unsigned>(digitos[static_cast<size_t>(i)] - '0')))
            return std::nullopt;
    }
    for (int64_t i = 0; i < zeros; ++i) {
        if (!acrescentar(0)) return std::nullopt;
    }
    // The first dropped digit decides: 5 and more is at least one half.
    if (mantidos < tamanho && digitos[static_cast<size_t>(mantidos)] >= '5') {
        if (valor == limite) return std::nullopt;
        ++valor;
    }
    return valor;
}

// Nothing when the text does not read as a number; raises when it is one beyond Currency's range.
std::optional<Moeda> LerValor(std::string_view texto) {
    size_t i = 0;
    bool negativo = false;
    if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) negativo = texto[i++] == '-';

    std::string digitos;  // without leading zeros
    int64_t casasDecimais = 0;
    bool temDigito = false;
    bool temSeparador = false;
    for (; i < texto.size(); ++i) {
        const char c = texto[i];
        if (EhDigito(c)) {
            temDigito = true;
            if (!digitos.empty() || c != '0') digitos += c;
            if (temSeparador) ++casasDecimais;
        } else if (c == ',' && !temSeparador) {
            temSeparador = true;
        } else {
            break;
        }
    }
    if (!temDigito) return std::nullopt;

    int64_t expoente = 0;
    if (i < texto.size() && (texto[i] == 'e' || texto[i] == 'E')) {
        ++i;
        bool expoenteNegativo = false;
        if (i < texto.size() && (texto[i] == '+' || texto[i] == '-'))
            expoenteNegativo = texto[i++] == '-';
        if (i >= texto.size() || !EhDigito(texto[i])) return std::nullopt;
        for (; i < texto.size() && EhDigito(texto[i]); ++i) {
            if (expoente < kExpoenteSaturado) expoente = expoente * 10 + (texto[i] - '0');
        }
        if (expoenteNegativo) expoente = -expoente;
    }
    if (i != texto.size()) return std::nullopt;
    if (digitos.empty()) return Moeda();

    // Currency spans -2^63 to 2^63-1 ten-thousandths.
    const uint64_t limite =
        static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negativo ? 1 : 0);
    const auto magnitude = Arredondar(digitos, expoente - casasDecimais + kCasasDaMoeda, limite);
    if (!magnitude) throw ErroConversao("Valor fora do limite da moeda: " + std::string(texto));
    const int64_t decimilesimos =
        negativo ? static_cast<int64_t>(0 - *magnitude) : static_cast<int64_t>(*magnitude);
    return Moeda::DeDecimilesimos(decimilesimos);
}

// Digits at texto[pos], between `minimo` and `maximo` of them.
std::optional<int> LerNumero(std::string_view texto, size_t& pos, size_t minimo, size_t maximo) {
    int valor = 0;
    size_t lidos = 0;
    while (pos < texto.size() && EhDigito(texto[pos]) && lidos < maximo) {
        valor = valor * 10 + (texto[pos++] - '0');
        ++lidos;
    }
    if (lidos < minimo || (pos < texto.size() && EhDigito(texto[pos]))) return std::nullopt;
    return valor;
}

std::optional<Data> LerData(std::string_view texto) {
    size_t pos = 0;
    while (pos < texto.size() && EhBranco(texto[pos])) ++pos;
    const auto ano = LerNumero(texto, pos, 4, 4);
    if (!ano || pos >= texto.size() || texto[pos++] != '-') return std::nullopt;
    const auto mes = LerNumero(texto, pos, 1, 2);
    if (!mes || pos >= texto.size() || texto[pos++] != '-') return std::nullopt;
    const auto dia = LerNumero(texto, pos, 1, 2);
    if (!dia) return std::nullopt;
    while (pos < texto.size() && EhBranco(texto[pos])) ++pos;
    if (pos != texto.size()) return std::nullopt;
    return Data::DeAnoMesDia(*ano, static_cast<unsigned>(*mes), static_cast<unsigned>(*dia));
}

// The first `quantos` characters (not bytes) of a UTF-8 text.
std::string_view PrimeirosCaracteres(std::string_view texto, size_t quantos) {
    size_t pos = 0;
    for (size_t n = 0; n < quantos && pos < texto.size(); ++n) {
        const auto sequencia = LerSequenciaUtf8(texto, pos);
        pos += sequencia ? sequencia->tamanho : 1;
    }
    return texto.substr(0, pos);
}

}  // namespace

Moeda TextoParaValor(std::string_view texto) {
    const std::string comVirgula = TrocarTodos(std::string(AparaBrancos(texto)), ".", ",");
    return LerValor(comVirgula).value_or(Moeda());
}

Data TextoParaData(std::string_view texto) {
    if (AparaBrancos(texto).empty()) return Data();
    return LerData(PrimeirosCaracteres(texto, 10)).value_or(Data());
}

}  // namespace tessora
