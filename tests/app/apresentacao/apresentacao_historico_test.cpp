// The history page's rules over runs that a small fake reading gives: the filter it asks for,
// the rows, the kept selection, the texts when there are no runs, and the export.
#include "app/apresentacao/apresentacao_historico.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/historico/instante_historico.h"
#include "comum/texto.h"
#include "pasta_temporaria.h"

namespace tessora::app {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

ExecucaoRegistrada Execucao(int64_t id, std::vector<std::string> pedidos = {},
                            std::string desfecho = "normal", std::string motivo = "") {
    ExecucaoRegistrada execucao;
    execucao.id = id;
    execucao.origem = "botao";
    execucao.inicio = 1'700'000'000 + id * 60;
    execucao.termino = execucao.inicio + 5;
    execucao.desfecho = std::move(desfecho);
    execucao.motivo = std::move(motivo);
    for (auto& pedido : pedidos) {
        PedidoRegistrado incluido;
        incluido.idApp = pedido;
        incluido.desfecho = "incluido";
        incluido.mensagem = "ok " + pedido;
        execucao.pedidos.push_back(incluido);
        ++execucao.incluidos;
    }
    return execucao;
}

class ApresentacaoHistoricoTest : public ::testing::Test {
  protected:
    // Oldest first, as the history reads them.
    std::optional<std::vector<ExecucaoRegistrada>> execucoes =
        std::vector{Execucao(1, {"p-1"}), Execucao(2, {"p-2", "p-3"}), Execucao(3, {"p-4"})};
    std::optional<std::string> erro;
    std::vector<FiltroHistorico> filtros;
    LeituraPaginaHistorico Leitura() {
        return [this](const FiltroHistorico& filtro) {
            filtros.push_back(filtro);
            if (erro) throw std::runtime_error(*erro);
            return execucoes;
        };
    }
    ApresentacaoHistorico apresentacao{Leitura()};

    std::vector<std::string> Coluna(const std::vector<LinhaGrade>& linhas, size_t coluna) const {
        std::vector<std::string> textos;
        for (const auto& linha : linhas) textos.push_back(linha.celulas.at(coluna));
        return textos;
    }
    std::vector<std::string> Pedidos() const { return Coluna(apresentacao.Pedidos(), 0); }
};

TEST_F(ApresentacaoHistoricoTest, NovasPrimeiroComOsPedidosDaSelecionada) {
    EXPECT_EQ(apresentacao.Atualizar(), 0u);
    EXPECT_EQ(apresentacao.Situacao(), "");
    ASSERT_EQ(apresentacao.Execucoes().size(), 3u);
    EXPECT_THAT(Coluna(apresentacao.Execucoes(), 5), ElementsAre("1", "2", "1"));  // included
    EXPECT_THAT(Pedidos(), ElementsAre("p-4"));

    EXPECT_TRUE(apresentacao.Selecionar(1));
    EXPECT_THAT(Pedidos(), ElementsAre("p-2", "p-3"));
    EXPECT_FALSE(apresentacao.Selecionar(1));
    EXPECT_FALSE(apresentacao.Desmarcar(2));  // another row's
    EXPECT_TRUE(apresentacao.Desmarcar(1));
    EXPECT_THAT(Pedidos(), IsEmpty());
    EXPECT_FALSE(apresentacao.Selecionar(7));  // no such row: none
    EXPECT_EQ(apresentacao.LinhaSelecionada(), std::nullopt);
}

TEST_F(ApresentacaoHistoricoTest, SelecaoMantidaAoLerDeNovo) {
    const struct {
        const char* caso;
        std::optional<size_t> selecionada;  // before the new reading
        std::vector<int64_t> lidas;         // ids, oldest first
        std::optional<size_t> esperada;
    } casos[] = {
        {"an older run stays", 1, {1, 2, 3, 4}, 2},
        {"the newest goes on to the newest", 0, {1, 2, 3, 4}, 0},
        {"none goes to the newest", std::nullopt, {1, 2, 3}, 0},
        {"an older run filtered out", 2, {2, 3}, 0},
        {"no runs, no selection", 1, {}, std::nullopt},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.caso);
        execucoes = std::vector{Execucao(1, {"p-1"}), Execucao(2, {"p-2"}), Execucao(3, {"p-3"})};
        ApresentacaoHistorico pagina(Leitura());
        ASSERT_EQ(pagina.Atualizar(), 0u);
        pagina.Selecionar(caso.selecionada);
        execucoes->clear();
        for (const int64_t id : caso.lidas) {
            execucoes->push_back(Execucao(id, {"p-" + std::to_string(id)}));
        }
        EXPECT_EQ(pagina.Atualizar(), caso.esperada);
        EXPECT_EQ(pagina.LinhaSelecionada(), caso.esperada);
        std::vector<std::string> pedidos;
        if (caso.esperada) {
            pedidos.push_back("p-" + std::to_string(caso.lidas.rbegin()[*caso.esperada]));
        }
        EXPECT_EQ(Coluna(pagina.Pedidos(), 0), pedidos);
    }
}

