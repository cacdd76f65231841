// The history of runs and orders: what real runs against the substitute API and an embedded
// ERP leave in it, a history that cannot be written, and the pruning of old runs.
#include "app/historico/historico_execucoes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "api_substituta.h"
#include "app/comandos/comando_estado.h"
#include "app/comandos/comando_sincronizar.h"
#include "app/configuracoes/leitura_configuracoes.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/execucao/observacao_execucao.h"
#include "app/execucao/pedidos_via_api.h"
#include "app/historico/esquema_historico.h"
#include "app/historico/instante_historico.h"
#include "app/historico/leitura_historico.h"
#include "arquivos_teste.h"
#include "avisos_gravados.h"
#include "banco_teste.h"
#include "instalacao_erp_teste.h"
#include "painel_gravado.h"

namespace tessora::app {
namespace {

using testes::PainelGravado;
using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

std::string EstadoDemonstracao() {
    std::ifstream entrada(testes::PastaFontes() / "erp/demo/estado-api.json", std::ios::binary);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    return conteudo.str();
}

// The real import, except for the orders that another copy of the program is said to be importing.
class PedidosComOutraCopia : public PedidosViaApi {
  public:
    importacao::ResultadoImportacao ImportarPedido(
        ContextoSincronizacao& contexto, const std::string& id,
        const importacao::DocumentoPedido& documento) override {
        if (emOutraCopia.contains(id))
            return {importacao::DesfechoImportacao::OutraCopiaImportando, "processo 7"};
        return PedidosViaApi::ImportarPedido(contexto, id, documento);
    }
    std::set<std::string> emOutraCopia;
};

class HistoricoExecucoesTest : public ::testing::Test {
  protected:
    testes::InstalacaoErpTeste erp;
    testes::ApiSubstituta servidor{EstadoDemonstracao()};
    testes::AvisosGravados avisos;
    PainelGravado painel;
    PedidosComOutraCopia pedidos;
    db::CaminhosAtualizacao caminhos;
    ConfiguracoesHistorico configuracoes = LerConfiguracoes(erp.Executavel()).historico;

