#pragma once

#include <filesystem>
#include <string>

namespace tessora::manutencao {

// The file's last-write time in local time, at the two-second resolution of the packed
// date-time form of the file system, as "dd/mm/yyyy hh:mm:ss" (the date alone at exactly
// midnight). Empty when the file cannot be examined or its time has no packed form
// (before 1980, after 2107).
std::string TextoDataArquivo(const std::filesystem::path& caminho);

}  // namespace tessora::manutencao
