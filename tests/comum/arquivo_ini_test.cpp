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
                          "sozinha\r\n"
                          "[Outra]\r\nname=x\r\n"
                          "[DATABASE]\r\nname=da segunda\r\nServidor=outro\r\n");
    const ArquivoIni ini(caminho);
    EXPECT_EQ(ini.Ler("database", "SERVIDOR"), "srverp");
    EXPECT_EQ(ini.Ler("Database", "path"), "C:\\Gestão\\");  // first one, from Windows-1252
    // Only the first of two sections with the same name is read.
    EXPECT_EQ(ini.Procurar("Database", "name"), std::nullopt);
    EXPECT_EQ(ini.Ler("Nada", "name"), "");
    // A key without "=" reads as absent.
    EXPECT_EQ(ini.Procurar("Database", "sozinha"), std::nullopt);
    EXPECT_EQ(ArquivoIni(pasta.Caminho() / "nao-existe.ini").Ler("Database", "path"), "");
}

TEST(ArquivoIniTest, UmParDeAspasEmVoltaDoValorCai) {
    struct Caso {
        const char* linha;
        const char* valor;
    };
    const Caso casos[] = {
        {"v=\"C:\\base\\ERP.FDB\"", "C:\\base\\ERP.FDB"},
        {"v = '10' ", "10"},
        {"v=\" x \"", " x "},
        {"v=\"\"", ""},
        {"v='a\"b'", "a\"b"},
        {"v=\"\"x\"\"", "\"x\""},
        {"v=\"x", "\"x"},
        {"v=\"x'", "\"x'"},
        {"v=\"", "\""},
        {"v=x\"y\"", "x\"y\""},
    };
    testes::PastaTemporaria pasta("tessora-ini");
    const auto caminho = pasta.Caminho() / "x.ini";
    for (const Caso& caso : casos) {
        testes::GravarArquivo(caminho, std::string("[S]\r\n") + caso.linha + "\r\n");
        EXPECT_EQ(ArquivoIni(caminho).Ler("S", "v"), caso.valor) << caso.linha;
    }
}

TEST(ArquivoIniTest, BytesNulosNaoEscondemORestoDoArquivo) {
    testes::PastaTemporaria pasta("tessora-ini");
    const auto caminho = pasta.Caminho() / "x.ini";
    const std::string zeros(512, '\0');  // a block a crash left zero-filled
    testes::GravarArquivo(caminho, zeros + "[S]\r\na=1" + zeros + "\r\n" + zeros + "\r\nb=2\r\n" +
                                       zeros + "[T]\r\nc=3");
    const ArquivoIni ini(caminho);
    EXPECT_EQ(ini.Ler("S", "a"), "1");
    EXPECT_EQ(ini.Ler("S", "b"), "2");
    EXPECT_EQ(ini.Ler("T", "c"), "3");
}

}  // namespace
}  // namespace tessora