    std::optional<FimExecucao> Executar(OrigemExecucao origem = OrigemExecucao::Temporizador) {
        HistoricoExecucoes historico(configuracoes);
        const AmbienteExecucao ambiente{
            erp.Executavel(), {servidor.UrlBase(), servidor.ArquivoCertificado()},
            avisos,           painel,
            pedidos,          caminhos,
            origem,           &historico};
        return ProcessarAppForcaVenda(ambiente).fim;
    }
    void FalharPedido(const std::string& id) {
        servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/pedidos/" + id, .status = 500});
    }
    std::string Chave(const std::string& id) const {
        return *erp.Banco().Ler(
            "select ID_NF_COMERCIO from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = '" + id + "'",
            "ID_NF_COMERCIO");
    }
};

std::string Texto(const std::optional<int64_t>& valor) {
    return valor ? std::to_string(*valor) : "-";
}

// An order as one line: id, outcome, runs failed in a row, key, number, customer registered.
std::string Resumo(const PedidoRegistrado& p) {
    return p.idApp + " " + p.desfecho + " " + std::to_string(p.falhasSeguidas) + " " +
           Texto(p.idNfComercio) + " " + Texto(p.nrNotaFiscal) + " " + Texto(p.clienteCadastrado);
}

TEST_F(HistoricoExecucoesTest, GuardaCadaExecucaoECadaPedidoComoOLogMostra) {
    // ped-3001 cannot be read twice; ped-3002 goes in with a new customer.
    FalharPedido("ped-3001");
    ASSERT_EQ(Executar(), FimExecucao::Concluida);
    const std::vector<std::string> linhasPrimeira = painel.linhas;
    ASSERT_EQ(Executar(OrigemExecucao::Botao), FimExecucao::Concluida);
    const auto emFalha = LeituraHistorico(configuracoes.arquivo).PedidosEmFalha();
    ASSERT_EQ(emFalha.size(), 1u);
    EXPECT_EQ(emFalha[0].idApp, "ped-3001");
    EXPECT_EQ(emFalha[0].falhasSeguidas, 2);

    // Then it goes in, and ped-3002, whose acknowledgement the API lost, is found already there.
    servidor.RemoverRegras();
    servidor.DefinirEstado(EstadoDemonstracao());
    ASSERT_EQ(Executar(OrigemExecucao::LinhaComando), FimExecucao::Concluida);

    LeituraHistorico leitura(configuracoes.arquivo);
    const auto execucoes = leitura.Execucoes({});
    ASSERT_EQ(execucoes.size(), 3u);
    EXPECT_EQ(execucoes[0].origem, "temporizador");
    EXPECT_EQ(execucoes[1].origem, "botao");
    EXPECT_EQ(execucoes[2].origem, "linha_comando");
    for (const auto& e : execucoes) {
        EXPECT_EQ(e.desfecho, "normal");
        EXPECT_EQ(e.motivo, "");
        ASSERT_TRUE(e.termino);
        EXPECT_LE(e.inicio, *e.termino);
    }
    std::vector<std::vector<std::string>> resumos;
    for (const auto& e : execucoes) {
        resumos.emplace_back();
        for (const auto& p : e.pedidos) resumos.back().push_back(Resumo(p));
    }
    EXPECT_THAT(
        resumos,
        ElementsAre(ElementsAre("ped-3001 nao_incluido 1 - - -",
                                // written with a placeholder product
                                "ped-3002 incluido_com_aviso 0 " + Chave("ped-3002") + " 3002 1"),
                    ElementsAre("ped-3001 nao_incluido 2 - - -"),
                    ElementsAre("ped-3001 incluido 0 " + Chave("ped-3001") + " 3001 0",
                                "ped-3002 ja_incluido 0 - - -")));
    EXPECT_EQ(execucoes[0].incluidos, 1);
    EXPECT_EQ(execucoes[0].naoIncluidos, 1);
    EXPECT_EQ(execucoes[2].jaIncluidos, 1);
    // The messages are the log's lines.
    EXPECT_THAT(linhasPrimeira,
                ElementsAre("Iniciando processamento...", "Lendo pedido: ped-3001",
                            execucoes[0].pedidos[0].mensagem, "Lendo pedido: ped-3002",
                            execucoes[0].pedidos[1].mensagem, "Encerrando processamento..."));
    EXPECT_EQ(execucoes[0].pedidos[0].mensagem,
              "Não foi possível incluir o pedido: ped-3001 no sistema");
    EXPECT_EQ(execucoes[2].pedidos[1].mensagem, "Pedido já incluído no sistema.");
    // Named by the order's document: none for an order whose document was not read.
    EXPECT_EQ(execucoes[0].pedidos[0].cliente, "");
    EXPECT_EQ(execucoes[2].pedidos[0].cliente, "Mercearia Santa Luzia Ltda (44.778.899/0001-43)");
    EXPECT_THAT(leitura.PedidosEmFalha(), IsEmpty());
}

// The log says only that an order could not be included; the history keeps why.
TEST_F(HistoricoExecucoesTest, RecusaDoBancoFicaNaObservacaoDoPedidoENaoNoLog) {
    const auto& banco = erp.Banco();
    banco.Executar("create exception E_RECUSA 'recusa'");
    banco.Executar(
        "create trigger TG_RECUSA_CABECALHO for MOV_NF_COMERCIO before insert as begin "
        "if (new.ID_APP_FORCA_VENDA = 'ped-3001') then exception E_RECUSA 'operacao vetada'; end");
    // ped-3002's customer is new: the company stands in for it.
    banco.Executar(
        "create trigger TG_RECUSA_CLIENTE for CAD_PESSOA before insert as begin "
        "exception E_RECUSA 'cliente vetado'; end");
    ASSERT_EQ(Executar(), FimExecucao::Concluida);

    EXPECT_THAT(painel.linhas, ElementsAre("Iniciando processamento...", "Lendo pedido: ped-3001",
                                           "Não foi possível incluir o pedido: ped-3001 no sistema",
                                           "Lendo pedido: ped-3002", "Pedido incluído no sistema.",
                                           "Encerrando processamento..."));
    const auto execucoes = LeituraHistorico(configuracoes.arquivo).Execucoes({});
    ASSERT_EQ(execucoes.size(), 1u);
    const auto& pedidosGravados = execucoes[0].pedidos;
    ASSERT_EQ(pedidosGravados.size(), 2u);
    EXPECT_EQ(pedidosGravados[0].mensagem,
              "Não foi possível incluir o pedido: ped-3001 no sistema");
    EXPECT_THAT(pedidosGravados[0].observacao,
                StartsWith("Operação recusada pelo banco de dados: "));
    EXPECT_THAT(pedidosGravados[0].observacao, HasSubstr("operacao vetada"));
    EXPECT_EQ(Resumo(pedidosGravados[1]),
              "ped-3002 incluido_com_aviso 0 " + Chave("ped-3002") + " 3002 0");
    EXPECT_THAT(pedidosGravados[1].observacao, StartsWith("Cliente do APP não cadastrado: "));
    EXPECT_THAT(pedidosGravados[1].observacao, HasSubstr("cliente vetado"));
    const auto emFalha = LeituraHistorico(configuracoes.arquivo).PedidosEmFalha();
    ASSERT_EQ(emFalha.size(), 1u);
    EXPECT_EQ(emFalha[0].observacao, pedidosGravados[0].observacao);
    // The customer as the order names it, refused or not; the app's texts folded to ASCII.
    EXPECT_EQ(pedidosGravados[0].cliente, "Mercearia Santa Luzia Ltda (44.778.899/0001-43)");
    EXPECT_EQ(pedidosGravados[1].cliente,
              "Emporio Conceicao Comercio de Alimentos Ltda (61.524.387/0001-70)");
}

TEST_F(HistoricoExecucoesTest, PedidoDeixadoParaOutraCopiaNaoEhFalhaNemSucesso) {
    FalharPedido("ped-3001");
    ASSERT_EQ(Executar(), FimExecucao::Concluida);
    pedidos.emOutraCopia = {"ped-3001"};
    ASSERT_EQ(Executar(), FimExecucao::Concluida);
    LeituraHistorico leitura(configuracoes.arquivo);
    const auto ultima = leitura.Execucoes({}).at(1);
    ASSERT_EQ(ultima.pedidos.size(), 1u);
    EXPECT_EQ(Resumo(ultima.pedidos[0]), "ped-3001 adiado 0 - - -");
    EXPECT_EQ(ultima.pedidos[0].mensagem, painel.linhas.at(2));
    EXPECT_EQ(ultima.adiados, 1);
    EXPECT_THAT(leitura.PedidosEmFalha(), IsEmpty());
}

TEST_F(HistoricoExecucoesTest, ExecucoesQueNaoTerminamBemGuardamPorQue) {
    struct Caso {
        const char* descricao;
        std::function<void()> preparar;
        std::optional<FimExecucao> fim;
        std::string desfecho;
        std::string motivo;  // its start
    };
    const Caso casos[] = {
        {"listing refused",
         [&] {
             servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/pedidos", .status = 503});
         },
         FimExecucao::SemListagem, "sem_listagem", "HTTP/1.1 503 Service Unavailable"},
        {"listing that is no object",
         [&] {
             servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/pedidos", .corpo = "[1]"});
         },
         FimExecucao::SemListagem, "sem_listagem", "a resposta da API não traz a lista de pedidos"},
        {"token that cannot be read",
         [&] { erp.Banco().Executar("alter table TAB_PARAMETRO drop DS_TOKEN_APP_FORCA_VENDA"); },
         std::nullopt, "erro", ""},
        {"no database",
         [&] { erp.DefinirBanco("", erp.PastaDados().string() + "/", "NAO_EXISTE.FDB"); },
         FimExecucao::SemConexao, "sem_conexao", ""},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        caso.preparar();
        EXPECT_EQ(Executar(), caso.fim);
        const auto ultima = LeituraHistorico(configuracoes.arquivo).UltimasExecucoes(1);
        ASSERT_EQ(ultima.size(), 1u);
        EXPECT_EQ(ultima[0].desfecho, caso.desfecho);
        EXPECT_THAT(ultima[0].motivo, StartsWith(caso.motivo));
        EXPECT_FALSE(ultima[0].motivo.empty());
        servidor.RemoverRegras();
    }
}

TEST_F(HistoricoExecucoesTest, HistoricoQueNaoPodeSerGravadoSoAcrescentaUmaLinha) {
    std::filesystem::create_directory(configuracoes.arquivo);  // a folder where the file would be
    EXPECT_EQ(Executar(), FimExecucao::Concluida);
    ASSERT_EQ(painel.linhas.size(), 7u);
    EXPECT_THAT(painel.linhas[1], StartsWith("Histórico indisponível: "));
    painel.linhas.erase(painel.linhas.begin() + 1);
    EXPECT_THAT(painel.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: ped-3001",
                            "Pedido incluído no sistema.", "Lendo pedido: ped-3002",
                            "Pedido incluído no sistema.", "Encerrando processamento..."));
    EXPECT_EQ(erp.Banco().Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "2");

