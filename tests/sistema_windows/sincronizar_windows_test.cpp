// The Windows program's commands in a Windows installation of the ERP, where no Firebird
// client library can be had: the run must say why it could not connect, and is recorded.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "arquivos_teste.h"
#include "execucao_programa.h"
#include "instalacao_erp_windows.h"

namespace tessora::testes {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// The log's lines without their time stamps ("dd/mm/yyyy hh:mm:ss - ").
std::vector<std::string> LinhasLog(const std::string& saida) {
    std::vector<std::string> linhas;
    std::istringstream texto(saida);
    for (std::string linha; std::getline(texto, linha);) {
        if (!linha.empty() && linha.back() == '\r') linha.pop_back();
        linhas.push_back(linha.size() > 22 ? linha.substr(22) : linha);
    }
    return linhas;
}

class SincronizarWindowsTest : public InstalacaoErpWindowsTest {
  protected:
    ResultadoPrograma Sincronizar() const {
        return ExecutarPrograma(programa / "tessoraService.exe", L"--sincronizar");
    }
};

TEST_F(SincronizarWindowsTest, SemBibliotecaClienteRegistraAFalhaDeConexaoESai1) {
    const auto resultado = Sincronizar();
    EXPECT_EQ(resultado.codigo, 1u) << resultado.erros;
    EXPECT_THAT(LinhasLog(resultado.saida),
                ElementsAre("Iniciando processamento...",
                            "Não foi possível conectar ao banco de dados: A biblioteca cliente do "
                            "Firebird (gds32.dll, fbclient.dll) não foi encontrada na pasta do "
                            "programa nem no sistema",
                            "Encerrando processamento..."));
    EXPECT_FALSE(fs::exists(dados / "tessoraService.lock"));

    // The run was recorded in the history, which the other two commands read.
    const auto historico =
        ExecutarPrograma(programa / "tessoraService.exe", L"--historico --formato csv");
    EXPECT_EQ(historico.codigo, 0u) << historico.erros;
    EXPECT_THAT(historico.saida, HasSubstr("linha_comando"));
    EXPECT_THAT(historico.saida, HasSubstr("sem_conexao"));
    const auto estado = ExecutarPrograma(programa / "tessoraService.exe", L"--estado");
    EXPECT_EQ(estado.codigo, 1u) << estado.erros;
    EXPECT_THAT(estado.saida, HasSubstr("sem_conexao"));
    EXPECT_THAT(estado.saida, Not(HasSubstr("Histórico indisponível")));
}

TEST_F(SincronizarWindowsTest, Gds32QueNaoEBibliotecaENomeadaNaFalha) {
    GravarArquivo(programa / "gds32.dll", "isto não é uma biblioteca");
    const auto resultado = Sincronizar();
    EXPECT_EQ(resultado.codigo, 1u) << resultado.erros;
    const auto linhas = LinhasLog(resultado.saida);
    ASSERT_EQ(linhas.size(), 3u) << resultado.saida;
    EXPECT_EQ(linhas[0], "Iniciando processamento...");
    EXPECT_THAT(linhas[1], StartsWith("Não foi possível conectar ao banco de dados: O arquivo " +
                                      (programa / "gds32.dll").string() +
                                      " não pôde ser carregado como biblioteca cliente do "
                                      "Firebird: "));
    EXPECT_EQ(linhas[2], "Encerrando processamento...");
}

}  // namespace
}  // namespace tessora::testes
