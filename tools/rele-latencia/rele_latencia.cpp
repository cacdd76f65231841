#include "rele_latencia.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <stdexcept>
#include <string>
#include <utility>

namespace tessora::rele {

namespace {
using Relogio = std::chrono::steady_clock;

sockaddr_in Loopback(int porta) {
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_port = htons(static_cast<uint16_t>(porta));
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return endereco;
}

void SemAtrasoDeNagle(int socket) {
    const int um = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &um, sizeof um);
}

// One direction of a connection: a reader stamps what arrives with the time it may go on, a
// writer passes it on at that time. An empty chunk stands for the end of the stream.
class Sentido {
  public:
    Sentido(int origem, int destino, std::chrono::microseconds atraso)
        : origem_(origem), destino_(destino), atraso_(atraso) {}

    void Iniciar() {
        leitor_ = std::thread([this] { Ler(); });
        escritor_ = std::thread([this] { Escrever(); });
    }
    void Aguardar() {
        if (leitor_.joinable()) leitor_.join();
        if (escritor_.joinable()) escritor_.join();
    }

  private:
    void Ler() {
        char dados[16384];
        for (;;) {
            const ssize_t lidos = recv(origem_, dados, sizeof dados, 0);
            const auto quando = Relogio::now() + atraso_;
            {
                const std::lock_guard trava(mutex_);
                fila_.emplace_back(quando, lidos > 0
                                               ? std::string(dados, static_cast<size_t>(lidos))
                                               : std::string());
            }
            sinal_.notify_one();
            if (lidos <= 0) return;
        }
    }

    void Escrever() {
        for (;;) {
            std::unique_lock trava(mutex_);
            sinal_.wait(trava, [this] { return !fila_.empty(); });
            auto [quando, dados] = std::move(fila_.front());
            fila_.pop_front();
            trava.unlock();
            std::this_thread::sleep_until(quando);
            if (dados.empty()) {
                // Passes the end on; a reset also ends the other direction's reader.
                shutdown(destino_, SHUT_WR);
                return;
            }
            for (size_t enviados = 0; enviados < dados.size();) {
                const ssize_t n =
                    send(destino_, dados.data() + enviados, dados.size() - enviados, MSG_NOSIGNAL);
                if (n <= 0) {
                    shutdown(origem_, SHUT_RDWR);
                    shutdown(destino_, SHUT_RDWR);
                    return;
                }
                enviados += static_cast<size_t>(n);
            }
        }
    }

    const int origem_;
    const int destino_;
    const std::chrono::microseconds atraso_;
    std::mutex mutex_;
    std::condition_variable sinal_;
    std::deque<std::pair<Relogio::time_point, std::string>> fila_;
    std::thread leitor_;
    std::thread escritor_;
};
}  // namespace

struct ReleLatencia::Ligacao {
    Ligacao(int c, int s, std::chrono::microseconds atraso)
        : cliente(c), servidor(s), ida(c, s, atraso), volta(s, c, atraso) {}
    ~Ligacao() {
        shutdown(cliente, SHUT_RDWR);
        shutdown(servidor, SHUT_RDWR);
        ida.Aguardar();
        volta.Aguardar();
        close(cliente);
        close(servidor);
    }
    int cliente;
    int servidor;
    Sentido ida;
    Sentido volta;
};

ReleLatencia::ReleLatencia(int portaDestino, std::chrono::microseconds atrasoPorSentido)
    : portaDestino_(portaDestino), atraso_(atrasoPorSentido) {
    escuta_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in endereco = Loopback(0);
    socklen_t tamanho = sizeof endereco;
    if (escuta_ < 0 ||
        bind(escuta_, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) != 0 ||
        listen(escuta_, 64) != 0 ||
        getsockname(escuta_, reinterpret_cast<sockaddr*>(&endereco), &tamanho) != 0) {
        if (escuta_ >= 0) close(escuta_);
        throw std::runtime_error("relé: não foi possível escutar em 127.0.0.1");
    }
    porta_ = ntohs(endereco.sin_port);
    aceitacao_ = std::thread([this] { Aceitar(); });
}

ReleLatencia::~ReleLatencia() {
    encerrando_ = true;
    aceitacao_.join();
    close(escuta_);
    const std::lock_guard trava(mutexLigacoes_);
    ligacoes_.clear();
}

void ReleLatencia::Aceitar() {
    while (!encerrando_) {
        pollfd espera{escuta_, POLLIN, 0};
        if (poll(&espera, 1, 100) <= 0) continue;
        const int cliente = accept4(escuta_, nullptr, nullptr, SOCK_CLOEXEC);
        if (cliente < 0) continue;
        const int servidor = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in destino = Loopback(portaDestino_);
        if (servidor < 0 ||
            connect(servidor, reinterpret_cast<const sockaddr*>(&destino), sizeof destino) != 0) {
            if (servidor >= 0) close(servidor);
            close(cliente);
            continue;
        }
        SemAtrasoDeNagle(cliente);
        SemAtrasoDeNagle(servidor);
        ++conexoes_;
        auto ligacao = std::make_unique<Ligacao>(cliente, servidor, atraso_);
        ligacao->ida.Iniciar();
        ligacao->volta.Iniciar();
        const std::lock_guard trava(mutexLigacoes_);
        ligacoes_.push_back(std::move(ligacao));
    }
}

}  // namespace tessora::rele
