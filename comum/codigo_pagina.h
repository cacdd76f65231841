#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessora {

// Windows-1252 is the code page of the ERP's database texts and INI files; the program
// itself holds UTF-8.

// The Windows-1252 byte of a code point, or nothing when the code page lacks it.
std::optional<char> Win1252DeCodigo(char32_t codigo);
char32_t CodigoDeWin1252(unsigned char byte);

// Characters the code page lacks become "?"; a byte that is no valid UTF-8 becomes "?" too.
std::string Utf8ParaWin1252(std::string_view utf8);
std::string Win1252ParaUtf8(std::string_view win1252);
// ISO-8859-1: each byte is the character of its code.
std::string Latin1ParaUtf8(std::string_view latin1);

// Decodes one UTF-8 sequence at texto[pos]; returns its length and code point, or nothing
// when the bytes there do not form a valid (shortest-form, non-surrogate) sequence.
struct SequenciaUtf8 {
    char32_t codigo;
    size_t tamanho;
};
std::optional<SequenciaUtf8> LerSequenciaUtf8(std::string_view texto, size_t pos);
void AcrescentarUtf8(std::string& destino, char32_t codigo);

}  // namespace tessora
