// --historico and --estado on a small history written through the history itself.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "api/json_consulta.h"
#include "api/json_leitura.h"
#include "app/comandos/comando_estado.h"
#include "app/comandos/comando_historico.h"
#include "app/configuracoes/leitura_configuracoes.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/historico/historico_execucoes.h"
#include "app/historico/instante_historico.h"
#include "app/historico/leitura_historico.h"
#include "arquivos_teste.h"
#include "banco_teste.h"

namespace tessora::app {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;
using Instante = std::chrono::system_clock::time_point;

Instante Em(int64_t segundos) { return Instante(std::chrono::seconds(segundos)); }

class ComandosHistoricoTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta;
    std::filesystem::path executavel = pasta.Caminho() / "tessoraService";
    HistoricoExecucoes historico{LerConfiguracoes(executavel).historico};

    void Execucao(Instante inicio, std::optional<FimExecucao> fim,
                  const std::vector<ResultadoPedido>& pedidos, const std::string& motivo = "") {
        historico.ExecucaoIniciada(OrigemExecucao::Temporizador, inicio);
        for (const auto& pedido : pedidos) historico.PedidoProcessado(pedido);
        historico.ExecucaoTerminada({inicio, fim, inicio + 3s, motivo});
    }
    static ResultadoPedido Falhou(const std::string& id) {
        return {id, DesfechoPedido::NaoIncluido,
                "Não foi possível incluir o pedido: " + id + " no sistema"};
    }
    static ResultadoPedido Incluido(const std::string& id, int32_t chave) {
        return {id,  DesfechoPedido::Incluido, "Pedido incluído no sistema.", chave, 5000 + chave,
                true};
    }

    std::pair<int, std::string> Historico(std::vector<std::string_view> argumentos) {
        const auto opcoes = LerOpcoesHistorico(argumentos);
        EXPECT_TRUE(opcoes.Aceito());
        std::ostringstream saida, erros;
        const int codigo = ComandoHistorico(
            executavel, opcoes.Aceito() ? opcoes.Valor() : OpcoesHistorico{}, saida, erros);
        EXPECT_EQ(erros.str(), "");
        return {codigo, saida.str()};
    }
    std::pair<int, std::string> Estado(Instante agora) {
        std::ostringstream saida;
        const int codigo = ComandoEstado(executavel, saida, agora);
        return {codigo, saida.str()};
    }
};

// Two local days: a run on the 14th whose order failed (its message holding a comma and
// quotes), then on the 15th one that wrote it and one that could not reach the database.
class SaidasHistoricoTest : public ComandosHistoricoTest {
  protected:
    const int64_t dia14 = *InicioDoDiaLocal("14/03/2024") + 3600;
    const int64_t dia15 = *InicioDoDiaLocal("15/03/2024") + 3600;

    void SetUp() override {
        Execucao(Em(dia14), FimExecucao::Concluida,
                 {{"p-1", DesfechoPedido::Erro, R"(Erro na leitura do pedido: p-1 Erro: "x", y)"}});
        ResultadoPedido comTotaisDivergentes = Incluido("p-2", 8);
        comTotaisDivergentes.observacao =
            "Totais não conferem (produtos 1,00, soma dos itens 2,00)";
        // Kept for the page; the CSV for scripts stays as it was.
        comTotaisDivergentes.cliente = "Padaria D'Ouro; Filial (12.345.678/0001-95)";
        Execucao(Em(dia15), FimExecucao::Concluida, {Incluido("p-1", 7), comTotaisDivergentes});
        Execucao(Em(dia15 + 600), FimExecucao::SemConexao, {}, "unavailable database");
    }
};

