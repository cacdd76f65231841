// Starting and ending the substitute API as a child process of this one.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "api_substituta.h"
#include "certificado_teste.h"

extern char** environ;

namespace tessora::testes {

namespace {
using namespace std::chrono_literals;

const std::filesystem::path kExecutavel =
    TESSORA_DIR_BUILD "/tools/api-substituta/tessoraApiSubstituta";

// Starts a program without a shell. `saida` becomes its standard output when given.
pid_t Iniciar(const std::vector<std::string>& argumentos, int saida = -1) {
    std::vector<char*> argv;
    for (const std::string& argumento : argumentos)
        argv.push_back(const_cast<char*>(argumento.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    if (saida >= 0) posix_spawn_file_actions_adddup2(&acoes, saida, STDOUT_FILENO);
    pid_t processo = -1;
    const int erro = posix_spawnp(&processo, argv[0], &acoes, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&acoes);
    if (erro != 0) throw std::runtime_error("não foi possível iniciar " + argumentos[0]);
    return processo;
}

// The first line the server writes, "porta=N", tells that it listens.
int LerPorta(int entrada) {
    std::string linha;
    const auto limite = std::chrono::steady_clock::now() + 10s;
    while (linha.find('\n') == std::string::npos) {
        const auto restante = std::chrono::duration_cast<std::chrono::milliseconds>(
            limite - std::chrono::steady_clock::now());
        pollfd espera{entrada, POLLIN, 0};
        if (restante.count() <= 0 || poll(&espera, 1, static_cast<int>(restante.count())) <= 0) {
            throw std::runtime_error("a API substituta não informou sua porta a tempo");
        }
        char bloco[64];
        const ssize_t lidos = read(entrada, bloco, sizeof bloco);
        if (lidos <= 0) throw std::runtime_error("a API substituta terminou sem abrir a porta");
        linha.append(bloco, static_cast<size_t>(lidos));
    }
    if (linha.rfind("porta=", 0) != 0) throw std::runtime_error("saída inesperada: " + linha);
    return std::atoi(linha.c_str() + 6);
}
}  // namespace

ApiSubstituta::ApiSubstituta(std::string_view estadoJson, OpcoesApiSubstituta opcoes) {
    std::string modelo = (std::filesystem::temp_directory_path() / "tessora-api-XXXXXX").string();
    if (mkdtemp(modelo.data()) == nullptr) throw std::runtime_error("não criou a pasta temporária");
    pasta_ = modelo;
    try {
        CriarCertificado(pasta_ / "chave.pem", pasta_ / "certificado.pem", opcoes.nomesCertificado,
                         opcoes.validade.first, opcoes.validade.second);
        DefinirEstado(estadoJson);
        GravarRegras();

        int tubo[2];
        // Close-on-exec keeps the write end out of other children; the spawn's dup2 clears it.
        if (pipe2(tubo, O_CLOEXEC) != 0) throw std::runtime_error("não criou o tubo para a porta");
        std::vector<std::string> argumentos = {kExecutavel.string(),
                                               "--porta",
                                               "0",
                                               "--certificado",
                                               (pasta_ / "certificado.pem").string(),
                                               "--chave",
                                               (pasta_ / "chave.pem").string(),
                                               "--estado",
                                               (pasta_ / "estado.json").string(),
                                               "--regras",
                                               (pasta_ / "regras.json").string(),
                                               "--registro",
                                               (pasta_ / "requisicoes.log").string(),
                                               "--falhas",
                                               (pasta_ / "falhas.json").string()};
        if (!opcoes.versaoTls.empty()) {
            argumentos.push_back("--tls");
            argumentos.push_back(opcoes.versaoTls);
        }
        if (opcoes.conexaoOciosa) {
            argumentos.push_back("--conexao-ociosa-s");
            argumentos.push_back(std::to_string(opcoes.conexaoOciosa->count()));
        }
        try {
            processo_ = Iniciar(argumentos, tubo[1]);
        } catch (...) {
            close(tubo[0]);
            close(tubo[1]);
            throw;
        }
        close(tubo[1]);
        try {
            porta_ = LerPorta(tubo[0]);
        } catch (...) {
            close(tubo[0]);
            throw;
        }
        close(tubo[0]);
    } catch (...) {
        Encerrar();
        throw;
    }
}

ApiSubstituta::~ApiSubstituta() { Encerrar(); }

std::string ApiSubstituta::UrlBase() const {
    return "https://127.0.0.1:" + std::to_string(porta_) + "/api";
}

void ApiSubstituta::Encerrar() noexcept {
    if (processo_ > 0) {
        kill(processo_, SIGTERM);
        int situacao = 0;
        const auto limite = std::chrono::steady_clock::now() + 5s;
        while (waitpid(processo_, &situacao, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > limite) {
                kill(processo_, SIGKILL);
                waitpid(processo_, &situacao, 0);
                break;
            }
            std::this_thread::sleep_for(10ms);
        }
        processo_ = -1;
    }
    std::error_code ignorado;
    std::filesystem::remove_all(pasta_, ignorado);
}

}  // namespace tessora::testes
