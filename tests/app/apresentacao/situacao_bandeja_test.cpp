// The tray icon's state, tooltip and notifications from a sequence of runs.
#include "app/apresentacao/situacao_bandeja.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "app/apresentacao/descricao_falha.h"
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

ResumoExecucao Problema(FimExecucao fim, ProblemaExecucao problema, std::string motivo) {
    ResumoExecucao resumo = Fim(fim, 0, 0, std::move(motivo));
    resumo.problema = problema;
    return resumo;
}

TEST(SituacaoBandejaTest, UmaNotificacaoPorEpisodioDeFalhaEOutraQuandoElasPassam) {
    using enum EstadoBandeja;
    const std::string falhaPedidos =
        "2 pedidos não puderam ser incluídos no sistema. Veja \"Pedidos com falha\".";
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
         "1 pedido não pôde ser incluído no sistema. Veja \"Pedidos com falha\".", true},
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
    EXPECT_EQ(situacao.Estado(), Indefinido);
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

// Each kind of trouble is an episode of its own: what the operator must check has changed.
TEST(SituacaoBandejaTest, OutroTipoDeProblemaEOutroEpisodio) {
    using enum ProblemaExecucao;
    const struct {
        const char* execucao;
        ResumoExecucao resumo;
        std::optional<std::string> notificacao;
    } passos[] = {
        {"token refused",
         Problema(FimExecucao::SemListagem, TokenRecusado, "HTTP/1.1 401 Unauthorized"),
         "A sincronização falhou: token recusado pela API. Confira o token do APP no sistema."},
        {"refused again",
         Problema(FimExecucao::SemListagem, TokenRecusado, "HTTP/1.1 401 Unauthorized"),
         std::nullopt},
        {"then no answer",
         Problema(FimExecucao::SemListagem, ApiInacessivel, "Couldn't connect to server"),
         "A sincronização falhou: API inacessível. Confira a conexão com a internet."},
        {"then the database, after the API outage",
         Problema(FimExecucao::SemConexao, BancoInacessivel, "Unable to complete network request"),
         "A sincronização falhou: sem conexão com o banco de dados. Confira o servidor do banco."},
        {"the clock",
         Problema(FimExecucao::SemListagem, CertificadoForaDoPrazo, "SSL certificate problem"),
         "A sincronização falhou: certificado fora da validade. Confira a data e a hora do PC."},
    };
    SituacaoBandeja situacao;
    for (const auto& passo : passos) {
        SCOPED_TRACE(passo.execucao);
        situacao.ExecucaoIniciada();
        const auto notificacao = situacao.ExecucaoTerminada(passo.resumo);
        EXPECT_EQ(situacao.Estado(), EstadoBandeja::SemComunicacao);
        ASSERT_EQ(notificacao.has_value(), passo.notificacao.has_value());
        if (notificacao) {
            EXPECT_EQ(notificacao->texto, *passo.notificacao);
        }
    }
}

// Windows keeps 127 characters of a tray tooltip: the next step must not be what it cuts.
TEST(SituacaoBandejaTest, DicaComOProximoPassoCabeNaBandejaDoWindows) {
    for (const ProblemaExecucao problema :
         {ProblemaExecucao::TokenRecusado, ProblemaExecucao::CertificadoRecusado,
          ProblemaExecucao::CertificadoForaDoPrazo, ProblemaExecucao::ApiInacessivel,
          ProblemaExecucao::ErroApi, ProblemaExecucao::BancoInacessivel,
          ProblemaExecucao::Configuracao}) {
        SituacaoBandeja situacao;
        static_cast<void>(
            situacao.ExecucaoTerminada(Problema(FimExecucao::SemListagem, problema, "x")));
        const std::string dica = situacao.Dica();
        SCOPED_TRACE(dica);
        EXPECT_TRUE(dica.ends_with(ProximoPasso(Problema(FimExecucao::SemListagem, problema, ""))));
        // Every character of these texts is one UTF-16 unit: count all but continuation bytes.
        EXPECT_LE(std::ranges::count_if(dica, [](char c) { return (c & 0xC0) != 0x80; }), 127);
    }
}

