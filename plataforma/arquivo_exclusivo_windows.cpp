#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <system_error>

#include "plataforma/arquivo_exclusivo.h"

namespace tessora::plataforma {

namespace {
[[noreturn]] void LancarErroSistema(DWORD erro, const std::filesystem::path& caminho) {
    throw std::system_error(static_cast<int>(erro), std::system_category(), caminho.string());
}

HANDLE Manipulador(int descritor) { return reinterpret_cast<HANDLE>(_get_osfhandle(descritor)); }
}  // namespace

// Opened without sharing, the file is this process's alone until it closes it or ends:
// another copy's open fails with a sharing violation, a leftover opens normally.
std::optional<ArquivoExclusivo> ArquivoExclusivo::Abrir(const std::filesystem::path& caminho) {
    const HANDLE arquivo = CreateFileW(caminho.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (arquivo == INVALID_HANDLE_VALUE) {
        const DWORD erro = GetLastError();
        if (erro == ERROR_SHARING_VIOLATION) return std::nullopt;
        LancarErroSistema(erro, caminho);
    }
    const int descritor = _open_osfhandle(reinterpret_cast<intptr_t>(arquivo), _O_RDWR | _O_BINARY);
    if (descritor < 0) {
        CloseHandle(arquivo);
        LancarErroSistema(ERROR_TOO_MANY_OPEN_FILES, caminho);
    }
    return ArquivoExclusivo(caminho, descritor);
}

ArquivoExclusivo::ArquivoExclusivo(ArquivoExclusivo&& outro) noexcept
    : caminho_(std::move(outro.caminho_)), descritor_(outro.descritor_) {
    outro.descritor_ = -1;
}

ArquivoExclusivo::~ArquivoExclusivo() {
    if (descritor_ >= 0) _close(descritor_);
}

void ArquivoExclusivo::Gravar(std::string_view conteudo) {
    const HANDLE arquivo = Manipulador(descritor_);
    LARGE_INTEGER inicio{};
    if (!SetFilePointerEx(arquivo, inicio, nullptr, FILE_BEGIN) || !SetEndOfFile(arquivo)) {
        LancarErroSistema(GetLastError(), caminho_);
    }
    for (size_t gravado = 0; gravado < conteudo.size();) {
        DWORD n = 0;
        if (!WriteFile(arquivo, conteudo.data() + gravado,
                       static_cast<DWORD>(conteudo.size() - gravado), &n, nullptr)) {
            LancarErroSistema(GetLastError(), caminho_);
        }
        gravado += n;
    }
}

void ArquivoExclusivo::Apagar() {
    if (descritor_ < 0) return;
    // An open file cannot be deleted here: it goes right after it is let go.
    _close(descritor_);
    descritor_ = -1;
    DeleteFileW(caminho_.c_str());  // a failed deletion is ignored, as for any leftover
}

}  // namespace tessora::plataforma
