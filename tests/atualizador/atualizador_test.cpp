#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#endif

#include <chrono>
#include <stdexcept>
#include <thread>

#include "arquivos_teste.h"
#include "atualizador/pedido_atualizacao.h"
#include "atualizador/substituicao_programa.h"
#include "banco_teste.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace tessora::atualizador {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

TEST(PedidoAtualizacaoTest, QuatroArgumentosComPastasCodificadas) {
    const auto pedido =
        LerPedido({"@F1", "@M/srv/Servidor§ERP/Update", "@E/opt/Arquivos§de§Programas/ERP", "@Ausr",
                   "tessora", "Service"});
    ASSERT_TRUE(pedido);
    EXPECT_EQ(pedido->pastaMestre, "/srv/Servidor ERP/Update");
    EXPECT_EQ(pedido->pastaPrograma, "/opt/Arquivos de Programas/ERP");
    EXPECT_EQ(pedido->nomeExecutavel,
              "usr tessora Service");  // blanks of the name are not protected

    const std::vector<std::vector<std::string>> invalidos = {
        {},
        {"@F1", "@M/m", "@E/e"},
        {"@F2", "@M/m", "@E/e", "@Ax"},
        {"@F1", "@E/e", "@M/m", "@Ax"},
        {"@F1", "@M/m", "@E/e", "@A"},
    };
    for (const auto& argumentos : invalidos)
        EXPECT_FALSE(LerPedido(argumentos)) << argumentos.size();
}

class SubstituicaoTest : public ::testing::Test {
  protected:
    SubstituicaoTest() {
        testes::GravarArquivo(programa, "versão antiga");
        fs::permissions(programa, fs::perms::owner_all | fs::perms::group_read);
        testes::GravarArquivo(copia, "versão nova");
        fs::permissions(copia, fs::perms::owner_read | fs::perms::owner_write);
        testes::DefinirHoraLocal(copia, 2025, 6, 2, 9, 30, 11, 123);
    }

    testes::PastaTemporaria raiz{"tessora-atualizador"};
    const PedidoAtualizacao pedido{raiz.Caminho() / "Update", raiz.Caminho() / "ERP",
                                   "tessoraService"};
    const fs::path programa = pedido.pastaPrograma / "tessoraService";
    const fs::path copia = pedido.pastaMestre / "tessoraService";
};

TEST_F(SubstituicaoTest, CopiaMestreTomaOLugarDoProgramaComAMesmaHora) {
    const auto permissoes = fs::status(programa).permissions();
    SubstituirPrograma(pedido, 1s);
    EXPECT_EQ(testes::LerArquivo(programa), "versão nova");
    EXPECT_EQ(fs::last_write_time(programa), fs::last_write_time(copia));
    EXPECT_EQ(fs::status(programa).permissions(), permissoes);
    EXPECT_EQ(std::distance(fs::directory_iterator(pedido.pastaPrograma), fs::directory_iterator()),
              1);
}

TEST_F(SubstituicaoTest, FalhasDeixamOProgramaComoEstava) {
    fs::remove(copia);
    EXPECT_THROW(SubstituirPrograma(pedido, 1s), std::runtime_error);
    EXPECT_EQ(testes::LerArquivo(programa), "versão antiga");

    testes::GravarArquivo(copia, "versão nova");
    testes::GravarArquivo(pedido.pastaPrograma / ".tessoraService.atualizando" / "ocupado",
                          "");  // copy fails
    EXPECT_THROW(SubstituirPrograma(pedido, 1s), std::runtime_error);
    EXPECT_EQ(testes::LerArquivo(programa), "versão antiga");
}

#ifndef _WIN32
// On Windows the wait rests on the platform layer's test of a running executable, tested there.
TEST_F(SubstituicaoTest, EsperaOFimDoProgramaSoAteOLimite) {
    fs::copy_file("/bin/sleep", programa, fs::copy_options::overwrite_existing);
    const auto Iniciar = [&](const char* segundos) {
        const std::string caminho = programa.string();
        char* argv[] = {const_cast<char*>(caminho.c_str()), const_cast<char*>(segundos), nullptr};
        pid_t pid = 0;
        EXPECT_EQ(posix_spawn(&pid, caminho.c_str(), nullptr, nullptr, argv, environ), 0);
        return pid;
    };

    const pid_t demorado = Iniciar("30");
    std::this_thread::sleep_for(100ms);
    EXPECT_THROW(SubstituirPrograma(pedido, 300ms), std::runtime_error);
    kill(demorado, SIGKILL);
    waitpid(demorado, nullptr, 0);
    EXPECT_NE(testes::LerArquivo(programa), "versão nova");

    const pid_t breve = Iniciar("1");
    std::this_thread::sleep_for(100ms);
    const auto inicio = std::chrono::steady_clock::now();
    std::thread colhedor([breve] { waitpid(breve, nullptr, 0); });
    SubstituirPrograma(pedido, 10s);
    colhedor.join();
    EXPECT_GE(std::chrono::steady_clock::now() - inicio, 700ms);
    EXPECT_EQ(testes::LerArquivo(programa), "versão nova");
}
#endif

}  // namespace
}  // namespace tessora::atualizador