TEST_F(SaidasHistoricoTest, CsvUmaLinhaPorPedidoEFiltros) {
    const std::string cabecalho =
        "execucao,origem,inicio,termino,desfecho_execucao,motivo,pedido,desfecho,mensagem,id_nf_"
        "comercio,"
        "nr_nota_fiscal,cliente_cadastrado,falhas_seguidas,observacao\r\n";
    const std::string linha1 =
        "1,temporizador," + InstanteIso(dia14) + "," + InstanteIso(dia14 + 3) +
        R"(,normal,,p-1,erro,"Erro na leitura do pedido: p-1 Erro: ""x"", y",,,,1,)"
        "\r\n";
    const std::string execucao2 =
        "2,temporizador," + InstanteIso(dia15) + "," + InstanteIso(dia15 + 3) + ",normal,,";
    const std::string linha2 =
        execucao2 + "p-1,incluido,Pedido incluído no sistema.,7,5007,1,0,\r\n" + execucao2 +
        "p-2,incluido,Pedido incluído no sistema.,8,5008,1,0,\"Totais não conferem (produtos "
        "1,00, soma dos itens 2,00)\"\r\n";
    const std::string linha3 = "3,temporizador," + InstanteIso(dia15 + 600) + "," +
                               InstanteIso(dia15 + 603) +
                               ",sem_conexao,unavailable database,,,,,,,,\r\n";
    const std::pair<std::vector<std::string_view>, std::string> casos[] = {
        {{"--formato", "csv"}, cabecalho + linha1 + linha2 + linha3},
        {{"--formato", "csv", "--falhas"}, cabecalho + linha1 + linha3},
        {{"--desde", "15/03/2024", "--formato", "csv"}, cabecalho + linha2 + linha3},
        {{"--falhas", "--desde", "16/03/2024", "--formato", "csv"}, cabecalho},
    };
    for (const auto& [argumentos, esperado] : casos) {
        SCOPED_TRACE(argumentos.size());
        EXPECT_EQ(Historico(argumentos), std::make_pair(0, esperado));
    }
    EXPECT_EQ(InstanteIso(1710520325), "2024-03-15T16:32:05Z");
}

TEST_F(SaidasHistoricoTest, PesquisaPorPedidoEUltimasExecucoes) {
    // Each run as its id and its orders' ids.
    const auto ler = [&](const FiltroHistorico& filtro) {
        std::vector<std::pair<int64_t, std::vector<std::string>>> lista;
        for (const auto& e :
             LeituraHistorico(ObterArquivoHistorico(executavel)).Execucoes(filtro)) {
            std::vector<std::string> pedidos;
            for (const auto& p : e.pedidos) pedidos.push_back(p.idApp + " " + p.desfecho);
            lista.emplace_back(e.id, pedidos);
        }
        return lista;
    };
    using Lista = std::vector<std::pair<int64_t, std::vector<std::string>>>;
    const std::pair<FiltroHistorico, Lista> casos[] = {
        {{.pesquisa = "P-1"}, {{1, {"p-1 erro"}}, {2, {"p-1 incluido"}}}},
        {{.pesquisa = "q"}, {}},
        // The ERP's number and the customer, its name or document.
        {{.pesquisa = "5008"}, {{2, {"p-2 incluido"}}}},
        {{.pesquisa = "500"}, {{2, {"p-1 incluido", "p-2 incluido"}}}},
        {{.pesquisa = "PADARIA d'"}, {{2, {"p-2 incluido"}}}},
        {{.pesquisa = "345.678"}, {{2, {"p-2 incluido"}}}},
        // The run that could not connect holds no order with that id.
        {{.soFalhas = true, .pesquisa = "-"}, {{1, {"p-1 erro"}}}},
        {{.ultimas = 2}, {{2, {"p-1 incluido", "p-2 incluido"}}, {3, {}}}},
        {{.soFalhas = true, .ultimas = 1}, {{3, {}}}},
        {{.desde = dia15, .pesquisa = "p", .ultimas = 5}, {{2, {"p-1 incluido", "p-2 incluido"}}}},
    };
    for (const auto& [filtro, esperado] : casos) {
        SCOPED_TRACE(filtro.pesquisa + " " + std::to_string(filtro.ultimas.value_or(0)));
        EXPECT_EQ(ler(filtro), esperado);
    }
}

TEST_F(SaidasHistoricoTest, JsonLegivelComContagensEPedidos) {
    const auto [codigo, texto] = Historico({"--formato", "json"});
    EXPECT_EQ(codigo, 0);
    const auto documento = LerRespostaJson(texto);
    ASSERT_TRUE(documento) << texto;
    const JsonLista* execucoes = JsonValorPorNome(documento, "execucoes")->ComoLista();
    ASSERT_EQ(execucoes->size(), 3u);
    const JsonObjeto& primeira = *(*execucoes)[0].ComoObjeto();
    EXPECT_EQ(JsonTextoPorNome(primeira, "inicio"), InstanteIso(dia14));
    EXPECT_EQ(JsonTextoPorNome(primeira, "erros"), "1");
    const JsonObjeto& pedido =
        *(*JsonValorPorNome(primeira, "pedidos")->ComoLista())[0].ComoObjeto();
    EXPECT_EQ(JsonTextoPorNome(pedido, "mensagem"),
              R"(Erro na leitura do pedido: p-1 Erro: "x", y)");
    EXPECT_EQ(JsonValorPorNome(pedido, "id_nf_comercio")->Tipo(), JsonTipo::Nulo);
    EXPECT_THAT(texto,
                HasSubstr(R"("id_nf_comercio":7,"nr_nota_fiscal":5007,"cliente_cadastrado":true)"));
    EXPECT_THAT(texto, HasSubstr(R"("desfecho":"sem_conexao","motivo":"unavailable database")"));
    EXPECT_THAT(
        texto,
        HasSubstr(R"j("observacao":"Totais não conferem (produtos 1,00, soma dos itens 2,00)"})j"));
}