    // The next run tries again.
    std::filesystem::remove(configuracoes.arquivo);
    EXPECT_EQ(Executar(), FimExecucao::Concluida);
    EXPECT_THAT(painel.linhas,
                ElementsAre("Iniciando processamento...", "Nenhum novo pedido encontrado.",
                            "Encerrando processamento..."));
    EXPECT_EQ(LeituraHistorico(configuracoes.arquivo).Execucoes({}).size(), 1u);
}

TEST_F(HistoricoExecucoesTest, SincronizarPelaLinhaDeComandoRegistraAExecucao) {
    testes::GravarArquivo(erp.PastaPrograma() / "tessoraService.ini",
                          "[AppForcaVendas]\r\nUrlBaseApi=" + servidor.UrlBase() +
                              "\r\nArquivoCertificados=" + servidor.ArquivoCertificado() + "\r\n");
    std::ostringstream saida, erros;
    ASSERT_EQ(ComandoSincronizar(erp.Executavel(), pedidos, saida, erros), 0) << erros.str();
    const auto execucoes = LeituraHistorico(configuracoes.arquivo).Execucoes({});
    ASSERT_EQ(execucoes.size(), 1u);
    EXPECT_EQ(execucoes[0].origem, "linha_comando");
    EXPECT_EQ(execucoes[0].incluidos, 2);
    std::ostringstream estado;
    EXPECT_EQ(ComandoEstado(erp.Executavel(), estado), 0) << estado.str();
}

// Fails on the call it is told to, and counts the calls it got.
class ObservadorFalho : public ObservadorExecucao {
  public:
    explicit ObservadorFalho(int falharNaChamada) : falharNaChamada_(falharNaChamada) {}
    void ExecucaoIniciada(OrigemExecucao, std::chrono::system_clock::time_point) override {
        Chamada();
    }
    void PedidoProcessado(const ResultadoPedido&) override { Chamada(); }
    void ExecucaoTerminada(const ResumoExecucao&) override { Chamada(); }
    int chamadas = 0;

