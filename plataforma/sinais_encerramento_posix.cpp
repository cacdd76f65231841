#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <system_error>

#include "plataforma/sinais_encerramento.h"

namespace tessora::plataforma {

namespace {
int descritores[2] = {-1, -1};

// Only async-signal-safe calls here: one byte into the pair.
void AoReceberSinal(int) {
    const int erroSalvo = errno;
    const char byte = 1;
    [[maybe_unused]] const auto escritos = ::write(descritores[1], &byte, 1);
    errno = erroSalvo;
}

void InstalarTratador() {
    struct sigaction acao {};
    acao.sa_handler = AoReceberSinal;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &acao, nullptr);
    ::sigaction(SIGINT, &acao, nullptr);
}

sigset_t SinaisEncerramento() {
    sigset_t sinais;
    sigemptyset(&sinais);
    sigaddset(&sinais, SIGTERM);
    sigaddset(&sinais, SIGINT);
    return sinais;
}
}  // namespace

int DesviarSinaisEncerramento() {
    static std::once_flag feito;
    std::call_once(feito, [] {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, descritores) !=
            0) {
            throw std::system_error(errno, std::generic_category(), "socketpair");
        }
        InstalarTratador();
        const sigset_t sinais = SinaisEncerramento();
        ::pthread_sigmask(SIG_BLOCK, &sinais, nullptr);
    });
    return descritores[0];
}

void LiberarSinaisEncerramento() {
    // The database client takes these signals over at its first attach to shut its engine
    // down from a thread of its own, which races the program's orderly end: take them back.
    InstalarTratador();
    const sigset_t sinais = SinaisEncerramento();
    ::pthread_sigmask(SIG_UNBLOCK, &sinais, nullptr);
}

bool AguardarSinaisEncerramento(int descritor, std::chrono::milliseconds limite) {
    const auto fim = std::chrono::steady_clock::now() + limite;
    for (;;) {
        // The request's own handler interrupts the wait, before or after its byte arrived.
        const auto resta = std::max(
            std::chrono::ceil<std::chrono::milliseconds>(fim - std::chrono::steady_clock::now()),
            std::chrono::milliseconds::zero());
        pollfd espera{descritor, POLLIN, 0};
        const int prontos = ::poll(&espera, 1, static_cast<int>(resta.count()));
        if (prontos >= 0 || errno != EINTR) return prontos == 1;
    }
}

void ConsumirSinaisEncerramento(int descritor) {
    char bytes[16];
    while (::read(descritor, bytes, sizeof bytes) > 0) {
    }
}

}  // namespace tessora::plataforma