TEST(SituacaoBandejaTest, ComecaPeloQueOHistoricoDeixou) {
    using enum EstadoBandeja;
    const auto inicio = std::chrono::system_clock::now() - std::chrono::hours(3);
    const std::string ultimo = "Último processamento: " + DataHoraSegundos(inicio) + "\n";
    const auto Registrada = [&](ResumoExecucao resumo, int comAdiados = 0) {
        resumo.inicio = inicio;
        return SituacaoRegistrada{resumo, comAdiados, {}, {}};
    };
    ResumoExecucao comAviso = Fim(FimExecucao::Concluida, 5, 2);
    comAviso.pedidosComAviso = 1;
    const struct {
        const char* caso;
        SituacaoRegistrada situacao;
        bool automatica;
        EstadoBandeja estado;
        std::string dica;
    } casos[] = {
        {"nothing ran yet", {}, true, Indefinido, "Nenhuma sincronização registrada"},
        {"nothing ran, automatic runs off",
         {},
         false,
         Desligada,
         "Nenhuma sincronização registrada\nSincronização automática desligada"},
        {"good", Registrada(Fim(FimExecucao::Concluida, 2)), true, Normal,
         ultimo + "2 pedidos processados"},
        {"good, automatic runs off", Registrada(Fim(FimExecucao::Concluida, 2)), false, Desligada,
         ultimo + "2 pedidos processados\nSincronização automática desligada"},
        {"warnings and failures", Registrada(comAviso), true, PedidosComFalha,
         ultimo + "5 pedidos processados, 1 com aviso, 2 com falha"},
        {"left to another copy run after run", Registrada(Adiados(1), 3), true, PedidosComFalha,
         ultimo + "1 pedido processado, 1 adiado(s) por outra cópia"},
        {"the clock, automatic runs off",
         Registrada(Problema(FimExecucao::SemListagem, ProblemaExecucao::CertificadoForaDoPrazo,
                             "SSL certificate problem: certificate has expired")),
         false, SemComunicacao,
         ultimo + "Falhou: certificado fora da validade\nConfira a data e a hora do PC.\n"
                  "Sincronização automática desligada"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.caso);
        SituacaoBandeja situacao;
        situacao.DefinirSincronizacaoAutomatica(caso.automatica);
        situacao.Restaurar(caso.situacao);
        EXPECT_EQ(situacao.Estado(), caso.estado);
        EXPECT_EQ(situacao.Dica(), "tessora Service\n" + caso.dica);
    }

    SituacaoBandeja ilegivel;
    ilegivel.HistoricoIndisponivel();
    EXPECT_EQ(ilegivel.Estado(), Indefinido);
    EXPECT_EQ(ilegivel.Dica(),
              "tessora Service\nSituação desconhecida: o histórico não pôde ser lido");
}

// A run that goes on from the history's state notifies only what changed.
TEST(SituacaoBandejaTest, PrimeiraExecucaoSegueOEpisodioDoHistorico) {
    SituacaoBandeja situacao;
    situacao.Restaurar(
        {Problema(FimExecucao::SemListagem, ProblemaExecucao::TokenRecusado, "401"), 0, {}, {}});
    EXPECT_FALSE(situacao.ExecucaoTerminada(
        Problema(FimExecucao::SemListagem, ProblemaExecucao::TokenRecusado, "401")));
    const auto normalizada = situacao.ExecucaoTerminada(Fim(FimExecucao::Concluida, 1));
    ASSERT_TRUE(normalizada);
    EXPECT_FALSE(normalizada->falha);

    SituacaoBandeja semHistorico;
    EXPECT_FALSE(semHistorico.ExecucaoTerminada(Fim(FimExecucao::Concluida, 1)));
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
