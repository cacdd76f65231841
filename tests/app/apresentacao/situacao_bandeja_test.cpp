// The tray icon's state, tooltip and notifications from a sequence of runs.
#include "app/apresentacao/situacao_bandeja.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "comum/data_hora.h"

namespace tessora::app {
namespace {

ResumoExecucao Fim(std::optional<FimExecucao> fim, int32_t processados = 0, int32_t falhas = 0,
                   std::string motivo = "", int32_t adiados = 0) {
    ResumoExecucao resumo{std::chrono::system_clock::now(), fim};
    resumo.motivo = std::move(motivo);
    resumo.pedidosProcessados = processados;
    resumo.pedidosComFalha = falhas;
    resumo.pedidosAdiados = adiados;
    return resumo;
}

ResumoExecucao Adiados(int32_t adiados) {
    return Fim(FimExecucao::Concluida, adiados, 0, "", adiados);
}

TEST(SituacaoBandejaTest, UmaNotificacaoPorEpisodioDeFalhaEOutraQuandoElasPassam) {
    using enum EstadoBandeja;
    const std::string falhaPedidos =
        "2 pedidos não puderam ser incluídos no sistema. Veja a página \"2. Histórico\".";
    const std::string normalizada = "A sincronização voltou a funcionar normalmente.";
    const struct {
        const char* execucao;
        ResumoExecucao resumo;
        EstadoBandeja estado;
        std::optional<std::string> notificacao;  // nothing: none
        bool falha;
    } passos[] = {
        {"good first run", Fim(FimExecucao::Concluida, 3), Normal, std::nullopt, false},
        {"orders failed", Fim(FimExecucao::Concluida, 3, 2), PedidosComFalha, falhaPedidos, true},
        {"the same orders again", Fim(FimExecucao::Concluida, 2, 2), PedidosComFalha, std::nullopt,
         false},
        {"database away", Fim(FimExecucao::SemConexao, 0, 0, "Unable to complete network request"),
         SemComunicacao,
         "A sincronização falhou: sem conexão com o banco de dados: Unable to complete network "
         "request",
         true},
        {"then the API", Fim(FimExecucao::SemListagem, 0, 0, "HTTP 503"), SemComunicacao,
         std::nullopt, false},
        {"all good again", Fim(FimExecucao::Concluida, 0), Normal, normalizada, false},
        {"and again", Fim(FimExecucao::Concluida, 1), Normal, std::nullopt, false},
        {"an error ended the run", Fim(std::nullopt, 0, 0, "erro inesperado"), SemComunicacao,
         "A sincronização falhou: a sincronização foi interrompida por um erro: erro inesperado",
         true},
        {"one order failed", Fim(FimExecucao::Concluida, 4, 1), PedidosComFalha,
         "1 pedido não pôde ser incluído no sistema. Veja a página \"2. Histórico\".", true},
        {"good", Fim(FimExecucao::Concluida, 1), Normal, normalizada, false},
        // Another copy imports: one overlap of two copies' runs is no trouble, imports that
        // stay with the other copy run after run are.
        {"left to another copy", Adiados(2), Normal, std::nullopt, false},
        {"again", Adiados(2), Normal, std::nullopt, false},
        {"a third time", Adiados(1), PedidosComFalha,
         "Pedidos adiados em 3 execuções seguidas: outra cópia do programa está importando "
         "pedidos neste banco de dados.",
         true},
        {"and a fourth", Adiados(1), PedidosComFalha, std::nullopt, false},
        {"imported here again", Fim(FimExecucao::Concluida, 1), Normal, normalizada, false},
        {"left once more", Adiados(1), Normal, std::nullopt, false},
    };
    SituacaoBandeja situacao;
    EXPECT_EQ(situacao.Estado(), Normal);
    for (const auto& passo : passos) {
        SCOPED_TRACE(passo.execucao);
        situacao.ExecucaoIniciada();
        EXPECT_EQ(situacao.Estado(), EmExecucao);
        const auto notificacao = situacao.ExecucaoTerminada(passo.resumo);
        EXPECT_EQ(situacao.Estado(), passo.estado);
        ASSERT_EQ(notificacao.has_value(), passo.notificacao.has_value());
        if (notificacao) {
            EXPECT_EQ(notificacao->texto, *passo.notificacao);
            EXPECT_EQ(notificacao->falha, passo.falha);
        }
    }
}

TEST(SituacaoBandejaTest, DicaResumeAUltimaExecucao) {
    SituacaoBandeja situacao;
    EXPECT_EQ(situacao.Dica(), "tessora Service");
    const struct {
        ResumoExecucao resumo;
        const char* resumoEsperado;
    } casos[] = {
        {Fim(FimExecucao::Concluida), "Nenhum novo pedido"},
        {Fim(FimExecucao::Concluida, 1), "1 pedido processado"},
        {Fim(FimExecucao::Concluida, 5, 2), "5 pedidos processados, 2 com falha"},
        {Fim(FimExecucao::Concluida, 3, 0, "", 3),
         "3 pedidos processados, 3 adiado(s) por outra cópia"},
        {Fim(FimExecucao::SemListagem, 0, 0, "HTTP 503"),
         "Falhou: não foi possível obter a lista de novos pedidos"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.resumoEsperado);
        const std::string ultima = "Último processamento: " + DataHoraSegundos(caso.resumo.inicio) +
                                   "\n" + caso.resumoEsperado;
        situacao.ExecucaoIniciada();
        EXPECT_TRUE(situacao.Dica().starts_with("tessora Service\nSincronizando..."));
        static_cast<void>(situacao.ExecucaoTerminada(caso.resumo));
        EXPECT_EQ(situacao.Dica(), "tessora Service\n" + ultima);
    }
}

// Where a run stands, on the tooltip while it goes; the next run starts without it.
TEST(SituacaoBandejaTest, DicaMostraOPedidoQueAExecucaoLe) {
    SituacaoBandeja situacao;
    situacao.ExecucaoIniciada();
    EXPECT_EQ(situacao.Dica(), "tessora Service\nSincronizando...");
    situacao.Progresso({3, 10});
    EXPECT_EQ(situacao.Dica(), "tessora Service\nSincronizando... Pedido 3 de 10");
    static_cast<void>(situacao.ExecucaoTerminada({{}, FimExecucao::Concluida}));
    situacao.ExecucaoIniciada();
    EXPECT_EQ(situacao.Dica().find("Pedido 3"), std::string::npos);
}

}  // namespace
}  // namespace tessora::app
