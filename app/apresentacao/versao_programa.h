#pragma once

#include <filesystem>
#include <string>

namespace tessora::app {

// "Versão: " and the executable's last-write time in local time, "dd/mm/yyyy hh:mm": the
// build the operator runs, not the moment it started.
std::string TextoVersao(const std::filesystem::path& executavel);

}  // namespace tessora::app
