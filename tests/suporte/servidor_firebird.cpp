#include "servidor_firebird.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "arquivos_teste.h"

extern char** environ;

namespace tessora::testes {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {
// The password the program logs in with as SYSDBA.
constexpr const char* kSenhaSysdba = "kv82rtqzn";

sockaddr_in Loopback(int porta) {
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_port = htons(static_cast<uint16_t>(porta));
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return endereco;
}

// A port that nothing listens on now, drawn by the system.
int PortaLivre() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) throw std::runtime_error("não criou um socket");
    sockaddr_in endereco = Loopback(0);
    socklen_t tamanho = sizeof endereco;
    const bool ok = bind(s, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) == 0 &&
                    getsockname(s, reinterpret_cast<sockaddr*>(&endereco), &tamanho) == 0;
    close(s);
    if (!ok) throw std::runtime_error("não encontrou uma porta livre");
    return ntohs(endereco.sin_port);
}

bool Aceita(int porta) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return false;
    const sockaddr_in endereco = Loopback(porta);
    const bool aceita =
        connect(s, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco) == 0;
    close(s);
    return aceita;
}

// This process's environment with the Firebird root, lock and temporary folders of `raiz`
// instead of any of its own (the embedded engine's lock folder among them).
std::vector<std::string> Ambiente(const fs::path& raiz) {
    std::vector<std::string> ambiente;
    for (char** variavel = environ; *variavel; ++variavel) {
        const std::string_view texto(*variavel);
        if (!texto.starts_with("FIREBIRD") && !texto.starts_with("ISC_")) {
            ambiente.emplace_back(texto);
        }
    }
    ambiente.push_back("FIREBIRD=" + raiz.string());
    ambiente.push_back("FIREBIRD_LOCK=" + (raiz / "lock").string());
    ambiente.push_back("FIREBIRD_TMP=" + (raiz / "tmp").string());
    return ambiente;
}

std::vector<char*> Ponteiros(const std::vector<std::string>& textos) {
    std::vector<char*> ponteiros;
    for (const std::string& texto : textos) ponteiros.push_back(const_cast<char*>(texto.c_str()));
    ponteiros.push_back(nullptr);
    return ponteiros;
}

// Starts a program without a shell, holding none of this process's files. It gets SIGTERM when
// this process dies, so a test that crashes leaves no server behind.
pid_t Iniciar(const std::vector<std::string>& argumentos,
              const std::vector<std::string>& ambiente) {
    const std::vector<char*> argv = Ponteiros(argumentos);
    const std::vector<char*> envp = Ponteiros(ambiente);
    const pid_t processo = fork();
    if (processo < 0) throw std::runtime_error("não foi possível iniciar " + argumentos[0]);
    if (processo == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close_range(3, ~0U, 0);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return processo;
}

std::string EntreAspas(const std::string& texto) {
    std::string sql = "'";
    for (const char c : texto) sql += c == '\'' ? std::string("''") : std::string(1, c);
    return sql + "'";
}

// The security database that SecurityDatabase names, holding SYSDBA, made by the embedded
// engine under the same root.
void CriarBancoSeguranca(const fs::path& raiz, const std::vector<std::string>& ambiente) {
    const fs::path script = raiz / "seguranca.sql";
    GravarArquivo(script, "create database " + EntreAspas((raiz / "security3.fdb").string()) +
                              ";\ncreate user SYSDBA password '" + kSenhaSysdba + "';\ncommit;\n");
    // Only SYSDBA may create users, and the embedded engine takes the name as given.
    const pid_t isql = Iniciar(
        {TESSORA_ISQL_FIREBIRD, "-b", "-q", "-user", "SYSDBA", "-i", script.string()}, ambiente);
    int situacao = 0;
    waitpid(isql, &situacao, 0);
    if (!WIFEXITED(situacao) || WEXITSTATUS(situacao) != 0) {
        throw std::runtime_error("isql não criou o banco de segurança do servidor Firebird");
    }
}

// The root folder's configuration, folders and character sets module.
void PrepararRaiz(const fs::path& raiz, int porta) {
    GravarArquivo(raiz / "firebird.conf",
                  "RemoteServicePort = " + std::to_string(porta) +
                      "\nRemoteBindAddress = 127.0.0.1\nSecurityDatabase = " +
                      (raiz / "security3.fdb").string() + "\n");
    // Empty, so that no alias or plugin of an installed server applies.
    GravarArquivo(raiz / "databases.conf", "");
    GravarArquivo(raiz / "plugins.conf", "");
    fs::create_directories(raiz / "lock");
    fs::create_directories(raiz / "tmp");
    fs::create_directories(raiz / "dados");
    // The character sets module is found under the root; through a link to the installed one
    // the engine loads it but finds no character set in it, so it is copied.
    fs::create_directories(raiz / "intl");
    fs::copy_file(fs::path(TESSORA_INTL_FIREBIRD) / "libfbintl.so", raiz / "intl/libfbintl.so");
}
}  // namespace

