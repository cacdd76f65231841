#include <windows.h>

#include <system_error>
#include <vector>

#include "plataforma/sistema.h"

namespace tessora::plataforma {

std::string_view SufixoExecutavel() { return ".exe"; }

char SeparadorPasta() { return '\\'; }

std::string_view SeparadoresPasta() { return "\\/"; }

std::filesystem::path CaminhoExecutavel() {
    std::vector<wchar_t> caminho(MAX_PATH);
    for (;;) {
        const DWORD tamanho =
            GetModuleFileNameW(nullptr, caminho.data(), static_cast<DWORD>(caminho.size()));
        if (tamanho == 0)
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
        if (tamanho < caminho.size())
            return std::filesystem::path(std::wstring(caminho.data(), tamanho));
        caminho.resize(caminho.size() * 2);
    }
}

std::filesystem::path PastaPrograma() { return CaminhoExecutavel().parent_path(); }

// The file system itself finds names without regard to case.
std::optional<std::filesystem::path> LocalizarArquivo(const std::filesystem::path& caminho) {
    std::error_code erro;
    if (caminho.empty() || !std::filesystem::is_regular_file(caminho, erro)) return std::nullopt;
    return caminho;
}

}  // namespace tessora::plataforma
