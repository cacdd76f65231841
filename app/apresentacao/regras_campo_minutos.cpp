#include "app/apresentacao/regras_campo_minutos.h"

#include <algorithm>
#include <vector>

#include "app/servico/intervalo_sincronizacao.h"
#include "comum/inteiros.h"

namespace tessora::app {

namespace {
// The characters of a UTF-8 text other than the digits, each as its bytes.
std::vector<std::string_view> OutrosCaracteres(std::string_view texto) {
    std::vector<std::string_view> caracteres;
    for (size_t inicio = 0; inicio < texto.size();) {
        size_t fim = inicio + 1;
        while (fim < texto.size() && (static_cast<unsigned char>(texto[fim]) & 0xC0) == 0x80) {
            ++fim;
        }
        const std::string_view caractere = texto.substr(inicio, fim - inicio);
        if (caractere.size() != 1 || caractere[0] < '0' || caractere[0] > '9') {
            caracteres.push_back(caractere);
        }
        inicio = fim;
    }
    return caracteres;
}
}  // namespace

int32_t MinutosDoCampo(std::string_view texto) { return InteiroAposBrancos(texto).value_or(0); }

std::string MinutosAposPassos(std::string_view texto, int passos) {
    const int64_t novo = int64_t{MinutosDoCampo(texto)} + passos;
    return std::to_string(std::clamp<int64_t>(novo, 0, kMinutosMaximos));
}

bool PodeSubirMinutos(std::string_view texto) { return MinutosDoCampo(texto) < kMinutosMaximos; }

bool PodeDescerMinutos(std::string_view texto) { return MinutosDoCampo(texto) > 0; }

bool EdicaoMinutosAceita(std::string_view anterior, std::string_view editado) {
    // What is left of the other characters must be some of those before, in their order.
    const auto antes = OutrosCaracteres(anterior);
    const auto depois = OutrosCaracteres(editado);
    size_t i = 0;
    for (const std::string_view caractere : antes) {
        if (i < depois.size() && depois[i] == caractere) ++i;
    }
    return i == depois.size();
}

}  // namespace tessora::app
