#include <unistd.h>

#include <system_error>

#include "comum/texto.h"
#include "plataforma/sistema.h"

namespace tessora::plataforma {

std::string_view SufixoExecutavel() { return ""; }

char SeparadorPasta() { return '/'; }

std::string_view SeparadoresPasta() { return "/"; }

std::filesystem::path CaminhoExecutavel() {
    return std::filesystem::read_symlink("/proc/self/exe");
}

std::filesystem::path PastaPrograma() { return CaminhoExecutavel().parent_path(); }

std::optional<std::filesystem::path> LocalizarArquivo(const std::filesystem::path& caminho) {
    std::error_code erro;
    if (caminho.empty()) return std::nullopt;
    if (std::filesystem::is_regular_file(caminho, erro)) return caminho;
    const auto pasta =
        caminho.has_parent_path() ? caminho.parent_path() : std::filesystem::path(".");
    const std::string nome = caminho.filename().string();
    for (std::filesystem::directory_iterator it(pasta, erro), fim; !erro && it != fim;
         it.increment(erro)) {
        if (IguaisSemCaixaAscii(it->path().filename().string(), nome) &&
            it->is_regular_file(erro)) {
            return it->path();
        }
    }
    return std::nullopt;
}

}  // namespace tessora::plataforma
