// The main page's status labels from the runs' summaries.
#include "app/apresentacao/status_processamento.h"

#include <gtest/gtest.h>

#include "comum/data_hora.h"

namespace tessora::app {
namespace {

TEST(StatusProcessamentoTest, UltimoProcessamentoDizQuandoEPorQueFalhou) {
    const auto inicio = std::chrono::system_clock::now();
    const std::string texto = "Último processamento: " + DataHoraSegundos(inicio);
    const struct {
        std::optional<FimExecucao> fim;
        const char* dica;
    } casos[] = {
        {FimExecucao::Concluida, ""},
        {FimExecucao::SemConexao, "Falhou: sem conexão com o banco de dados"},
        {FimExecucao::SemListagem, "Falhou: não foi possível obter a lista de novos pedidos"},
        {std::nullopt, "Falhou: a sincronização foi interrompida por um erro"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.dica);
        // The reason and the orders' failures stay off the label: the tray and the history
        // tell them.
        const RotuloStatus rotulo =
            UltimoProcessamento({inicio, caso.fim, inicio, "HTTP 503", 4, 2, 1});
        EXPECT_EQ(rotulo.texto, texto);
        EXPECT_EQ(rotulo.dica, caso.dica);
        EXPECT_EQ(rotulo.falha, !rotulo.dica.empty());
    }
    const RotuloStatus inicial = UltimoProcessamentoInicial();
    EXPECT_EQ(inicial.texto, "Último processamento: 00/00/0000 00:00:00");
    EXPECT_EQ(inicial.dica, "");
    EXPECT_FALSE(inicial.falha);
}

TEST(StatusProcessamentoTest, ComOTipoDoProblemaADicaDizOQueConferir) {
    const auto inicio = std::chrono::system_clock::now();
    const struct {
        FimExecucao fim;
        ProblemaExecucao problema;
        const char* dica;
    } casos[] = {
        {FimExecucao::SemListagem, ProblemaExecucao::TokenRecusado,
         "Falhou: token recusado pela API\nConfira o token do APP no sistema."},
        {FimExecucao::SemListagem, ProblemaExecucao::CertificadoForaDoPrazo,
         "Falhou: certificado fora da validade\nConfira a data e a hora do PC."},
        {FimExecucao::SemListagem, ProblemaExecucao::ErroApi,
         "Falhou: erro na API\nSe continuar, avise o suporte do APP."},
        {FimExecucao::SemConexao, ProblemaExecucao::BancoInacessivel,
         "Falhou: sem conexão com o banco de dados\nConfira o servidor do banco."},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.dica);
        ResumoExecucao resumo{inicio, caso.fim, inicio, "Couldn't connect to server"};
        resumo.problema = caso.problema;
        const RotuloStatus rotulo = UltimoProcessamento(resumo);
        EXPECT_EQ(rotulo.dica, caso.dica);  // the raw reason stays in the log
        EXPECT_TRUE(rotulo.falha);
    }
}

TEST(StatusProcessamentoTest, SemExecucaoNoHistoricoNemHoraZerada) {
    EXPECT_EQ(UltimoProcessamentoNenhum().texto, "Último processamento: nenhum");
    const RotuloStatus desconhecido = UltimoProcessamentoDesconhecido("file is not a database");
    EXPECT_EQ(desconhecido.texto, "Último processamento: desconhecido");
    EXPECT_EQ(desconhecido.dica, "O histórico não pôde ser lido: file is not a database");
}

TEST(StatusProcessamentoTest, ProximoProcessamentoSoComExecucaoAutomatica) {
    const auto quando = std::chrono::system_clock::now() + std::chrono::minutes(5);
    EXPECT_EQ(ProximoProcessamento(quando), "Próximo processamento: " + DataHoraSegundos(quando));
    EXPECT_EQ(ProximoProcessamento(std::nullopt), "Próximo processamento: ");
    EXPECT_EQ(ProximoProcessamentoInicial(), "Próximo processamento: 00/00/0000 00:00:00");
}

}  // namespace
}  // namespace tessora::app
