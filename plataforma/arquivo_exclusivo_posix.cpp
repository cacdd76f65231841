#include "plataforma/arquivo_exclusivo.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tessora::plataforma {

namespace {
[[noreturn]] void LancarErroSistema(const std::filesystem::path& caminho) {
    throw std::system_error(errno, std::generic_category(), caminho.string());
}
}  // namespace

std::optional<ArquivoExclusivo> ArquivoExclusivo::Abrir(const std::filesystem::path& caminho) {
    const int descritor = ::open(caminho.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0664);
    if (descritor < 0) LancarErroSistema(caminho);
    if (::flock(descritor, LOCK_EX | LOCK_NB) != 0) {
        const int erro = errno;
        ::close(descritor);
        if (erro == EWOULDBLOCK) return std::nullopt;
        errno = erro;
        LancarErroSistema(caminho);
    }
    return ArquivoExclusivo(caminho, descritor);
}

ArquivoExclusivo::ArquivoExclusivo(ArquivoExclusivo&& outro) noexcept
    : caminho_(std::move(outro.caminho_)), descritor_(outro.descritor_) {
    outro.descritor_ = -1;
}

ArquivoExclusivo::~ArquivoExclusivo() {
    if (descritor_ >= 0) ::close(descritor_);
}

void ArquivoExclusivo::Gravar(std::string_view conteudo) {
    if (::ftruncate(descritor_, 0) != 0) LancarErroSistema(caminho_);
    for (size_t gravado = 0; gravado < conteudo.size();) {
        const ssize_t n = ::pwrite(descritor_, conteudo.data() + gravado, conteudo.size() - gravado,
                                   static_cast<off_t>(gravado));
        if (n < 0) LancarErroSistema(caminho_);
        gravado += static_cast<size_t>(n);
    }
}

void ArquivoExclusivo::Apagar() {
    if (descritor_ < 0) return;
    ::unlink(caminho_.c_str());  // a failed deletion is ignored, as for any leftover
    ::close(descritor_);
    descritor_ = -1;
}

}  // namespace tessora::plataforma
