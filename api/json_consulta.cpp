#include "api/json_consulta.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "comum/texto.h"

namespace tessora {

namespace {

constexpr int kDigitosSignificativos = 15;
// Decimal exponent of the smallest magnitude still written in fixed notation (0.00001).
constexpr int kMenorExpoenteFixo = -5;

}  // namespace

const JsonValor* JsonValorPorNome(const JsonObjeto* objeto, std::string_view nome) {
    if (!objeto) return nullptr;
    for (const JsonMembro& membro : objeto->Membros()) {
        if (IguaisSemCaixaAscii(membro.nome, nome)) return &membro.valor;
    }
    return nullptr;
}

const JsonValor* JsonValorPorNome(const JsonObjeto& objeto, std::string_view nome) {
    return JsonValorPorNome(&objeto, nome);
}

const JsonValor* JsonValorPorNome(const std::optional<JsonDocumento>& documento,
                                  std::string_view nome) {
    return JsonValorPorNome(documento ? &*documento : nullptr, nome);
}

std::string JsonTextoPorNome(const JsonObjeto* objeto, std::string_view nome) {
    const JsonValor* valor = JsonValorPorNome(objeto, nome);
    if (!valor) return {};
    if (const auto texto = valor->ComoTexto()) return std::string(*texto);
    if (const auto numero = valor->ComoDouble()) return TextoDeNumero(*numero);
    return {};
}

std::string JsonTextoPorNome(const JsonObjeto& objeto, std::string_view nome) {
    return JsonTextoPorNome(&objeto, nome);
}

std::string JsonTextoPorNome(const std::optional<JsonDocumento>& documento, std::string_view nome) {
    return JsonTextoPorNome(documento ? &*documento : nullptr, nome);
}

bool RespostaComSucesso(const JsonObjeto* resposta) {
    const JsonValor* sucesso = JsonValorPorNome(resposta, "success");
    if (!sucesso) return false;
    if (const auto booleano = sucesso->ComoBooleano()) return *booleano;
    return IguaisSemCaixaAscii(JsonTextoPorNome(resposta, "success"), "true");
}

bool RespostaComSucesso(const JsonObjeto& resposta) { return RespostaComSucesso(&resposta); }

bool RespostaComSucesso(const std::optional<JsonDocumento>& resposta) {
    return RespostaComSucesso(resposta ? &*resposta : nullptr);
}

std::string TextoDeNumero(double valor) {
    if (std::isnan(valor)) return "NAN";
    if (std::isinf(valor)) return valor < 0 ? "-INF" : "INF";
    if (valor == 0) return "0";

    // d.dddddddddddddde±x, correctly rounded to 15 significant digits.
    char cientifica[40];
    const auto [fim, erro] =
        std::to_chars(cientifica, cientifica + sizeof cientifica, std::fabs(valor),
                      std::chars_format::scientific, kDigitosSignificativos - 1);
    const std::string_view texto(cientifica, static_cast<size_t>(fim - cientifica));
    const size_t posE = texto.find('e');
    std::string digitos;
    digitos += texto[0];
    digitos.append(texto.substr(2, posE - 2));
    while (digitos.size() > 1 && digitos.back() == '0') digitos.pop_back();
    const std::string_view textoExpoente = texto.substr(posE + 1);
    const int expoente = std::atoi(std::string(textoExpoente).c_str());

    std::string saida = valor < 0 ? "-" : "";
    if (expoente >= kDigitosSignificativos || expoente < kMenorExpoenteFixo) {
        saida += digitos[0];
        if (digitos.size() > 1) saida.append(",").append(digitos, 1);
        saida += 'E';
        saida += std::to_string(expoente);
    } else if (expoente >= 0) {
        const size_t inteiros = static_cast<size_t>(expoente) + 1;
        if (digitos.size() <= inteiros) {
            saida += digitos;
            saida.append(inteiros - digitos.size(), '0');
        } else {
            saida.append(digitos, 0, inteiros).append(",").append(digitos, inteiros);
        }
    } else {
        saida += "0,";
        saida.append(static_cast<size_t>(-expoente - 1), '0');
        saida += digitos;
    }
    return saida;
}

}  // namespace tessora
