#include "app/servico/vigia_encerramento.h"

#include <gtest/gtest.h>

#include <deque>

#include "arquivos_teste.h"
#include "avisos_gravados.h"
#include "banco_teste.h"

namespace tessora::app {
namespace {

TEST(VigiaEncerramentoTest, SoAPrimeiraLinhaExatamenteDesconectarPedeOFim) {
    testes::PastaTemporaria pasta("tessora-vigia");
    const std::string dados = pasta.Caminho().string() + "/";
    EXPECT_EQ(LerSituacaoConexao(dados), SituacaoConexao::Liberada);  // no file

    const std::pair<const char*, SituacaoConexao> casos[] = {
        {"DESCONECTAR\r\n", SituacaoConexao::Desconectar},
        {"DESCONECTAR", SituacaoConexao::Desconectar},
        {"DESCONECTAR\nCONECTAR\n", SituacaoConexao::Desconectar},
        {"DESCONECTAR\rX", SituacaoConexao::Desconectar},
        {"desconectar\r\n", SituacaoConexao::Liberada},
        {"DESCONECTAR \r\n", SituacaoConexao::Liberada},
        {" DESCONECTAR", SituacaoConexao::Liberada},
        {"\r\nDESCONECTAR\r\n", SituacaoConexao::Liberada},
        {"", SituacaoConexao::Liberada},
    };
    for (const auto& [conteudo, situacao] : casos) {
        testes::GravarArquivo(pasta.Caminho() / "Conectado.txt", conteudo);
        EXPECT_EQ(LerSituacaoConexao(dados), situacao) << conteudo;
    }
    // Found whatever its letter case, as on the ERP's Windows share.
    std::filesystem::rename(pasta.Caminho() / "Conectado.txt", pasta.Caminho() / "CONECTADO.TXT");
    testes::GravarArquivo(pasta.Caminho() / "CONECTADO.TXT", "DESCONECTAR");
    EXPECT_EQ(LerSituacaoConexao(dados), SituacaoConexao::Desconectar);
    EXPECT_EQ(LerSituacaoConexao(dados + "nao-existe/"), SituacaoConexao::Liberada);
}

TEST(VigiaEncerramentoTest, FalhaDeLeituraAvisadaUmaVezPorEpisodioSemEncerrar) {
    // The program folder's sibling "Dados" is the data folder when there is no ERP INI.
    testes::PastaTemporaria raiz("tessora-vigia");
    std::filesystem::create_directories(raiz.Caminho() / "Servico");
    std::filesystem::create_directories(raiz.Caminho() / "Dados");
    std::deque<SituacaoConexao> leituras = {
        SituacaoConexao::Inacessivel, SituacaoConexao::Inacessivel, SituacaoConexao::Inacessivel,
        SituacaoConexao::Liberada,    SituacaoConexao::Inacessivel, SituacaoConexao::Desconectar,
    };
    std::vector<std::string> pastas;
    testes::AvisosGravados avisos;
    VigiaEncerramento vigia(raiz.Caminho() / "Servico", avisos, [&](const std::string& pasta) {
        pastas.push_back(pasta);
        const auto situacao = leituras.front();
        leituras.pop_front();
        return situacao;
    });

    std::vector<bool> respostas;
    while (!leituras.empty()) respostas.push_back(vigia.ConexaoLiberada());
    EXPECT_EQ(respostas, (std::vector<bool>{true, true, true, true, true, false}));
    const std::string aviso =
        "Aviso do Sistema|Não foi possível acessar a pasta Dados no Servidor.|erro";
    EXPECT_EQ(avisos.mensagens, (std::vector<std::string>{aviso, aviso}));
    EXPECT_EQ(pastas.front(), (raiz.Caminho() / "Dados").string() + "/");
    EXPECT_EQ(avisos.encerramentos, 0);
}

}  // namespace
}  // namespace tessora::app
