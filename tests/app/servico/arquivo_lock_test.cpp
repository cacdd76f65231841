#include "app/servico/arquivo_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "arquivos_teste.h"
#include "banco_teste.h"

namespace tessora::app {
namespace {

TEST(ArquivoLockTest, NomeDerivadoDoExecutavel) {
    const std::pair<const char*, const char*> casos[] = {
        {"/opt/erp/tessoraService.exe", "/dados/tessoraService.lock"},
        {"/opt/erp/tessoraService",
         "/dados/tessoraService.lock"},  // no extension: its own base name
        {"/opt/erp/tessoraService.novo.exe", "/dados/tessoraService.novo.lock"},
        {"/opt/erp/ tessoraService.exe ", "/dados/tessoraService.lock"},
    };
    for (const auto& [executavel, lock] : casos) {
        EXPECT_EQ(CaminhoArquivoLock(executavel, "/dados/"), lock) << executavel;
    }
}

TEST(ArquivoLockTest, UmaCopiaPorPastaDeDadosESobraEhAssumida) {
    testes::PastaTemporaria pasta("tessora-lock");
    const std::string dados = pasta.Caminho().string() + "/";
    const std::filesystem::path executavel = "/opt/Programas ERP/tessoraService";
    const auto arquivo = pasta.Caminho() / "tessoraService.lock";

    // A file that no running copy holds is a leftover.
    testes::GravarArquivo(arquivo, "sobra de uma execução interrompida");
    {
        auto primeira = ArquivoLock::Adquirir(executavel, dados);
        ASSERT_TRUE(primeira);
        std::ifstream entrada(arquivo, std::ios::binary);
        std::stringstream conteudo;
        conteudo << entrada.rdbuf();
        EXPECT_EQ(conteudo.str(),
                  "Este arquivo indica que o monitor /opt/Programas ERP/tessoraService est\xE1 em "
                  "execu\xE7\xE3o.\r\n");

        EXPECT_FALSE(ArquivoLock::Adquirir(executavel, dados));  // a second copy is refused
        EXPECT_TRUE(std::filesystem::exists(arquivo));           // and leaves the file alone
    }
    EXPECT_FALSE(std::filesystem::exists(arquivo));  // this copy's end removes its own file
    EXPECT_EQ(MensagemOutraCopia(executavel),
              "O aplicativo /opt/Programas ERP/tessoraService já está sendo executado em outra "
              "sessão de trabalho.");
}

TEST(ArquivoLockTest, PastaInacessivelLancaComOCaminhoEOMotivo) {
    try {
        (void)ArquivoLock::Adquirir("/opt/tessoraService", "/nao/existe/");
        FAIL() << "no error";
    } catch (const ErroArquivoLock& e) {
        EXPECT_STREQ(
            e.what(),
            "Não foi possível criar o arquivo /nao/existe/tessoraService.lock: No such file "
            "or directory.");
    }
}

// Acts as another user account for its lifetime. Root may open any file, so it takes an
// unprivileged identity; any other account is kept out by the file's mode alone.
class ComoOutraConta {
  public:
    ComoOutraConta() {
        if (geteuid() != 0) return;
        EXPECT_EQ(setegid(65534), 0);
        EXPECT_EQ(seteuid(65534), 0);
        raiz_ = true;
    }
    ~ComoOutraConta() {
        if (!raiz_) return;
        EXPECT_EQ(seteuid(0), 0);
        EXPECT_EQ(setegid(0), 0);
    }
    ComoOutraConta(const ComoOutraConta&) = delete;
    ComoOutraConta& operator=(const ComoOutraConta&) = delete;

  private:
    bool raiz_ = false;
};

TEST(ArquivoLockTest, LockDeOutraContaDeUsuario) {
    const std::filesystem::path executavel = "/opt/erp/tessoraService";
    const std::string sobra = "sobra de outro usuário";
    struct Caso {
        const char* descricao;
        bool seguradoPorOutraCopia;
        mode_t modoArquivo;
        mode_t modoPasta;
        bool assumido;
        const char* erro;  // nullptr: no error
    };
    const Caso casos[] = {
        {"held: another copy runs", true, 0444, 0777, false, nullptr},
        {"stale, the folder lets it be replaced", false, 0444, 0777, true, nullptr},
        {"stale, the folder keeps it", false, 0444, 0555, false, "Permission denied"},
        {"unreadable: nobody can tell whether it is held", false, 0000, 0777, false,
         "Permission denied"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        testes::PastaTemporaria pasta("tessora-lock");
        const std::string dados = pasta.Caminho().string() + "/";
        const auto arquivo = pasta.Caminho() / "tessoraService.lock";
        if (!caso.seguradoPorOutraCopia) testes::GravarArquivo(arquivo, sobra);
        const auto outraCopia = caso.seguradoPorOutraCopia
                                    ? ArquivoLock::Adquirir(executavel, dados)
                                    : std::optional<ArquivoLock>();
        ASSERT_EQ(outraCopia.has_value(), caso.seguradoPorOutraCopia);
        const auto antes = testes::LerArquivo(arquivo);
        ASSERT_EQ(chmod(arquivo.c_str(), caso.modoArquivo), 0);
        ASSERT_EQ(chmod(pasta.Caminho().c_str(), caso.modoPasta), 0);
        {
            ComoOutraConta outraConta;
            try {
                const auto lock = ArquivoLock::Adquirir(executavel, dados);
                EXPECT_EQ(lock.has_value(), caso.assumido);
                EXPECT_EQ(caso.erro, nullptr);
                if (caso.assumido) {
                    EXPECT_EQ(
                        testes::LerArquivo(arquivo),
                        "Este arquivo indica que o monitor /opt/erp/tessoraService est\xE1 em "
                        "execu\xE7\xE3o.\r\n");
                }
            } catch (const ErroArquivoLock& e) {
                ASSERT_NE(caso.erro, nullptr) << e.what();
                EXPECT_EQ(e.what(), "Não foi possível criar o arquivo " + arquivo.string() + ": " +
                                        caso.erro + ".");
            }
        }
        chmod(pasta.Caminho().c_str(), 0700);
        if (caso.assumido) {
            EXPECT_FALSE(std::filesystem::exists(arquivo));  // the new owner's end removed it
        } else {
            chmod(arquivo.c_str(), 0600);
            EXPECT_EQ(testes::LerArquivo(arquivo), antes);  // left alone
        }
    }
}

TEST(ArquivoLockTest, NuncaDuasCopiasAoMesmoTempoEnquantoUmaApagaOLock) {
    // Copies that start and end all the time: one that opened the file just before the
    // previous owner deleted it must not count the deleted file as its lock.
    testes::PastaTemporaria pasta("tessora-lock");
    const std::string dados = pasta.Caminho().string() + "/";
    std::atomic<int> donos = 0;
    std::atomic<int> maximo = 0;
    std::vector<std::thread> copias;
    for (int copia = 0; copia < 4; ++copia) {
        copias.emplace_back([&] {
            for (int vez = 0; vez < 3000; ++vez) {
                const auto lock = ArquivoLock::Adquirir("/opt/erp/tessoraService", dados);
                if (!lock) continue;
                const int agora = ++donos;
                for (int anterior = maximo; agora > anterior;) {
                    if (maximo.compare_exchange_weak(anterior, agora)) break;
                }
                std::this_thread::yield();
                --donos;
            }
        });
    }
    for (auto& copia : copias) copia.join();
    EXPECT_EQ(maximo, 1);
}

}  // namespace
}  // namespace tessora::app
