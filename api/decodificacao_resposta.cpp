#include "api/decodificacao_resposta.h"

#include "comum/codigo_pagina.h"
#include "comum/texto.h"

#include <simdjson.h>

namespace tessora::api {

namespace {
enum class Charset { utf8, windows1252, latin1 };

Charset CharsetPorNome(std::string_view nome) {
    for (const std::string_view utf8 : {"utf-8", "utf8"}) {
        if (IguaisSemCaixaAscii(nome, utf8)) return Charset::utf8;
    }
    for (const std::string_view win1252 : {"windows-1252", "cp1252", "x-cp1252"}) {
        if (IguaisSemCaixaAscii(nome, win1252)) return Charset::windows1252;
    }
    // ISO-8859-1, US-ASCII (a subset of it) and every name we do not know.
    return Charset::latin1;
}

std::string Utf8ComSubstituicao(std::string_view corpo) {
    // Nearly every answer is valid as it stands: one vectorised pass instead of a walk per byte.
    if (simdjson::validate_utf8(corpo.data(), corpo.size())) return std::string(corpo);
    std::string saida;
    saida.reserve(corpo.size());
    for (size_t pos = 0; pos < corpo.size();) {
        if (const auto sequencia = LerSequenciaUtf8(corpo, pos)) {
            saida.append(corpo.substr(pos, sequencia->tamanho));
            pos += sequencia->tamanho;
        } else {
            AcrescentarUtf8(saida, U'\uFFFD');
            ++pos;
        }
    }
    return saida;
}
}  // namespace

std::string_view CharsetDoTipoConteudo(std::string_view tipoConteudo) {
    size_t inicio = tipoConteudo.find(';');
    while (inicio != std::string_view::npos) {
        const size_t fim = tipoConteudo.find(';', inicio + 1);
        const std::string_view parametro =
            tipoConteudo.substr(inicio + 1, fim == std::string_view::npos ? fim : fim - inicio - 1);
        const size_t igual = parametro.find('=');
        if (igual != std::string_view::npos &&
            IguaisSemCaixaAscii(AparaBrancos(parametro.substr(0, igual)), "charset")) {
            std::string_view valor = AparaBrancos(parametro.substr(igual + 1));
            if (valor.size() >= 2 && valor.front() == '"' && valor.back() == '"') {
                valor = AparaBrancos(valor.substr(1, valor.size() - 2));
            }
            return valor;
        }
        inicio = fim;
    }
    return {};
}

std::string DecodificarCorpoResposta(std::string_view corpo, std::string_view tipoConteudo) {
    switch (CharsetPorNome(CharsetDoTipoConteudo(tipoConteudo))) {
        case Charset::utf8:
            return Utf8ComSubstituicao(corpo);
        case Charset::windows1252:
            return Win1252ParaUtf8(corpo);
        case Charset::latin1:
            break;
    }
    return Latin1ParaUtf8(corpo);
}

}  // namespace tessora::api
