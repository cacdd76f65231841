// Starts the built executable in a temporary ERP installation, the way an operator or the
// ERP would, and watches its lock file, its settings file and how it ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <thread>

#include "arquivos_teste.h"
#include "instalacao_erp_teste.h"

namespace tessora::testes {
namespace {

using namespace std::chrono_literals;
using Relogio = std::chrono::steady_clock;

bool Aguardar(const std::function<bool()>& condicao, std::chrono::milliseconds limite) {
    for (const auto fim = Relogio::now() + limite; !condicao();) {
        if (Relogio::now() > fim) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// One run of the program, on the offscreen platform; killed if a test leaves it behind.
// As root, `outraConta` runs it under an unprivileged account.
class Processo {
  public:
    Processo(const std::filesystem::path& executavel, const std::string& argumento,
             bool outraConta = false) {
        pid_ = fork();
        if (pid_ == 0) {
            if (outraConta && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                _exit(126);
            }
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            const std::string caminho = executavel.string();
            if (argumento.empty()) {
                execl(caminho.c_str(), caminho.c_str(), nullptr);
            } else {
                execl(caminho.c_str(), caminho.c_str(), argumento.c_str(), nullptr);
            }
            _exit(127);
        }
    }
    ~Processo() {
        if (!codigo_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    void Sinalizar(int sinal) const { kill(pid_, sinal); }

    // The exit status once it ended within the limit.
    std::optional<int> Fim(std::chrono::milliseconds limite) {
        Aguardar(
            [this] {
                int estado = 0;
                if (waitpid(pid_, &estado, WNOHANG) == pid_) {
                    codigo_ = WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
                }
                return codigo_.has_value();
            },
            limite);
        return codigo_;
    }

  private:
    pid_t pid_;
    std::optional<int> codigo_;
};

class ProgramaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        PrepararFirebirdEmbarcado();  // the program inherits the engine's lock folder
        erp.InstalarPrograma(TESSORA_DIR_BUILD "/app/tessoraService");
        GravarArquivo(Ini(), kConfiguracoes);
    }

    std::filesystem::path Ini() const { return erp.PastaPrograma() / "tessoraService.ini"; }
    std::filesystem::path Lock() const { return erp.PastaDados() / "tessoraService.lock"; }
    std::string LinhaLock() const {
        return "Este arquivo indica que o monitor " + erp.Executavel().string() +
               " est\xE1 em execu\xE7\xE3o.\r\n";
    }
    bool EmExecucao(Processo& processo) const {
        return Aguardar([&] { return testes::LerArquivo(Lock()) == LinhaLock(); }, 30s) &&
               !processo.Fim(0ms);
    }

    static constexpr const char* kConfiguracoes =
        "; criado pelo "
        "suporte\r\n[AppForcaVendas]\r\nProcessoAtivo=s\r\nTempoEsperaAtualizacao=05\r\n"
        "[Outra]\r\nChave=valor\r\n";
    InstalacaoErpTeste erp;
};

TEST_F(ProgramaTest, AssumeLockSemDonoEEncerraAoPedidoDeDesconexao) {
    GravarArquivo(Lock(), "sobra de uma execução que caiu\r\n");
    Processo programa(erp.Executavel(), "");
    ASSERT_TRUE(EmExecucao(programa));

    GravarArquivo(erp.PastaDados() / "Conectado.txt", "DESCONECTAR\r\n");
    EXPECT_EQ(programa.Fim(10s), 0);
    EXPECT_FALSE(std::filesystem::exists(Lock()));
    EXPECT_EQ(testes::LerArquivo(Ini()), kConfiguracoes);
}

TEST_F(ProgramaTest, SegundaCopiaMostraOAvisoESaiSemTocarNoLockDaPrimeira) {
    Processo primeira(erp.Executavel(), "");
    ASSERT_TRUE(EmExecucao(primeira));

    const auto inicio = Relogio::now();
    Processo segunda(erp.Executavel(), "");
    EXPECT_EQ(segunda.Fim(30s), 1);
    EXPECT_GE(Relogio::now() - inicio, 5s);  // the notice stays five seconds
    EXPECT_EQ(testes::LerArquivo(Lock()), LinhaLock());
    EXPECT_FALSE(primeira.Fim(0ms));

    primeira.Sinalizar(SIGTERM);
    EXPECT_EQ(primeira.Fim(10s), 0);
    EXPECT_FALSE(std::filesystem::exists(Lock()));
}

TEST_F(ProgramaTest, SegundaCopiaDeOutraContaDeUsuarioTambemSai) {
    std::filesystem::permissions(
        erp.PastaPrograma().parent_path(),
        std::filesystem::perms::others_read | std::filesystem::perms::others_exec,
        std::filesystem::perm_options::add);
    Processo primeira(erp.Executavel(), "");
    ASSERT_TRUE(EmExecucao(primeira));
    // A file that the other account may read but not write, whoever runs the tests.
    ASSERT_EQ(chmod(Lock().c_str(), 0444), 0);

    Processo segunda(erp.Executavel(), "", true);
    EXPECT_EQ(segunda.Fim(30s), 1);
    EXPECT_EQ(testes::LerArquivo(Lock()), LinhaLock());
    EXPECT_FALSE(primeira.Fim(0ms));

    primeira.Sinalizar(SIGTERM);
    EXPECT_EQ(primeira.Fim(10s), 0);
    EXPECT_FALSE(std::filesystem::exists(Lock()));
}

TEST_F(ProgramaTest, FecharGravaAsConfiguracoesERemoveOLock) {
    for (const std::string argumento : {"", "--sem-janela"}) {
        SCOPED_TRACE(argumento);
        GravarArquivo(Ini(), kConfiguracoes);
        Processo programa(erp.Executavel(), argumento);
        ASSERT_TRUE(EmExecucao(programa));
        programa.Sinalizar(SIGTERM);
        EXPECT_EQ(programa.Fim(10s), 0);
        EXPECT_FALSE(std::filesystem::exists(Lock()));
        EXPECT_EQ(testes::LerArquivo(Ini()),
                  "; criado pelo "
                  "suporte\r\n[AppForcaVendas]\r\nProcessoAtivo=N\r\nTempoEsperaAtualizacao=05\r\n"
                  "[Outra]\r\nChave=valor\r\n");
    }
}

TEST_F(ProgramaTest, BancoInacessivelNaInicializacaoEncerraSemDeixarLock) {
    erp.DefinirBanco("", erp.PastaDados().string() + "/", "NAO_EXISTE.FDB");
    Processo programa(erp.Executavel(), "--sem-janela");
    EXPECT_EQ(programa.Fim(30s), 1);
    EXPECT_FALSE(std::filesystem::exists(Lock()));
    EXPECT_EQ(testes::LerArquivo(Ini()), kConfiguracoes);
}

}  // namespace
}  // namespace tessora::testes
