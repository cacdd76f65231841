// Substitute of the sales-force app API: HTTPS on 127.0.0.1 for tests and demos.
//
//   tessoraApiSubstituta --porta N --certificado CERT.pem --chave KEY.pem --estado STATE.json
//                        --regras RULES.json --registro REQUESTS.log [--tls 1.2|1.3]
//                        [--falhas FAILURES.json] [--conexao-ociosa-s N]
//
// Port 0 picks a free port. The first line on standard output is "porta=N" once the server
// listens. --tls restricts the server to that one protocol version (by default it offers 1.2
// and 1.3). --falhas names the file of the seeded random failures (falhas_api.h), read for
// every request like the state and the rules. --conexao-ociosa-s closes a kept-alive connection
// idle for N seconds (by default 5). SIGTERM or SIGINT stop it, and so does the end of
// the process that started it, so that a test killed on a timeout leaves no server behind.
#include <openssl/ssl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <thread>

#include "servidor_api.h"

namespace {

using tessora::api_substituta::ArquivosServidor;
using tessora::api_substituta::ServidorApi;

[[noreturn]] void Uso(const std::string& problema) {
    std::cerr
        << "tessoraApiSubstituta: " << problema << "\n"
        << "uso: tessoraApiSubstituta --porta N --certificado CERT --chave KEY --estado STATE\n"
        << "                          --regras RULES --registro LOG [--tls 1.2|1.3]\n"
        << "                          [--falhas FAILURES] [--conexao-ociosa-s N]\n";
    std::exit(2);
}

std::map<std::string, std::string> LerOpcoes(int argc, char** argv) {
    std::map<std::string, std::string> opcoes;
    for (int i = 1; i < argc; i += 2) {
        const std::string nome = argv[i];
        if (nome.rfind("--", 0) != 0 || i + 1 >= argc) Uso("argumento inesperado: " + nome);
        opcoes[nome.substr(2)] = argv[i + 1];
    }
    for (const char* obrigatoria :
         {"porta", "certificado", "chave", "estado", "regras", "registro"}) {
        if (!opcoes.count(obrigatoria)) Uso(std::string("falta --") + obrigatoria);
    }
    return opcoes;
}

bool ConfigurarTls(SSL_CTX& contexto, const std::string& certificado, const std::string& chave,
                   const std::string& versao) {
    if (SSL_CTX_use_certificate_chain_file(&contexto, certificado.c_str()) != 1) return false;
    if (SSL_CTX_use_PrivateKey_file(&contexto, chave.c_str(), SSL_FILETYPE_PEM) != 1) return false;
    int minima = TLS1_2_VERSION;
    int maxima = TLS1_3_VERSION;
    if (versao == "1.2") {
        maxima = TLS1_2_VERSION;
    } else if (versao == "1.3") {
        minima = TLS1_3_VERSION;
    } else if (!versao.empty()) {
        return false;
    }
    return SSL_CTX_set_min_proto_version(&contexto, minima) == 1 &&
           SSL_CTX_set_max_proto_version(&contexto, maxima) == 1;
}

}  // namespace

int main(int argc, char** argv) {
    const auto opcoes = LerOpcoes(argc, argv);
    const int portaPedida = std::atoi(opcoes.at("porta").c_str());
    const std::string versaoTls = opcoes.count("tls") ? opcoes.at("tls") : "";

    // A client that hangs up mid-answer must not end the server.
    signal(SIGPIPE, SIG_IGN);
    // Stop signals are taken by one thread with sigwait; every thread started later inherits the
    // mask.
    sigset_t sinaisParada;
    sigemptyset(&sinaisParada);
    sigaddset(&sinaisParada, SIGTERM);
    sigaddset(&sinaisParada, SIGINT);
    pthread_sigmask(SIG_BLOCK, &sinaisParada, nullptr);

    ServidorApi api(ArquivosServidor{opcoes.at("estado"), opcoes.at("regras"),
                                     opcoes.at("registro"),
                                     opcoes.count("falhas") ? opcoes.at("falhas") : ""});
    httplib::SSLServer servidor([&](SSL_CTX& contexto) {
        return ConfigurarTls(contexto, opcoes.at("certificado"), opcoes.at("chave"), versaoTls);
    });
    if (!servidor.is_valid()) Uso("certificado, chave ou versão de TLS inválidos");
    // Headers and body go out as separate small writes: with Nagle's algorithm the body would
    // wait for the client's delayed acknowledgement, some 40 ms on every answer.
    servidor.set_tcp_nodelay(true);
    // httplib closes a connection after five requests; real API servers keep one for hundreds.
    servidor.set_keep_alive_max_count(1000);
    if (opcoes.count("conexao-ociosa-s")) {
        servidor.set_keep_alive_timeout(std::atol(opcoes.at("conexao-ociosa-s").c_str()));
    }

    const auto atender = [&api](const httplib::Request& requisicao, httplib::Response& resposta) {
        api.Atender(requisicao, resposta);
    };
    const std::string qualquerCaminho = "[\\s\\S]*";
    servidor.Get(qualquerCaminho, atender)
        .Post(qualquerCaminho, atender)
        .Put(qualquerCaminho, atender)
        .Patch(qualquerCaminho, atender)
        .Delete(qualquerCaminho, atender)
        .Options(qualquerCaminho, atender);

    const int porta = portaPedida == 0 ? servidor.bind_to_any_port("127.0.0.1")
                      : servidor.bind_to_port("127.0.0.1", portaPedida) ? portaPedida
                                                                        : -1;
    if (porta <= 0) {
        std::cerr << "tessoraApiSubstituta: não foi possível abrir a porta " << portaPedida
                  << std::endl;
        return 1;
    }
    std::cout << "porta=" << porta << std::endl;

    std::atomic<bool> terminou{false};
    const pid_t pai = getppid();
    std::thread vigia([&] {
        const timespec intervalo{0, 200'000'000};
        while (!terminou && getppid() == pai &&
               sigtimedwait(&sinaisParada, nullptr, &intervalo) < 0) {
        }
        api.Encerrar();
        servidor.stop();
    });
    const bool ok = servidor.listen_after_bind();
    terminou = true;
    vigia.join();
    return ok ? 0 : 1;
}
