#include <windows.h>

#include <cstdint>
#include <fstream>
#include <system_error>
#include <vector>

#include "plataforma/biblioteca_dinamica.h"
#include "plataforma/texto_windows.h"

namespace tessora::plataforma {

namespace {
std::string MensagemSistema(DWORD codigo) {
    wchar_t* texto = nullptr;
    const DWORD tamanho = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, codigo, 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
    std::wstring mensagem(texto ? texto : L"", tamanho);
    LocalFree(texto);
    while (!mensagem.empty() && (mensagem.back() == L'\n' || mensagem.back() == L'\r' ||
                                 mensagem.back() == L' ' || mensagem.back() == L'.')) {
        mensagem.pop_back();
    }
    return mensagem.empty() ? "erro " + std::to_string(codigo) : Utf8(mensagem);
}

std::filesystem::path CaminhoModulo(HMODULE modulo) {
    std::vector<wchar_t> caminho(MAX_PATH);
    for (;;) {
        const DWORD tamanho =
            GetModuleFileNameW(modulo, caminho.data(), static_cast<DWORD>(caminho.size()));
        if (tamanho == 0) return {};
        if (tamanho < caminho.size()) return std::wstring(caminho.data(), tamanho);
        caminho.resize(caminho.size() * 2);
    }
}

// A file that is no image makes the system ask the user in a box unless told not to.
HMODULE Carregar(const wchar_t* alvo, DWORD opcoes) {
    DWORD modoAnterior = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &modoAnterior);
    HMODULE modulo = LoadLibraryExW(alvo, nullptr, opcoes);
    const DWORD erro = GetLastError();
    SetThreadErrorMode(modoAnterior, nullptr);
    SetLastError(erro);
    return modulo;
}

CargaBiblioteca Recusa(const std::filesystem::path& arquivo, DWORD codigo) {
    return {nullptr, ClassificarRecusa(arquivo), arquivo, MensagemSistema(codigo)};
}
}  // namespace

CargaBiblioteca CarregarBiblioteca(const std::filesystem::path& pasta, std::string_view nome) {
    const std::wstring nomeArquivo = Utf16(nome);
    const auto local = std::filesystem::absolute(pasta / nomeArquivo);
    std::error_code erro;
    if (std::filesystem::is_regular_file(local, erro)) {
        // Its own dependencies are looked for beside it first.
        if (HMODULE modulo = Carregar(local.c_str(), LOAD_WITH_ALTERED_SEARCH_PATH)) {
            return {modulo, FalhaCarga::Nenhuma, local, {}};
        }
        return Recusa(local, GetLastError());
    }
    if (HMODULE modulo = Carregar(nomeArquivo.c_str(), 0)) {
        return {modulo, FalhaCarga::Nenhuma, CaminhoModulo(modulo), {}};
    }
    const DWORD codigo = GetLastError();
    std::vector<wchar_t> achado(MAX_PATH);
    const DWORD tamanho = SearchPathW(nullptr, nomeArquivo.c_str(), nullptr,
                                      static_cast<DWORD>(achado.size()), achado.data(), nullptr);
    if (tamanho == 0 || tamanho >= achado.size()) {
        return {nullptr, FalhaCarga::NaoEncontrada, {}, MensagemSistema(codigo)};
    }
    return Recusa(std::wstring(achado.data(), tamanho), codigo);
}

void* EnderecoFuncao(void* modulo, const char* nome) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(modulo), nome));
}

int BitsBinario(const std::filesystem::path& arquivo) {
    std::ifstream entrada(arquivo, std::ios::binary);
    char mz[2] = {};
    uint32_t inicioPe = 0;
    char assinatura[4] = {};
    uint16_t maquina = 0;
    if (!entrada.read(mz, sizeof mz) || mz[0] != 'M' || mz[1] != 'Z') return 0;
    if (!entrada.seekg(0x3C) || !entrada.read(reinterpret_cast<char*>(&inicioPe), sizeof inicioPe))
        return 0;
    if (!entrada.seekg(inicioPe) || !entrada.read(assinatura, sizeof assinatura) ||
        std::string_view(assinatura, 4) != std::string_view("PE\0\0", 4) ||
        !entrada.read(reinterpret_cast<char*>(&maquina), sizeof maquina)) {
        return 0;
    }
    switch (maquina) {
        case IMAGE_FILE_MACHINE_I386:
        case IMAGE_FILE_MACHINE_ARMNT:
            return 32;
        case IMAGE_FILE_MACHINE_AMD64:
        case IMAGE_FILE_MACHINE_ARM64:
            return 64;
        default:
            return 0;
    }
}

}  // namespace tessora::plataforma
