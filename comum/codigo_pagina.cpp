#include "codigo_pagina.h"

#include <array>

namespace tessora {

namespace {
// Code points of the bytes 0x80 to 0x9F; 0 marks the five bytes that Windows-1252 leaves undefined.
constexpr std::array<char32_t, 32> kFaixa80a9F = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

std::optional<char> Win1252DeCodigo(char32_t codigo) {
    if (codigo < 0x80 || (codigo >= 0xA0 && codigo <= 0xFF)) return static_cast<char>(codigo);
    // The exact inverse of CodigoDeWin1252, the C1 controls of the undefined bytes included:
    // UTF-8 read one character per byte then comes back whole ("Á" is C3 81).
    for (unsigned byte = 0x80; byte <= 0x9F; ++byte) {
        if (CodigoDeWin1252(static_cast<unsigned char>(byte)) == codigo) {
            return static_cast<char>(byte);
        }
    }
    return std::nullopt;
}

char32_t CodigoDeWin1252(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        // The undefined bytes map to the C1 control of the same value, as Windows does.
        const char32_t codigo = kFaixa80a9F[byte - 0x80];
        return codigo != 0 ? codigo : byte;
    }
    return byte;
}

std::optional<SequenciaUtf8> LerSequenciaUtf8(std::string_view texto, size_t pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(texto[i]); };
    const unsigned char b0 = byte(pos);
    if (b0 < 0x80) return SequenciaUtf8{b0, 1};
    size_t tamanho;
    char32_t codigo;
    char32_t minimo;
    if ((b0 & 0xE0) == 0xC0) {
        tamanho = 2, codigo = b0 & 0x1F, minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        tamanho = 3, codigo = b0 & 0x0F, minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        tamanho = 4, codigo = b0 & 0x07, minimo = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + tamanho > texto.size()) return std::nullopt;
    for (size_t i = 1; i < tamanho; ++i) {
        const unsigned char b = byte(pos + i);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        codigo = (codigo << 6) | (b & 0x3F);
    }
    if (codigo < minimo || codigo > 0x10FFFF || (codigo >= 0xD800 && codigo <= 0xDFFF)) {
        return std::nullopt;
    }
    return SequenciaUtf8{codigo, tamanho};
}

void AcrescentarUtf8(std::string& destino, char32_t codigo) {
    if (codigo < 0x80) {
        destino += static_cast<char>(codigo);
    } else if (codigo < 0x800) {
        destino += static_cast<char>(0xC0 | (codigo >> 6));
        destino += static_cast<char>(0x80 | (codigo & 0x3F));
    } else if (codigo < 0x10000) {
        destino += static_cast<char>(0xE0 | (codigo >> 12));
        destino += static_cast<char>(0x80 | ((codigo >> 6) & 0x3F));
        destino += static_cast<char>(0x80 | (codigo & 0x3F));
    } else {
        destino += static_cast<char>(0xF0 | (codigo >> 18));
        destino += static_cast<char>(0x80 | ((codigo >> 12) & 0x3F));
        destino += static_cast<char>(0x80 | ((codigo >> 6) & 0x3F));
        destino += static_cast<char>(0x80 | (codigo & 0x3F));
    }
}

std::string Utf8ParaWin1252(std::string_view utf8) {
    std::string saida;
    saida.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        const auto seq = LerSequenciaUtf8(utf8, pos);
        if (!seq) {
            saida += '?';
            ++pos;
            continue;
        }
        saida += Win1252DeCodigo(seq->codigo).value_or('?');
        pos += seq->tamanho;
    }
    return saida;
}

std::string Win1252ParaUtf8(std::string_view win1252) {
    std::string saida;
    saida.reserve(win1252.size() + win1252.size() / 8);
    for (const char c : win1252)
        AcrescentarUtf8(saida, CodigoDeWin1252(static_cast<unsigned char>(c)));
    return saida;
}

std::string Latin1ParaUtf8(std::string_view latin1) {
    std::string saida;
    saida.reserve(latin1.size() + latin1.size() / 8);
    for (const char c : latin1) AcrescentarUtf8(saida, static_cast<unsigned char>(c));
    return saida;
}

}  // namespace tessora
