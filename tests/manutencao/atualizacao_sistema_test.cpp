// Starts the built program in a temporary ERP installation whose master folder publishes
// a newer build and holds the built updater, and follows the update to its end.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "arquivos_teste.h"
#include "instalacao_erp_teste.h"
#include "plataforma/processos.h"

extern char** environ;

namespace tessora::testes {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool Aguardar(const std::function<bool()>& condicao, std::chrono::milliseconds limite,
              std::chrono::milliseconds passo = 50ms) {
    for (const auto fim = std::chrono::steady_clock::now() + limite; !condicao();) {
        if (std::chrono::steady_clock::now() > fim) return false;
        std::this_thread::sleep_for(passo);
    }
    return true;
}

std::optional<ino_t> Inode(const fs::path& caminho) {
    struct stat estado {};
    if (::stat(caminho.c_str(), &estado) != 0) return std::nullopt;
    return estado.st_ino;
}

// Whatever still runs this file: the program restarted by the updater is no child of ours.
void MatarProcessosDe(const fs::path& executavel) {
    for (const auto& entrada : fs::directory_iterator("/proc")) {
        std::error_code erro;
        if (fs::read_symlink(entrada.path() / "exe", erro) == executavel) {
            ::kill(std::stoi(entrada.path().filename().string()), SIGKILL);
        }
    }
}

class AtualizacaoSistemaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepararFirebirdEmbarcado();  // the programs inherit the engine's lock folder
        erp.InstalarPrograma(TESSORA_DIR_BUILD "/app/tessoraService");
    }
    void TearDown() override {
        GravarArquivo(erp.PastaDados() / "Conectado.txt", "DESCONECTAR\r\n");
        if (!Aguardar([&] { return !plataforma::ExecutavelEmExecucao(erp.Executavel()); }, 15s)) {
            MatarProcessosDe(erp.Executavel());
        }
    }

    // The program without a window, its standard error into a file, on the offscreen
    // platform (inherited by the program that the updater starts again).
    pid_t Iniciar() const {
        std::vector<std::string> ambiente{"QT_QPA_PLATFORM=offscreen"};
        for (char** variavel = environ; *variavel; ++variavel) ambiente.emplace_back(*variavel);
        std::vector<char*> envp;
        for (auto& variavel : ambiente) envp.push_back(variavel.data());
        envp.push_back(nullptr);
        std::string caminho = erp.Executavel().string();
        std::string argumento = "--sem-janela";
        char* argv[] = {caminho.data(), argumento.data(), nullptr};

        posix_spawn_file_actions_t acoes;
        posix_spawn_file_actions_init(&acoes);
        posix_spawn_file_actions_addopen(&acoes, 2, Erros().c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        pid_t pid = 0;
        EXPECT_EQ(posix_spawn(&pid, caminho.c_str(), &acoes, nullptr, argv, envp.data()), 0);
        posix_spawn_file_actions_destroy(&acoes);
        return pid;
    }
    // The exit status, watched closely: the updater starts the program again soon after.
    static std::optional<int> Fim(pid_t pid, std::chrono::milliseconds limite) {
        std::optional<int> codigo;
        Aguardar(
            [&] {
                int estado = 0;
                if (waitpid(pid, &estado, WNOHANG) == pid)
                    codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
                return codigo.has_value();
            },
            limite, 1ms);
        if (!codigo) {
            ::kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        return codigo;
    }

    fs::path Lock() const { return erp.PastaDados() / "tessoraService.lock"; }
    fs::path Erros() const { return erp.PastaPrograma().parent_path() / "erros.txt"; }
    bool LockDoPrograma() const {
        return LerArquivo(Lock()) == "Este arquivo indica que o monitor " +
                                         erp.Executavel().string() +
                                         " est\xE1 em execu\xE7\xE3o.\r\n";
    }

    InstalacaoErpTeste erp;
};

TEST_F(AtualizacaoSistemaTest,
       NovaVersaoNaPastaMestreSubstituiOProgramaQueVoltaSemAtualizarDeNovo) {
    const auto copiaMestre = erp.PastaMestre() / "tessoraService";
    const std::string novaVersao = *LerArquivo(erp.Executavel()) + "\nversao publicada\n";
    GravarArquivo(copiaMestre, novaVersao);
    fs::permissions(copiaMestre, fs::perms::owner_all);
    fs::last_write_time(copiaMestre, fs::last_write_time(erp.Executavel()) + 1min);
    fs::copy_file(TESSORA_DIR_BUILD "/atualizador/tessoraAtualizador",
                  erp.PastaMestre() / "tessoraAtualizador", fs::copy_options::overwrite_existing);

    const pid_t programa = Iniciar();
    ASSERT_EQ(Fim(programa, 60s), 0);
    EXPECT_FALSE(fs::exists(Lock()));  // gone before the end, so the new build can start
    EXPECT_NE(
        LerArquivo(Erros()).value_or("").find("Aviso do Sistema: AVISO: Existe uma nova versão do "
                                              "aplicativo tessoraService. A atualização será "
                                              "feita automaticamente. Aguarde..."),
        std::string::npos)
        << LerArquivo(Erros()).value_or("");

    // The updater puts the master copy in place, with its time, and starts it again.
    ASSERT_TRUE(Aguardar([&] { return LerArquivo(erp.Executavel()) == novaVersao; }, 60s));
    EXPECT_EQ(fs::last_write_time(erp.Executavel()), fs::last_write_time(copiaMestre));
    ASSERT_TRUE(Aguardar([&] { return LockDoPrograma(); }, 60s));

    // Another update would replace the executable and the lock file after its five-second notice.
    const auto executavel = Inode(erp.Executavel());
    const auto lock = Inode(Lock());
    std::this_thread::sleep_for(7s);
    EXPECT_TRUE(plataforma::ExecutavelEmExecucao(erp.Executavel()));
    EXPECT_EQ(Inode(erp.Executavel()), executavel);
    EXPECT_EQ(Inode(Lock()), lock);

    GravarArquivo(erp.PastaDados() / "Conectado.txt", "DESCONECTAR\r\n");
    EXPECT_TRUE(Aguardar([&] { return !plataforma::ExecutavelEmExecucao(erp.Executavel()); }, 15s));
    EXPECT_FALSE(fs::exists(Lock()));
}

}  // namespace
}  // namespace tessora::testes
