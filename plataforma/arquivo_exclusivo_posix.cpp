#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "plataforma/arquivo_exclusivo.h"

namespace tessora::plataforma {

namespace {
[[noreturn]] void LancarErroSistema(const std::filesystem::path& caminho, int erro = errno) {
    throw std::system_error(erro, std::generic_category(), caminho.string());
}

// Whether the path still names the open file: its owner deletes it as it ends.
bool AindaNoCaminho(int descritor, const std::filesystem::path& caminho) {
    struct stat aberto {};
    struct stat noCaminho {};
    return ::fstat(descritor, &aberto) == 0 && ::stat(caminho.c_str(), &noCaminho) == 0 &&
           aberto.st_dev == noCaminho.st_dev && aberto.st_ino == noCaminho.st_ino;
}

enum class Trava { Obtida, EmUso };

// Locks without waiting; a file that it cannot lock is closed.
Trava Travar(int descritor, const std::filesystem::path& caminho) {
    if (::flock(descritor, LOCK_EX | LOCK_NB) == 0) return Trava::Obtida;
    const int erro = errno;
    ::close(descritor);
    if (erro == EWOULDBLOCK) return Trava::EmUso;
    LancarErroSistema(caminho, erro);
}

enum class Sobra { EmUso, Removida, Ausente };

// A file that this account may not write was made by another account: either its copy
// runs and holds it, or it is left over and goes when the folder lets this account delete
// it. The lock taken on the leftover keeps other copies from replacing it at the same
// time. Raises when it can neither be examined nor removed.
Sobra RemoverSobraDeOutraConta(const std::filesystem::path& caminho) {
    const int descritor = ::open(caminho.c_str(), O_RDONLY | O_CLOEXEC);
    if (descritor < 0) {
        if (errno == ENOENT) return Sobra::Ausente;
        LancarErroSistema(caminho);
    }
    if (Travar(descritor, caminho) == Trava::EmUso) return Sobra::EmUso;
    const bool removida = !AindaNoCaminho(descritor, caminho) || ::unlink(caminho.c_str()) == 0;
    const int erro = errno;
    ::close(descritor);
    if (!removida) LancarErroSistema(caminho, erro);
    return Sobra::Removida;
}
}  // namespace

std::optional<ArquivoExclusivo> ArquivoExclusivo::Abrir(const std::filesystem::path& caminho) {
    // Each pass starts again after the file changed under this one: its owner deleted it
    // between the open and the lock, or a leftover was removed.
    constexpr int kTentativas = 10;
    int erroCriacao = 0;
    for (int tentativa = 0; tentativa < kTentativas; ++tentativa) {
        const int descritor = ::open(caminho.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0664);
        if (descritor < 0) {
            if (errno != EACCES) LancarErroSistema(caminho);
            const Sobra sobra = RemoverSobraDeOutraConta(caminho);
            if (sobra == Sobra::EmUso) return std::nullopt;
            erroCriacao = sobra == Sobra::Ausente ? EACCES : 0;
            continue;
        }
        if (Travar(descritor, caminho) == Trava::EmUso) return std::nullopt;
        if (AindaNoCaminho(descritor, caminho)) return ArquivoExclusivo(caminho, descritor);
        ::close(descritor);
    }
    // A folder that refuses to create the file; otherwise other copies keep taking it.
    if (erroCriacao != 0) LancarErroSistema(caminho, erroCriacao);
    return std::nullopt;
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
