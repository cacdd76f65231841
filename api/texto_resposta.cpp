#include "api/texto_resposta.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "api/melhor_ajuste.h"
#include "comum/codigo_pagina.h"

namespace tessora {

namespace {

// "â€" in UTF-8.
constexpr std::string_view kAEuroUtf8 = "\xC3\xA2\xE2\x82\xAC";

bool EhAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

const char* FimDoTrechoAscii(const char* p, const char* fim) {
    constexpr uint64_t kBitsAltos = 0x8080808080808080ull;
    while (fim - p >= 8) {
        uint64_t bloco;
        std::memcpy(&bloco, p, 8);
        if (const uint64_t altos = bloco & kBitsAltos) {
            if constexpr (std::endian::native == std::endian::little)
                return p + std::countr_zero(altos) / 8;
            break;
        }
        p += 8;
    }
    while (p < fim && EhAscii(*p)) ++p;
    return p;
}

char ParaWin1252SemTabela(char32_t codigo) {
    if (const auto byte = Win1252DeCodigo(codigo)) return *byte;
    if (const auto base = LetraSemDiacriticos(codigo)) {
        if (const auto byte = Win1252DeCodigo(*base)) return *byte;
    }
    return '?';
}

char DobrarParaAsciiSemTabela(char32_t codigo) {
    if (codigo < 0x80) return static_cast<char>(codigo);
    const auto base = LetraSemDiacriticos(codigo);
    return base && *base < 0x80 ? static_cast<char>(*base) : '?';
}

// Characters up to the general punctuation block (Latin letters, Greek, Cyrillic, the dashes and
// quotes of Windows-1252) are looked up instead of searched and decomposed each time.
constexpr char32_t kTamanhoTabela = 0x2200;

struct Tabelas {
    std::array<char, kTamanhoTabela> win1252PorCodigo;
    std::array<char, kTamanhoTabela> asciiPorCodigo;
    std::array<char, 256> asciiPorByteWin1252;
};

const Tabelas& TabelasDeConversao() {
    static const Tabelas tabelas = [] {
        Tabelas t{};
        for (char32_t c = 0; c < kTamanhoTabela; ++c) {
            t.win1252PorCodigo[c] = ParaWin1252SemTabela(c);
            t.asciiPorCodigo[c] = DobrarParaAsciiSemTabela(c);
        }
        for (unsigned b = 0; b < 256; ++b) {
            t.asciiPorByteWin1252[b] =
                DobrarParaAsciiSemTabela(CodigoDeWin1252(static_cast<unsigned char>(b)));
        }
        return t;
    }();
    return tabelas;
}

char ParaWin1252(const Tabelas& tabelas, char32_t codigo) {
    return codigo < kTamanhoTabela ? tabelas.win1252PorCodigo[codigo]
                                   : ParaWin1252SemTabela(codigo);
}

char DobrarParaAscii(const Tabelas& tabelas, char32_t codigo) {
    return codigo < kTamanhoTabela ? tabelas.asciiPorCodigo[codigo]
                                   : DobrarParaAsciiSemTabela(codigo);
}

// Drops "â€" and converts UTF-8 to Windows-1252 bytes, from `pos` on, writing at `saida` until
// `limite` is reached (a step may pass it by one byte) or the text ends. Returns the position
// reached in the text; `saida` advances past what was written.
size_t Utf8ParaWin1252SemAEuro(std::string_view texto, size_t pos, char*& saida,
                               const char* limite) {
    const Tabelas& tabelas = TabelasDeConversao();
    const char* const fim = texto.data() + texto.size();
    while (pos < texto.size() && saida < limite) {
        const char* p = texto.data() + pos;
        const size_t ascii = static_cast<size_t>(
            FimDoTrechoAscii(p, p + std::min<ptrdiff_t>(fim - p, limite - saida)) - p);
        std::memcpy(saida, p, ascii);
        saida += ascii;
        pos += ascii;
        if (pos == texto.size() || EhAscii(texto[pos])) continue;
        if (texto[pos] == kAEuroUtf8[0] && pos + 1 < texto.size() &&
            texto[pos + 1] == kAEuroUtf8[1] &&
            texto.compare(pos, kAEuroUtf8.size(), kAEuroUtf8) == 0) {
            pos += kAEuroUtf8.size();
            continue;
        }
        const auto sequencia = LerSequenciaUtf8(texto, pos);
        if (!sequencia) {
            *saida++ = '?';
            ++pos;
            continue;
        }
        *saida++ = ParaWin1252(tabelas, sequencia->codigo);
        pos += sequencia->tamanho;
    }
    return pos;
}

// Reads Windows-1252 bytes as UTF-8 and folds the characters to ASCII, writing at `saida`.
// Unless `ultimo`, stops before the last three bytes when they could begin a sequence that the
// next batch completes. Returns the number of bytes consumed.
size_t Win1252ComoUtf8ParaAscii(std::string_view bytes, bool ultimo, char*& saida) {
    const Tabelas& tabelas = TabelasDeConversao();
    const char* const fim = bytes.data() + bytes.size();
    size_t pos = 0;
    while (pos < bytes.size()) {
        const char* p = bytes.data() + pos;
        const size_t ascii = static_cast<size_t>(FimDoTrechoAscii(p, fim) - p);
        std::memcpy(saida, p, ascii);
        saida += ascii;
        pos += ascii;
        if (pos == bytes.size()) break;
        if (!ultimo && bytes.size() - pos < 4) break;
        if (const auto sequencia = LerSequenciaUtf8(bytes, pos)) {
            *saida++ = DobrarParaAscii(tabelas, sequencia->codigo);
            pos += sequencia->tamanho;
        } else {
            *saida++ = tabelas.asciiPorByteWin1252[static_cast<unsigned char>(bytes[pos])];
            ++pos;
        }
    }
    return pos;
}

// The intermediate Windows-1252 bytes pass through a small buffer that stays in cache.
constexpr size_t kTamanhoLote = 64 * 1024;

}  // namespace

std::string TextoRespostaParaAscii(std::string_view texto, size_t folgaAoFim) {
    std::string saida;
    saida.reserve(texto.size() + folgaAoFim);
    if (FimDoTrechoAscii(texto.data(), texto.data() + texto.size()) ==
        texto.data() + texto.size()) {
        saida.append(texto);
        return saida;
    }
    // No step makes the text longer: each character gives at most one byte.
    saida.resize(texto.size());
    char* escrita = saida.data();
    const auto lote = std::make_unique_for_overwrite<char[]>(kTamanhoLote + 8);
    size_t pendentes = 0;  // bytes of the batch left for the next one
    size_t pos = 0;
    while (pos < texto.size()) {
        char* fimLote = lote.get() + pendentes;
        pos = Utf8ParaWin1252SemAEuro(texto, pos, fimLote, lote.get() + kTamanhoLote);
        const std::string_view bytes(lote.get(), static_cast<size_t>(fimLote - lote.get()));
        const size_t consumidos = Win1252ComoUtf8ParaAscii(bytes, pos == texto.size(), escrita);
        pendentes = bytes.size() - consumidos;
        std::memmove(lote.get(), lote.get() + consumidos, pendentes);
    }
    saida.resize(static_cast<size_t>(escrita - saida.data()));
    return saida;
}

}  // namespace tessora