TEST_F(SaidasHistoricoTest, TabelaComUmaLinhaPorExecucaoEColunasAlinhadas) {
    const auto [codigo, texto] = Historico({});
    EXPECT_EQ(codigo, 0);
    EXPECT_THAT(
        texto,
        HasSubstr(
            "Execução 2 (temporizador): " + InstanteLocal(dia15) + " a " +
            InstanteLocal(dia15 + 3) +
            ", normal\n"
            "  incluídos 2, já incluídos 0, adiados 0, não incluídos 0, erros 0\n"
            "  Pedido  Desfecho  Falhas seguidas  Chave ERP  Número  Cliente cadastrado  Mensagem"
            "                     Observação\n"
            "  p-1     incluido  0                7          5007    sim                 "
            "Pedido incluído no sistema.\n"
            "  p-2     incluido  0                8          5008    sim                 "
            "Pedido incluído no sistema.  Totais não conferem (produtos 1,00, soma dos itens "
            "2,00)\n"));
    // A run without remarks has no column for them.
    EXPECT_THAT(texto, HasSubstr("Cliente cadastrado  Mensagem\n  p-1     erro"));
    EXPECT_THAT(texto, HasSubstr(", sem_conexao: unavailable database\n"));
    // Newest first, as in the window.
    EXPECT_LT(texto.find("Execução 3 "), texto.find("Execução 2 "));
    EXPECT_LT(texto.find("Execução 2 "), texto.find("Execução 1 "));
}

