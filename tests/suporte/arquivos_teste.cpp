#include "arquivos_teste.h"

#include <fstream>
#include <stdexcept>

namespace tessora::testes {

void GravarArquivo(const std::filesystem::path& caminho, std::string_view conteudo) {
    std::filesystem::create_directories(caminho.parent_path());
    std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
    arquivo.write(conteudo.data(), static_cast<std::streamsize>(conteudo.size()));
    if (!arquivo) throw std::runtime_error("não gravou " + caminho.string());
}

}  // namespace tessora::testes
