#include "comum/arquivo_ini.h"

#include <gtest/gtest.h>

#include "arquivos_teste.h"
#include "banco_teste.h"

namespace tessora {
namespace {

TEST(ArquivoIniTest, SemanticaDosArquivosDeConfiguracaoDoWindows) {
    testes::PastaTemporaria pasta("tessora-ini");
    const auto caminho = pasta.Caminho() / "x.ini";
    testes::GravarArquivo(caminho,
                          "[Database]\r\n"
                          "  Servidor  =  srverp  \r\n"
                          "path=C:\\Gest\xE3o\\\r\n"
                          "path=C:\\outra\\\r\n"
                          "; comentario\r\n"
                          "[Outra]\r\nname=x\r\n");
    const ArquivoIni ini(caminho);
    EXPECT_EQ(ini.Ler("database", "SERVIDOR"), "srverp");
    EXPECT_EQ(ini.Ler("Database", "path"), "C:\\Gestão\\");  // first one, from Windows-1252
    EXPECT_EQ(ini.Ler("Database", "name"), "");
    EXPECT_EQ(ini.Ler("Nada", "name"), "");
    EXPECT_EQ(ArquivoIni(pasta.Caminho() / "nao-existe.ini").Ler("Database", "path"), "");
}

}  // namespace
}  // namespace tessora
