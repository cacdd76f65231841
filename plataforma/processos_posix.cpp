#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

#include "plataforma/processos.h"

extern char** environ;

namespace tessora::plataforma {

namespace {
std::vector<std::string> Argumentos(const std::filesystem::path& programa,
                                    std::string_view parametros) {
    std::vector<std::string> argumentos{programa.string()};
    for (size_t inicio = 0; inicio < parametros.size();) {
        const size_t fim = std::min(parametros.find(' ', inicio), parametros.size());
        if (fim > inicio) argumentos.emplace_back(parametros.substr(inicio, fim - inicio));
        inicio = fim + 1;
    }
    return argumentos;
}
}  // namespace

bool IniciarPrograma(const std::filesystem::path& programa, std::string_view parametros) {
    auto argumentos = Argumentos(programa, parametros);
    std::vector<char*> argv;
    for (auto& argumento : argumentos) argv.push_back(argumento.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t acoes;
    posix_spawnattr_t atributos;
    posix_spawn_file_actions_init(&acoes);
    posix_spawnattr_init(&atributos);
    // Locks held through inherited descriptors (the lock file, the database) would outlive
    // this process in the child.
    posix_spawn_file_actions_addclosefrom_np(&acoes, 3);
    posix_spawnattr_setflags(&atributos, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int erro =
        ::posix_spawn(&pid, programa.c_str(), &acoes, &atributos, argv.data(), environ);
    posix_spawnattr_destroy(&atributos);
    posix_spawn_file_actions_destroy(&acoes);
    return erro == 0;
}

uint32_t IdProcessoAtual() { return static_cast<uint32_t>(getpid()); }

bool ExecutavelEmExecucao(const std::filesystem::path& executavel) {
    std::error_code erro;
    const auto procurado = std::filesystem::weakly_canonical(executavel, erro);
    if (erro) return false;
    const std::string proprio = std::to_string(::getpid());
    for (std::filesystem::directory_iterator it("/proc", erro), fim; !erro && it != fim;
         it.increment(erro)) {
        const std::string pid = it->path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos || pid == proprio) continue;
        std::error_code erroLink;
        const auto imagem = std::filesystem::read_symlink(it->path() / "exe", erroLink);
        if (!erroLink && imagem == procurado) return true;
    }
    return false;
}

}  // namespace tessora::plataforma
