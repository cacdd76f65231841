#include "servidor_firebird.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace tessora::testes {

namespace {
bool PortaAberta() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return false;
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_port = htons(3050);
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool aberta = connect(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) == 0;
    close(s);
    return aberta;
}
}  // namespace

std::string GarantirServidorFirebird() {
    if (PortaAberta()) return {};
    if (geteuid() != 0) return "o servidor Firebird não está no ar e só root pode iniciá-lo";
    // The server must not inherit the lock folder that this process gives its embedded engine.
    if (std::system("env -u FIREBIRD_LOCK /etc/init.d/firebird3.0 start >/dev/null 2>&1") != 0) {
        return "não foi possível iniciar o servidor Firebird";
    }
    for (int i = 0; i < 100; ++i) {
        if (PortaAberta()) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return "o servidor Firebird não abriu a porta 3050";
}

std::string PastaDadosServidor() { return "/var/lib/firebird/3.0/data/"; }

}  // namespace tessora::testes
