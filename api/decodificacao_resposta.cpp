#include "api/decodificacao_resposta.h"

#include <simdjson.h>

#include "comum/codigo_pagina.h"
#include "comum/texto.h"

namespace tessora::api {

namespace {
enum class Charset { utf8, windows1252, latin1, nenhum };

constexpr std::string_view kMarcaOrdemBytesUtf8 = "\xEF\xBB\xBF";

Charset CharsetPorNome(std::string_view nome) {
    for (const std::string_view utf8 : {"utf-8", "utf8"}) {
        if (IguaisSemCaixaAscii(nome, utf8)) return Charset::utf8;
    }
    for (const std::string_view win1252 : {"windows-1252", "cp1252", "x-cp1252"}) {
        if (IguaisSemCaixaAscii(nome, win1252)) return Charset::windows1252;
    }
    for (const std::string_view latin1 : {"iso-8859-1", "iso8859-1", "latin1", "us-ascii"}) {
        if (IguaisSemCaixaAscii(nome, latin1)) return Charset::latin1;
    }
    return Charset::nenhum;  // none, or one we do not know
}

// Valid sequences stay as they are; each other byte becomes the character `substituto` gives.
template <typename Substituto>
std::string Utf8Substituindo(std::string_view corpo, Substituto substituto) {
    // Nearly every answer is valid as it stands: one vectorised pass instead of a walk per byte.
    if (simdjson::validate_utf8(corpo.data(), corpo.size())) return std::string(corpo);
    std::string saida;
    saida.reserve(corpo.size());
    for (size_t pos = 0; pos < corpo.size();) {
        if (const auto sequencia = LerSequenciaUtf8(corpo, pos)) {
            saida.append(corpo.substr(pos, sequencia->tamanho));
            pos += sequencia->tamanho;
        } else {
            AcrescentarUtf8(saida, substituto(static_cast<unsigned char>(corpo[pos])));
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
    // JSON lets a reader ignore a leading byte order mark; kept, it would make the answer
    // unreadable.
    if (corpo.starts_with(kMarcaOrdemBytesUtf8)) corpo.remove_prefix(kMarcaOrdemBytesUtf8.size());
    switch (CharsetPorNome(CharsetDoTipoConteudo(tipoConteudo))) {
        case Charset::utf8:
            return Utf8Substituindo(corpo, [](unsigned char) { return U'\uFFFD'; });
        case Charset::windows1252:
            return Win1252ParaUtf8(corpo);
        case Charset::latin1:
            return Latin1ParaUtf8(corpo);
        case Charset::nenhum:
            break;
    }
    // Undeclared text is read as UTF-8 whenever it is: read one character per byte, the second
    // byte of the capitals from "À" to "ß" is a C1 control that no later step can bring back.
    // A byte that is no valid UTF-8 keeps its Windows-1252 character.
    return Utf8Substituindo(corpo, CodigoDeWin1252);
}

}  // namespace tessora::api
