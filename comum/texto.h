#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessora {

// Removes leading and trailing characters with codes 0 to 32, or only the leading ones.
std::string_view AparaBrancos(std::string_view texto);
std::string_view AparaBrancosIniciais(std::string_view texto);

// ASCII letters compared without regard to case; other bytes exactly.
bool IguaisSemCaixaAscii(std::string_view a, std::string_view b);

// A path as the program's UTF-8 text (on Windows its string() is in the system's code page).
std::string TextoCaminho(const std::filesystem::path& caminho);

std::string TrocarTodos(std::string texto, std::string_view de, std::string_view para);

// The text on one line, each run of line breaks as " / " and trailing ones dropped: a reason
// that spans lines (an error page, a database message) would break a table's columns.
std::string NumaLinha(std::string texto);

}  // namespace tessora
