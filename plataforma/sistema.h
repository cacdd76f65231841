#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessora::plataforma {

// The suffix of executables on this system: ".exe" on Windows, none here.
std::string_view SufixoExecutavel();
char SeparadorPasta();
// Every character that separates folders in a path: the one above and, on Windows, "/" too.
std::string_view SeparadoresPasta();

std::filesystem::path CaminhoExecutavel();
// The folder of the running executable, without trailing separator.
std::filesystem::path PastaPrograma();

// Finds a file whose name Windows would match regardless of letter case: the exact path
// when it exists, otherwise an entry of the same folder whose name equals ignoring ASCII case.
std::optional<std::filesystem::path> LocalizarArquivo(const std::filesystem::path& caminho);

}  // namespace tessora::plataforma
