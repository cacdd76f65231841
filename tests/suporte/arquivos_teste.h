#pragma once

#include <filesystem>
#include <string_view>

namespace tessora::testes {

// Writes the bytes as given, creating the folders on the way.
void GravarArquivo(const std::filesystem::path& caminho, std::string_view conteudo);

}  // namespace tessora::testes