TEST_F(ComandosHistoricoTest, TabelaComMotivosDeVariasLinhasGuardaUmaLinhaPorPedido) {
    ResultadoPedido recusado = Falhou("p-9");
    recusado.observacao = "Operação recusada pelo banco de dados: linha 1\nlinha 2";
    Execucao(Em(1'700'000'000), FimExecucao::Concluida, {recusado, Falhou("p-10")});
    Execucao(Em(1'700'000'600), FimExecucao::SemListagem, {},
             "HTTP 500\r\n\r\n<html>erro</html>\n");
    const auto [codigo, texto] = Historico({});
    EXPECT_EQ(codigo, 0);
    EXPECT_THAT(texto, HasSubstr(", sem_listagem: HTTP 500 / <html>erro</html>\n  incluídos 0"));
    EXPECT_THAT(texto,
                HasSubstr("Operação recusada pelo banco de dados: linha 1 / linha 2\n  p-10 "));
}

TEST_F(ComandosHistoricoTest, ArgumentosNaoEntendidosSaoNomeados) {
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> casos = {
        {{"--desde"}, "--desde: falta a data (dd/mm/aaaa)"},
        {{"--desde", "2024-03-15"}, "--desde: \"2024-03-15\" não é uma data dd/mm/aaaa"},
        {{"--desde", "31/02/2024"}, "--desde: \"31/02/2024\" não é uma data dd/mm/aaaa"},
        {{"--falhas", "--desde", "1/3/2024"}, "--desde: \"1/3/2024\" não é uma data dd/mm/aaaa"},
        {{"--formato", "xml"}, "--formato: use csv ou json"},
        {{"--formato"}, "--formato: use csv ou json"},
        {{"--falha"}, "argumento não reconhecido: \"--falha\""},
    };
    for (const auto& [argumentos, motivo] : casos) {
        const auto opcoes = LerOpcoesHistorico(argumentos);
        ASSERT_FALSE(opcoes.Aceito()) << argumentos[0];
        EXPECT_EQ(opcoes.Motivo(), motivo);
    }
}

TEST_F(ComandosHistoricoTest, SemHistoricoDizPorQue) {
    std::ostringstream saida, erros;
    EXPECT_EQ(ComandoHistorico(executavel, {}, saida, erros), 1);
    EXPECT_THAT(erros.str(), HasSubstr("Histórico indisponível: "));
    EXPECT_FALSE(
        std::filesystem::exists(ObterArquivoHistorico(executavel)));  // reading creates nothing
}

TEST_F(ComandosHistoricoTest, EstadoSaiComUmSoQuandoAlgoVaiMal) {
    const Instante agora = std::chrono::system_clock::now();
    EXPECT_EQ(Estado(agora).first, 1);  // no history yet

    struct Caso {
        const char* descricao;
        std::function<void()> preparar;
        int codigo;
        const char* trecho;
    };
    const Caso casos[] = {
        {"normal run", [&] { Execucao(agora - 30h, FimExecucao::Concluida, {Incluido("p-1", 1)}); },
         0, R"("saudavel":true)"},
        {"listing failed",
         [&] { Execucao(agora - 29h, FimExecucao::SemListagem, {}, "HTTP/1.1 401"); }, 1,
         "A última execução não terminou normalmente (sem_listagem): HTTP/1.1 401"},
        {"an order failing for a short while",
         [&] {
             Execucao(agora - 28h, FimExecucao::Concluida, {Falhou("p-2")});
             Execucao(agora - 1h, FimExecucao::Concluida, {Falhou("p-3")});
         },
         1, "O pedido p-2 falha desde "},
        {"the long-failing order went in",
         [&] { Execucao(agora - 10min, FimExecucao::Concluida, {Incluido("p-2", 2)}); }, 0,
         R"("id_app":"p-3","falhas_seguidas":1)"},
        {"a run still going", [&] { historico.ExecucaoIniciada(OrigemExecucao::Botao, agora); }, 0,
         R"("termino":null,"desfecho":null)"},
        {"an error ended the last run",
         [&] { Execucao(agora, std::nullopt, {}, "Invalid class typecast"); }, 1,
         "(erro): Invalid class typecast"},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        caso.preparar();
        const auto [codigo, texto] = Estado(agora);
        EXPECT_EQ(codigo, caso.codigo) << texto;
        EXPECT_THAT(texto, HasSubstr(caso.trecho));
        EXPECT_TRUE(LerRespostaJson(texto)) << texto;
    }
}

TEST_F(ComandosHistoricoTest, EstadoDizQuandoOutraCopiaFicaComOsPedidosExecucaoAposExecucao) {
    const Instante agora = std::chrono::system_clock::now();
    const ResultadoPedido adiado{"p-1", DesfechoPedido::Adiado, "Outra cópia ..."};
    Execucao(agora - 20min, FimExecucao::Concluida, {adiado});
    Execucao(agora - 15min, FimExecucao::Concluida, {adiado});
    EXPECT_EQ(Estado(agora).first, 0);
    historico.ExecucaoIniciada(OrigemExecucao::Botao, agora - 12min);  // cut short: not counted
    Execucao(agora - 10min, FimExecucao::Concluida, {adiado});
    const auto [codigo, texto] = Estado(agora);
    EXPECT_EQ(codigo, 1);
    EXPECT_THAT(texto, HasSubstr("Pedidos adiados nas últimas 3 execuções: outra cópia do "
                                 "programa está importando pedidos neste banco de dados."));
    Execucao(agora - 5min, FimExecucao::Concluida, {Incluido("p-1", 1)});
    EXPECT_EQ(Estado(agora).first, 0);
}

TEST_F(ComandosHistoricoTest, EstadoToleraFalhasPeloTempoConfigurado) {
    // p-1 failed long ago and is no longer listed: the latest run included another order.
    const Instante agora = std::chrono::system_clock::now();
    Execucao(agora - 30h, FimExecucao::Concluida, {Falhou("p-1")});
    Execucao(agora - 5min, FimExecucao::Concluida, {Incluido("p-2", 2)});
    EXPECT_EQ(Estado(agora).first, 1);
    testes::GravarArquivo(pasta.Caminho() / "tessoraService.ini",
                          "[AppForcaVendas]\r\nHorasFalhaTolerada=48\r\n");
    const auto [codigo, texto] = Estado(agora);
    EXPECT_EQ(codigo, 0) << texto;
    EXPECT_THAT(texto, HasSubstr(R"("horas_falha_tolerada":48)"));
    EXPECT_THAT(texto, HasSubstr(R"("id_app":"p-1","falhas_seguidas":1,"desde":")" +
                                 InstanteIso(SegundosHistorico(agora - 30h)) + "\""));
}

TEST_F(ComandosHistoricoTest, EstadoDizOTipoDoProblemaEOsPedidosComAviso) {
    const Instante agora = std::chrono::system_clock::now();
    historico.ExecucaoIniciada(OrigemExecucao::Temporizador, agora - 10min);
    ResumoExecucao recusado{agora - 10min, FimExecucao::SemListagem, agora - 10min,
                            "HTTP/1.1 401 Unauthorized"};
    recusado.problema = ProblemaExecucao::TokenRecusado;
    historico.ExecucaoTerminada(recusado);
    auto [codigo, texto] = Estado(agora);
    EXPECT_EQ(codigo, 1);
    EXPECT_THAT(texto, HasSubstr("(sem_listagem): HTTP/1.1 401 Unauthorized Problema: token "
                                 "recusado pela API. Confira o token do APP no sistema."));
    EXPECT_THAT(texto, HasSubstr(R"("problema":{"codigo":"token_recusado")"));

    // Warnings are told, never counted as failures.
    ResultadoPedido comAviso = Incluido("p-9", 9);
    comAviso.desfecho = DesfechoPedido::IncluidoComAviso;
    comAviso.observacao = "Produto -99 no lugar de X1\nTotais não conferem\n";
    Execucao(agora - 5min, FimExecucao::Concluida, {Incluido("p-8", 8), comAviso});
    std::tie(codigo, texto) = Estado(agora);
    EXPECT_EQ(codigo, 0) << texto;
    EXPECT_THAT(texto, HasSubstr(R"("problema":null)"));
    EXPECT_THAT(texto, HasSubstr(R"("pedidos_com_aviso":[)"
                                 "\n  "
                                 R"({"id_app":"p-9","aviso":"Produto -99 no lugar de X1; Totais )"
                                 R"(não conferem"})"));
    EXPECT_TRUE(LerRespostaJson(texto)) << texto;
}

// As the tray icon turns amber, whatever the tolerance.
TEST_F(ComandosHistoricoTest, EstadoNaoSaudavelQuandoAUltimaExecucaoNaoIncluiuPedidos) {
    testes::GravarArquivo(pasta.Caminho() / "tessoraService.ini",
                          "[AppForcaVendas]\r\nHorasFalhaTolerada=48\r\n");
    const Instante agora = std::chrono::system_clock::now();
    Execucao(agora - 5min, FimExecucao::Concluida, {Falhou("p-1"), Incluido("p-2", 2)});
    const auto [codigo, texto] = Estado(agora);
    EXPECT_EQ(codigo, 1);
    EXPECT_THAT(texto, HasSubstr("A última execução não incluiu 1 pedido(s)."));
}

TEST_F(ComandosHistoricoTest, EstadoNaoSaudavelQuandoAsExecucoesAutomaticasPararam) {
    const Instante agora = std::chrono::system_clock::now();
    struct Caso {
        const char* configuracoes;
        std::chrono::minutes ultimaExecucao;  // ago, when it ended
        int codigo;
    };
    const Caso casos[] = {
        {"ProcessoAtivo=S\r\nTempoEsperaAtualizacao=5", 14min, 0},
        {"ProcessoAtivo=S\r\nTempoEsperaAtualizacao=5", 16min, 1},  // three intervals
        {"ProcessoAtivo=S\r\nTempoEsperaAtualizacao=600", 23h, 0},
        {"ProcessoAtivo=S\r\nTempoEsperaAtualizacao=600", 25h, 1},  // at most a day
        {"ProcessoAtivo=S\r\nTempoEsperaAtualizacao=x", 25h, 1},    // no timer either
        {"ProcessoAtivo=S\r\nTempoEsperaAtualizacao=0", 72h, 0},    // no automatic runs
        {"ProcessoAtivo=N\r\nTempoEsperaAtualizacao=5", 72h, 0},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(std::string(caso.configuracoes) + ", " +
                     std::to_string(caso.ultimaExecucao.count()) + " min");
        testes::GravarArquivo(pasta.Caminho() / "tessoraService.ini",
                              std::string("[AppForcaVendas]\r\nHorasFalhaTolerada=100\r\n") +
                                  caso.configuracoes + "\r\n");
        std::filesystem::remove(ObterArquivoHistorico(executavel));
        HistoricoExecucoes novo{LerConfiguracoes(executavel).historico};
        const Instante fim = agora - caso.ultimaExecucao;
        novo.ExecucaoIniciada(OrigemExecucao::Temporizador, fim - 3s);
        novo.ExecucaoTerminada({fim - 3s, FimExecucao::Concluida, fim});
        const auto [codigo, texto] = Estado(agora);
        EXPECT_EQ(codigo, caso.codigo) << texto;
        EXPECT_EQ(
            texto.find("As execuções automáticas pararam: a última foi em ") != std::string::npos,
            caso.codigo == 1)
            << texto;
    }
}

}  // namespace
}  // namespace tessora::app
