#include <dlfcn.h>

#include <array>
#include <fstream>
#include <system_error>

#include "plataforma/biblioteca_dinamica.h"

namespace tessora::plataforma {

namespace {
// dlerror() is the reason of the last failed call on this thread.
std::string UltimoErro() {
    const char* erro = dlerror();
    return erro ? erro : "";
}

void* Abrir(const char* alvo) { return dlopen(alvo, RTLD_NOW | RTLD_LOCAL); }
}  // namespace

CargaBiblioteca CarregarBiblioteca(const std::filesystem::path& pasta, std::string_view nome) {
    const std::string nomeArquivo(nome);
    const auto local = std::filesystem::absolute(pasta / nomeArquivo);
    std::error_code erro;
    if (std::filesystem::is_regular_file(local, erro)) {
        if (void* modulo = Abrir(local.c_str())) return {modulo, FalhaCarga::Nenhuma, local, {}};
        const std::string detalhe = UltimoErro();
        return {nullptr, ClassificarRecusa(local), local, detalhe};
    }
    if (void* modulo = Abrir(nomeArquivo.c_str())) {
        return {modulo, FalhaCarga::Nenhuma, nomeArquivo, {}};
    }
    return {nullptr, FalhaCarga::NaoEncontrada, {}, UltimoErro()};
}

void* EnderecoFuncao(void* modulo, const char* nome) { return dlsym(modulo, nome); }

int BitsBinario(const std::filesystem::path& arquivo) {
    std::array<char, 5> cabecalho{};
    std::ifstream entrada(arquivo, std::ios::binary);
    if (!entrada.read(cabecalho.data(), cabecalho.size())) return 0;
    if (std::string_view(cabecalho.data(), 4) !=
        "\x7f"
        "ELF")
        return 0;
    switch (cabecalho[4]) {  // EI_CLASS
        case 1:
            return 32;
        case 2:
            return 64;
        default:
            return 0;
    }
}

}  // namespace tessora::plataforma