TEST_F(ApresentacaoHistoricoTest, FiltroPedidoComLimiteFalhasEPesquisaAparada) {
    apresentacao.Atualizar();
    apresentacao.DefinirFalhasEAvisos(true);
    apresentacao.DefinirPesquisa("\u00a0 P-2\t\r\n");
    apresentacao.Atualizar();
    apresentacao.DefinirFalhasEAvisos(false);
    apresentacao.DefinirPesquisa("   ");
    apresentacao.Atualizar();
    ASSERT_EQ(filtros.size(), 3u);
    for (const auto& filtro : filtros) {
        EXPECT_EQ(filtro.ultimas, 500);
        EXPECT_EQ(filtro.desde, std::nullopt);
    }
    EXPECT_FALSE(filtros[0].soFalhas);
    EXPECT_EQ(filtros[0].pesquisa, "");
    EXPECT_TRUE(filtros[1].soFalhas);
    EXPECT_EQ(filtros[1].pesquisa, "P-2");
    EXPECT_FALSE(filtros[2].soFalhas);
    EXPECT_EQ(filtros[2].pesquisa, "");

    // The history holds the app's texts folded to ASCII: so is what is typed.
    apresentacao.DefinirPesquisa("Empório Conceição");
    apresentacao.Atualizar();
    EXPECT_EQ(filtros.back().pesquisa, "Emporio Conceicao");
}

TEST_F(ApresentacaoHistoricoTest, SemExecucoesDizPorQue) {
    apresentacao.Atualizar();
    apresentacao.Selecionar(1);

    execucoes.reset();
    EXPECT_EQ(apresentacao.Atualizar(), std::nullopt);
    EXPECT_EQ(apresentacao.Situacao(), "Nenhuma execução registrada.");
    EXPECT_THAT(apresentacao.Execucoes(), IsEmpty());
    EXPECT_THAT(apresentacao.Pedidos(), IsEmpty());

    execucoes = std::vector<ExecucaoRegistrada>{};
    apresentacao.Atualizar();
    EXPECT_EQ(apresentacao.Situacao(), "");  // the filter lets none through: an empty list says it

    execucoes = std::vector{Execucao(1, {"p-1"})};
    erro = "database disk image is malformed";
    EXPECT_EQ(apresentacao.Atualizar(), std::nullopt);
    EXPECT_EQ(apresentacao.Situacao(), "Histórico indisponível: database disk image is malformed");
    EXPECT_THAT(apresentacao.Execucoes(), IsEmpty());

    erro.reset();
    apresentacao.Atualizar();
    EXPECT_EQ(apresentacao.Situacao(), "");
    EXPECT_EQ(apresentacao.Execucoes().size(), 1u);
}

TEST_F(ApresentacaoHistoricoTest, LinhasComDicaECor) {
    auto recusado = Execucao(4, {"p-9"});
    recusado.pedidos[0].desfecho = "nao_incluido";
    recusado.pedidos[0].mensagem = "Não foi possível incluir o pedido: p-9 no sistema";
    recusado.naoIncluidos = 1;
    recusado.incluidos = 0;
    auto comAviso = Execucao(5, {"p-7"});
    comAviso.pedidos[0].desfecho = "incluido_com_aviso";
    comAviso.pedidos[0].observacao = "Produto it-1 do APP não encontrado";
    comAviso.comAviso = 1;
    execucoes = std::vector{Execucao(1, {"p-1"}), Execucao(2, {}, "sem_listagem", "HTTP 503"),
                            Execucao(3, {}, ""), recusado, comAviso};
    apresentacao.Atualizar();
    const auto& linhas = apresentacao.Execucoes();
    ASSERT_EQ(linhas.size(), 5u);
    const struct {
        const char* desfecho;
        const char* dica;
        std::optional<Cor> cor;
    } esperadas[] = {
        {"normal", "", kCorAviso},  // its order was written with a warning
        {"normal", "", kCorFalha},  // its order failed
        {"sem término", "", {}},    // still going, or its program ended during it
        {"sem listagem", "HTTP 503", kCorFalha},
        {"normal", "", {}},
    };
    for (size_t i = 0; i < linhas.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(linhas[i].celulas.size(), kColunasExecucao.size());
        EXPECT_EQ(linhas[i].celulas[3], esperadas[i].desfecho);
        EXPECT_EQ(linhas[i].dica, esperadas[i].dica);
        EXPECT_EQ(linhas[i].cor, esperadas[i].cor);
    }
    ASSERT_EQ(apresentacao.Pedidos().size(), 1u);
    // The warnings, which no column shows, in the tooltip.
    EXPECT_EQ(apresentacao.Pedidos()[0].dica, "ok p-7\nProduto it-1 do APP não encontrado");
    EXPECT_EQ(apresentacao.Pedidos()[0].cor, kCorAviso);
    apresentacao.Selecionar(1);
    const LinhaGrade& pedido = apresentacao.Pedidos()[0];
    EXPECT_EQ(pedido.celulas.size(), kColunasPedido.size());
    EXPECT_EQ(pedido.dica, "Não foi possível incluir o pedido: p-9 no sistema");
    EXPECT_EQ(pedido.cor, kCorFalha);
    apresentacao.Selecionar(4);
    EXPECT_EQ(apresentacao.Pedidos()[0].cor, std::nullopt);
    EXPECT_EQ(apresentacao.Pedidos()[0].dica, "ok p-1");
}