ServidorFirebirdTeste::ServidorFirebirdTeste() {
    const fs::path& raiz = raiz_.Caminho();
    try {
        const int porta = PortaLivre();
        PrepararRaiz(raiz, porta);
        const std::vector<std::string> ambiente = Ambiente(raiz);
        CriarBancoSeguranca(raiz, ambiente);
        processo_ = Iniciar({TESSORA_SERVIDOR_FIREBIRD}, ambiente);
        for (const auto prazo = std::chrono::steady_clock::now() + 30s; !Aceita(porta);
             std::this_thread::sleep_for(50ms)) {
            int situacao = 0;
            if (waitpid(processo_, &situacao, WNOHANG) == processo_) {
                processo_ = -1;
                throw std::runtime_error("o servidor Firebird terminou ao iniciar");
            }
            if (std::chrono::steady_clock::now() > prazo) {
                throw std::runtime_error("o servidor Firebird não abriu a porta " +
                                         std::to_string(porta));
            }
        }
        host_ = "127.0.0.1/" + std::to_string(porta);
    } catch (...) {
        Parar();
        throw;
    }
}

ServidorFirebirdTeste::~ServidorFirebirdTeste() { Parar(); }

std::string ServidorFirebirdTeste::NomeBanco(const std::string& arquivo) const {
    return host_ + ":" + (PastaDados() / arquivo).string();
}

std::string ServidorFirebirdTeste::Isql(const std::string& banco, const std::string& script) const {
    const fs::path arquivo = raiz_.Caminho() / "consulta.sql";
    GravarArquivo(arquivo, script);
    const std::string comando = std::string("'") + TESSORA_ISQL_FIREBIRD +
                                "' -b -q -ch UTF8 -user SYSDBA -password " + kSenhaSysdba +
                                " -i '" + arquivo.string() + "' '" + banco + "' 2>&1";
    FILE* saida = popen(comando.c_str(), "r");
    if (!saida) throw std::runtime_error("não foi possível iniciar o isql");
    std::string texto;
    std::array<char, 4096> bloco;
    for (size_t lidos; (lidos = fread(bloco.data(), 1, bloco.size(), saida)) > 0;) {
        texto.append(bloco.data(), lidos);
    }
    pclose(saida);
    return texto;
}

void ServidorFirebirdTeste::Parar() noexcept {
    if (processo_ <= 0) return;
    kill(processo_, SIGTERM);
    int situacao = 0;
    const auto prazo = std::chrono::steady_clock::now() + 10s;
    while (waitpid(processo_, &situacao, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > prazo) {
            kill(processo_, SIGKILL);
            waitpid(processo_, &situacao, 0);
            break;
        }
        std::this_thread::sleep_for(20ms);
    }
    processo_ = -1;
}

}  // namespace tessora::testes
