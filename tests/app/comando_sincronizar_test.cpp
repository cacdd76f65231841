// Runs the built executable in a temporary ERP installation against the substitute API.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "api_substituta.h"
#include "app/arquivo_lock.h"
#include "arquivos_teste.h"
#include "instalacao_erp_teste.h"

namespace tessora::app {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct Resultado {
    int codigo;
    std::vector<std::string> linhas;  // standard output without time stamps
    std::string erros;
};

std::string LerArquivo(const std::filesystem::path& caminho) {
    std::ifstream entrada(caminho, std::ios::binary);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    return conteudo.str();
}

class ComandoSincronizarTest : public ::testing::Test {
protected:
    testes::InstalacaoErpTeste erp;
    testes::ApiSubstituta servidor{LerArquivo(testes::PastaFontes() / "erp/demo/estado-api.json")};

    void SetUp() override {
        std::filesystem::copy_file(TESSORA_DIR_BUILD "/app/tessoraService", erp.Executavel());
        testes::GravarArquivo(erp.PastaPrograma() / "tessoraService.ini",
                              "[AppForcaVendas]\r\nUrlBaseApi=" + servidor.UrlBase() +
                                  "\r\nArquivoCertificados=" + servidor.ArquivoCertificado() + "\r\n");
    }

    Resultado Executar() const {
        const auto arquivoErros = erp.PastaPrograma() / "erros.txt";
        const std::string comando = "'" + erp.Executavel().string() + "' --sincronizar 2>'" +
                                    arquivoErros.string() + "'";
        FILE* saida = popen(comando.c_str(), "r");
        Resultado resultado{};
        std::array<char, 4096> linha;
        while (fgets(linha.data(), linha.size(), saida)) {
            std::string texto(linha.data());
            if (!texto.empty() && texto.back() == '\n') texto.pop_back();
            resultado.linhas.push_back(texto.size() > 22 ? texto.substr(22) : texto);
        }
        resultado.codigo = WEXITSTATUS(pclose(saida));
        resultado.erros = LerArquivo(arquivoErros);
        return resultado;
    }
};

TEST_F(ComandoSincronizarTest, ListaOsNovosPedidosDaApiNoLog) {
    const auto resultado = Executar();
    EXPECT_EQ(resultado.codigo, 0) << resultado.erros;
    EXPECT_THAT(resultado.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: ped-3001", HasSubstr("ped-3001"),
                            "Lendo pedido: ped-3002", HasSubstr("ped-3002"), "Encerrando processamento..."));
    const auto requisicoes = servidor.Requisicoes();
    ASSERT_FALSE(requisicoes.empty());
    EXPECT_EQ(requisicoes[0].metodo, "GET");
    EXPECT_EQ(requisicoes[0].caminho, "/api/pedidos");
    EXPECT_EQ(requisicoes[0].Cabecalho("Authorization"), "Bearer token-demonstracao");
    EXPECT_FALSE(std::filesystem::exists(erp.PastaDados() / "tessoraService.lock"));
}

TEST_F(ComandoSincronizarTest, OutraCopiaEmExecucaoImpedeARodada) {
    const auto lock = ArquivoLock::Adquirir(erp.Executavel(), erp.PastaDados().string() + "/");
    ASSERT_TRUE(lock);
    const auto resultado = Executar();
    EXPECT_EQ(resultado.codigo, 1);
    EXPECT_TRUE(resultado.linhas.empty());
    EXPECT_THAT(resultado.erros, HasSubstr(MensagemOutraCopia(erp.Executavel())));
    EXPECT_TRUE(servidor.Requisicoes().empty());
}

TEST_F(ComandoSincronizarTest, BancoInacessivelTerminaComErro) {
    erp.DefinirBanco("", erp.PastaDados().string() + "/", "NAO_EXISTE.FDB");
    const auto resultado = Executar();
    EXPECT_EQ(resultado.codigo, 1);
    // The engine's message spans several lines.
    ASSERT_GE(resultado.linhas.size(), 3u);
    EXPECT_THAT(resultado.linhas[1], HasSubstr("Não foi possível conectar ao banco de dados: "));
    EXPECT_EQ(resultado.linhas.back(), "Encerrando processamento...");
    EXPECT_FALSE(resultado.erros.empty());
}

}  // namespace
}  // namespace tessora::app
