// A TCP relay on loopback that delays each direction, to try the program over a slow link.
//
//   tessoraReleLatencia --destino PORT --ida-e-volta-ms N
//
// Prints "porta=N" once it listens; each direction is delayed by half the round trip. Ends on
// SIGINT or SIGTERM, printing "conexoes=N", the connections it relayed.
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "rele_latencia.h"

int main(int argc, char** argv) {
    int destino = 0;
    long idaEVoltaMs = -1;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string nome = argv[i];
        if (nome == "--destino") destino = std::atoi(argv[i + 1]);
        if (nome == "--ida-e-volta-ms") idaEVoltaMs = std::atol(argv[i + 1]);
    }
    if (destino <= 0 || idaEVoltaMs < 0 || argc != 5) {
        std::cerr << "uso: tessoraReleLatencia --destino PORTA --ida-e-volta-ms N\n";
        return 2;
    }
    sigset_t sinais;
    sigemptyset(&sinais);
    sigaddset(&sinais, SIGTERM);
    sigaddset(&sinais, SIGINT);
    pthread_sigmask(SIG_BLOCK, &sinais, nullptr);

    const tessora::rele::ReleLatencia rele(destino, std::chrono::microseconds(idaEVoltaMs * 500));
    std::cout << "porta=" << rele.Porta() << std::endl;
    int sinal = 0;
    sigwait(&sinais, &sinal);
    std::cout << "conexoes=" << rele.Conexoes() << std::endl;
    return 0;
}