  private:
    void Chamada() {
        if (++chamadas == falharNaChamada_) throw std::runtime_error("disk I/O error");
    }
    int falharNaChamada_;
};

TEST(ObservacaoExecucaoTest, AFalhaDoObservadorEhDitaUmaVezEEleNaoEhMaisChamado) {
    for (int falha = 1; falha <= 4; ++falha) {
        SCOPED_TRACE(falha);
        PainelGravado painel;
        LogProcessamento log(painel);
        ObservadorFalho observador(falha);
        ObservacaoExecucao observacao(&observador, OrigemExecucao::Botao,
                                      std::chrono::system_clock::now(), log);
        observacao.Iniciar();
        observacao.Pedido({"1"});
        observacao.Pedido({"2"});
        observacao.Terminar({});
        EXPECT_THAT(painel.linhas, ElementsAre("Histórico indisponível: disk I/O error"));
        EXPECT_EQ(observador.chamadas, falha);
    }
}

TEST(HistoricoPodaTest, ExecucoesMaisAntigasQueOsDiasGuardadosSaemComSeusPedidos) {
    testes::PastaTemporaria pasta;
    const ConfiguracoesHistorico configuracoes{pasta.Caminho() / "h.db", std::chrono::days(90)};
    HistoricoExecucoes historico(configuracoes);
    const auto agora = std::chrono::system_clock::now();
    for (const auto idade : {std::chrono::days(100), std::chrono::days(89), std::chrono::days(0)}) {
        historico.ExecucaoIniciada(OrigemExecucao::Temporizador, agora - idade);
        historico.PedidoProcessado(
            {"p", DesfechoPedido::Erro, "Erro na leitura do pedido: p Erro: x"});
        historico.ExecucaoTerminada({agora - idade, FimExecucao::Concluida, agora - idade});
    }
    LeituraHistorico leitura(configuracoes.arquivo);
    const auto execucoes = leitura.Execucoes({});
    ASSERT_EQ(execucoes.size(), 2u);
    EXPECT_EQ(execucoes[0].inicio, SegundosHistorico(agora - std::chrono::days(89)));
    // The counting goes on across the pruned run.
    EXPECT_EQ(execucoes[1].pedidos.at(0).falhasSeguidas, 3);

    BancoSqlite banco(configuracoes.arquivo, BancoSqlite::Modo::Leitura);
    ComandoSqlite pedidos(banco, "select count(*) from pedido");
    ASSERT_TRUE(pedidos.Proximo());
    EXPECT_EQ(pedidos.Inteiro(0), 2);
}

TEST(ConfiguracoesHistoricoTest, ArquivoAoLadoDasConfiguracoesEValoresInvalidosFicamNoPadrao) {
    testes::PastaTemporaria pasta;
    const auto executavel = pasta.Caminho() / "tessoraService";
    EXPECT_EQ(LerConfiguracoes(executavel).historico.arquivo,
              pasta.Caminho() / "tessoraService.historico.db");
    EXPECT_EQ(ObterArquivoHistorico(pasta.Caminho() / "tessoraService.exe"),
              pasta.Caminho() / "tessoraService.historico.db");
    const std::pair<const char*, std::pair<int, int>> casos[] = {
        {"", {90, 24}},
        {"DiasHistorico=30\r\nHorasFalhaTolerada=2\r\n", {30, 2}},
        {"DiasHistorico=0\r\nHorasFalhaTolerada=-3\r\n", {90, 24}},
        {"DiasHistorico=dez\r\nHorasFalhaTolerada=4h\r\n", {90, 24}},
        {"DiasHistorico=99999999\r\nHorasFalhaTolerada= 7 \r\n", {90, 7}},
    };
    for (const auto& [chaves, esperado] : casos) {
        SCOPED_TRACE(chaves);
        testes::GravarArquivo(pasta.Caminho() / "tessoraService.ini",
                              std::string("[AppForcaVendas]\r\n") + chaves);
        const auto lidas = LerConfiguracoes(executavel).historico;
        EXPECT_EQ(lidas.diasHistorico.count(), esperado.first);
        EXPECT_EQ(lidas.horasFalhaTolerada.count(), esperado.second);
    }
}

TEST(EsquemaHistoricoTest, ArquivoDeVersaoMaisNovaNaoEhUsado) {
    testes::PastaTemporaria pasta;
    const auto arquivo = pasta.Caminho() / "h.db";
    BancoSqlite(arquivo, BancoSqlite::Modo::Gravacao).Executar("pragma user_version = 99");
    HistoricoExecucoes historico({arquivo});
    try {
        historico.ExecucaoIniciada(OrigemExecucao::Botao, std::chrono::system_clock::now());
        FAIL();
    } catch (const Erro& e) {
        EXPECT_THAT(e.what(), HasSubstr("versão 99 do histórico desconhecida"));
    }
    EXPECT_THROW(LeituraHistorico{arquivo}, Erro);
}

// A file of the first version (before the orders' remarks) keeps its rows and gains the column.
TEST(EsquemaHistoricoTest, ArquivoDaVersaoUmGanhaAsObservacoes) {
    testes::PastaTemporaria pasta;
    const auto arquivo = pasta.Caminho() / "h.db";
    const int64_t antes = SegundosHistorico(std::chrono::system_clock::now()) - 60;
    BancoSqlite(arquivo, BancoSqlite::Modo::Gravacao)
        .Executar(R"(
            create table execucao (id integer primary key, origem text not null,
                inicio integer not null, termino integer, desfecho text,
                motivo text not null default '');
            create table pedido (id integer primary key,
                execucao integer not null references execucao (id), id_app text not null,
                desfecho text not null, mensagem text not null, id_nf_comercio integer,
                nr_nota_fiscal integer, cliente_cadastrado integer,
                falhas_seguidas integer not null);
            insert into execucao values (1, 'botao', )" +
                  std::to_string(antes) + ", " + std::to_string(antes + 1) + R"(, 'normal', '');
            insert into pedido values (1, 1, 'p-1', 'incluido', 'Pedido incluído no sistema.',
                7, 5007, 0, 0);
            pragma user_version = 1;)");

    HistoricoExecucoes historico({arquivo});
    const auto inicio = std::chrono::system_clock::now();
    historico.ExecucaoIniciada(OrigemExecucao::Botao, inicio);
    ResultadoPedido pedido{"p-2", DesfechoPedido::Incluido, "Pedido incluído no sistema."};
    pedido.observacao = "Totais não conferem";
    historico.PedidoProcessado(pedido);
    historico.ExecucaoTerminada({inicio, FimExecucao::Concluida, inicio});

    const auto execucoes = LeituraHistorico(arquivo).Execucoes({});
    ASSERT_EQ(execucoes.size(), 2u);
    ASSERT_EQ(execucoes[0].pedidos.size(), 1u);
    EXPECT_EQ(execucoes[0].pedidos[0].idNfComercio, 7);
    EXPECT_EQ(execucoes[0].pedidos[0].observacao, "");
    ASSERT_EQ(execucoes[1].pedidos.size(), 1u);
    EXPECT_EQ(execucoes[1].pedidos[0].observacao, "Totais não conferem");
}

}  // namespace
}  // namespace tessora::app
