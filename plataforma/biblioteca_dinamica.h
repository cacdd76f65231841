#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tessora::plataforma {

// Why a shared library could not be loaded.
enum class FalhaCarga {
    Nenhuma,
    NaoEncontrada,     // neither in the folder nor in the system's search order
    OutraArquitetura,  // a library of the other bitness than this program's
    Invalida,          // a file of that name that the system does not load as a library
};

struct CargaBiblioteca {
    // The loaded module, null after a failure. It is never unloaded: what its functions
    // hand out may live until the process ends.
    void* modulo = nullptr;
    FalhaCarga falha = FalhaCarga::NaoEncontrada;
    std::filesystem::path caminho;  // the file loaded or refused; empty when none was found
    std::string detalhe;            // the system's reason for a refused file
};

// Loads `nome` from `pasta` when that folder holds it, otherwise from the system's search
// order. A file that exists but does not load is reported with its path and reason.
[[nodiscard]] CargaBiblioteca CarregarBiblioteca(const std::filesystem::path& pasta,
                                                 std::string_view nome);

// The address of an exported function; null when the library has none of that name.
void* EnderecoFuncao(void* modulo, const char* nome);

// The bitness of the binary in the file (32 or 64), read from its header; 0 when the file
// is no executable or library of this system's format.
int BitsBinario(const std::filesystem::path& arquivo);

// Why a file that exists was refused: the other bitness, or no library at all.
FalhaCarga ClassificarRecusa(const std::filesystem::path& arquivo);

constexpr int kBitsPrograma = static_cast<int>(sizeof(void*) * 8);

}  // namespace tessora::plataforma
