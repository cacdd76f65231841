#include "plataforma/sistema.h"

#include <gtest/gtest.h>

#include "arquivos_teste.h"
#include "banco_teste.h"

namespace tessora::plataforma {
namespace {

TEST(SistemaTest, LocalizaArquivoSemDiferencaDeCaixaSoQuandoFaltaONomeExato) {
    testes::PastaTemporaria pasta("tessora-sistema");
    testes::GravarArquivo(pasta.Caminho() / "Conectado.TXT", "DESCONECTAR");
    EXPECT_EQ(LocalizarArquivo(pasta.Caminho() / "conectado.txt"),
              pasta.Caminho() / "Conectado.TXT");
    testes::GravarArquivo(pasta.Caminho() / "conectado.txt", "");
    EXPECT_EQ(LocalizarArquivo(pasta.Caminho() / "conectado.txt"),
              pasta.Caminho() / "conectado.txt");
    EXPECT_FALSE(LocalizarArquivo(pasta.Caminho() / "outro.txt"));
    EXPECT_FALSE(LocalizarArquivo(pasta.Caminho() / "nada" / "conectado.txt"));
    std::filesystem::create_directories(pasta.Caminho() / "Pasta");
    EXPECT_FALSE(LocalizarArquivo(pasta.Caminho() / "pasta"));  // folders are not files
}

TEST(SistemaTest, PastaDoProgramaEhADoExecutavel) {
    EXPECT_EQ(PastaPrograma(), CaminhoExecutavel().parent_path());
    EXPECT_EQ(CaminhoExecutavel().filename(), "testes_plataforma");
}

}  // namespace
}  // namespace tessora::plataforma