TEST_F(ApresentacaoHistoricoTest, CelulasComRotulosEOCliente) {
    auto execucao = Execucao(1, {"p-1"}, "sem_conexao");
    execucao.origem = "temporizador";
    execucao.pedidos[0].desfecho = "ja_incluido";
    execucao.pedidos[0].cliente = "Padaria D'Ouro (12.345.678/0001-95)";
    execucao.pedidos[0].idNfComercio = 7;
    execucao.pedidos[0].nrNotaFiscal = 5007;
    execucoes = std::vector{execucao};
    apresentacao.Atualizar();
    EXPECT_EQ(apresentacao.Execucoes()[0].celulas[2], "automático");
    EXPECT_EQ(apresentacao.Execucoes()[0].celulas[3], "sem conexão");
    EXPECT_THAT(apresentacao.Pedidos()[0].celulas,
                ElementsAre("p-1", "já incluído", "0", "7", "5007",
                            "Padaria D'Ouro (12.345.678/0001-95)", "ok p-1"));
}

std::string Ler(const std::filesystem::path& arquivo) {
    std::ifstream entrada(arquivo, std::ios::binary);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    return conteudo.str();
}

TEST_F(ApresentacaoHistoricoTest, ExportaOQueEstaNaPaginaParaUmaPlanilhaOuDizQueNaoGravou) {
    auto recusado = Execucao(1, {"p-1", "p-2"}, "normal");
    recusado.origem = "linha_comando";
    recusado.pedidos[0].desfecho = "nao_incluido";
    recusado.pedidos[0].cliente = "Padaria D'Ouro; Filial \"Centro\"";
    recusado.pedidos[0].observacao = "Operação recusada pelo banco de dados: linha 1\nlinha 2";
    recusado.pedidos[1].cliente = "=HIPERLINK(\"x\")";
    execucoes = std::vector{recusado, Execucao(2, {}, "sem_listagem", "HTTP 503")};
    execucoes->back().termino.reset();
    apresentacao.Atualizar();
    apresentacao.Selecionar(1);
    testes::PastaTemporaria pasta("tessora-csv");

    const auto arquivo = pasta.Caminho() / "execuções.csv";
    EXPECT_EQ(apresentacao.ExportarCsv(arquivo), std::nullopt);
    // Every run shown, newest first as on the page, whichever is selected; local times, labels.
    const std::string inicio1 = InstanteLocal(recusado.inicio);
    const std::string termino1 = InstanteLocal(*recusado.termino);
    const std::string inicio2 = InstanteLocal(execucoes->back().inicio);
    EXPECT_EQ(Ler(arquivo),
              "\xEF\xBB\xBF"
              "Início;Término;Origem;Desfecho da execução;Motivo;Pedido;Desfecho do pedido;"
              "Falhas seguidas;Chave ERP;Número;Cliente;Mensagem;Observação\r\n" +
                  inicio2 + ";;botão;sem listagem;HTTP 503;;;;;;;;\r\n" + inicio1 + ";" + termino1 +
                  ";linha de comando;normal;;p-1;não incluído;0;;;"
                  "\"Padaria D'Ouro; Filial \"\"Centro\"\"\";ok p-1;"
                  "\"Operação recusada pelo banco de dados: linha 1\nlinha 2\"\r\n" +
                  inicio1 + ";" + termino1 +
                  ";linha de comando;normal;;p-2;incluído;0;;;"
                  // A spreadsheet would run it as a formula.
                  "\"'=HIPERLINK(\"\"x\"\")\";ok p-2;\r\n");

    const auto semPasta = pasta.Caminho() / "não existe" / "historico.csv";
    EXPECT_EQ(apresentacao.ExportarCsv(semPasta),
              "Não foi possível gravar o arquivo " + TextoCaminho(semPasta) + ".");
}

}  // namespace
}  // namespace tessora::app
