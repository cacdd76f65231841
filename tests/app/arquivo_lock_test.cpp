#include "app/arquivo_lock.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "arquivos_teste.h"
#include "banco_teste.h"

namespace tessora::app {
namespace {

TEST(ArquivoLockTest, NomeDerivadoDoExecutavel) {
    const std::pair<const char*, const char*> casos[] = {
        {"/opt/erp/tessoraService.exe", "/dados/tessoraService.lock"},
        {"/opt/erp/tessoraService", "/dados/tessoraService.lock"},  // no extension: its own base name
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
                  "Este arquivo indica que o monitor /opt/Programas ERP/tessoraService est\xE1 em execu\xE7\xE3o.\r\n");

        EXPECT_FALSE(ArquivoLock::Adquirir(executavel, dados));  // a second copy is refused
        EXPECT_TRUE(std::filesystem::exists(arquivo));           // and leaves the file alone
    }
    EXPECT_FALSE(std::filesystem::exists(arquivo));  // this copy's end removes its own file
    EXPECT_EQ(MensagemOutraCopia(executavel),
              "O aplicativo /opt/Programas ERP/tessoraService já está sendo executado em outra sessão de trabalho.");
}

TEST(ArquivoLockTest, PastaInacessivelLanca) {
    EXPECT_THROW(ArquivoLock::Adquirir("/opt/tessoraService", "/nao/existe/"), std::system_error);
}

}  // namespace
}  // namespace tessora::app
