#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessora {

// The lines of an INI file as Windows' private-profile functions see them. The reader and the
// writer share these rules, so that a value written is the value read back, whatever else the
// file holds (a block of NUL bytes left by a crash included: NUL counts as a blank).

// One line with its own line end ("\r\n", "\r", "\n", or none on the last line).
struct LinhaIni {
    std::string texto;
    std::string fim;
};

std::vector<LinhaIni> DividirLinhasIni(std::string_view conteudo);

// The section name of a "[name]" line, trimmed; nothing for any other line.
std::optional<std::string_view> NomeSecaoIni(std::string_view linha);

// The key of a "key=value" line, trimmed. A line without "=" names a key too, one that a write
// of that key replaces.
std::string_view NomeChaveIni(std::string_view linha);

// The value of a "key=value" line: trimmed, then one pair of surrounding quotes (single or
// double, the same at both ends) dropped. Nothing for a line without "=": its key reads as
// absent.
std::optional<std::string_view> ValorIni(std::string_view linha);

}  // namespace tessora
