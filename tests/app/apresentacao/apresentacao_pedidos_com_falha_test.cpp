// The failing orders' view over what a small fake reading gives: the rows, the whole message,
// the kept selection, the texts when there are none, and when a retry can run.
#include "app/apresentacao/apresentacao_pedidos_com_falha.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/historico/instante_historico.h"

namespace tessora::app {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

PedidoEmFalha Pedido(std::string id, std::string observacao = "") {
    return {id,
            2,
            1'700'000'000,
            1'700'000'600,
            "Não foi possível incluir o pedido: " + id,
            std::move(observacao)};
}

class ApresentacaoPedidosComFalhaTest : public ::testing::Test {
  protected:
    std::optional<std::vector<PedidoEmFalha>> lidos;
    ApresentacaoPedidosComFalha apresentacao{[this] {
        if (!lidos) throw std::runtime_error("disco indisponível");
        return lidos;
    }};
};

TEST_F(ApresentacaoPedidosComFalhaTest, LinhasComAMensagemInteiraEORecusaDoBanco) {
    lidos = {{Pedido("p-1", "Operação recusada pelo banco de dados: produto 12\ninexistente"),
              Pedido("p-2")}};
    EXPECT_EQ(apresentacao.Atualizar(), 0u);
    ASSERT_EQ(apresentacao.Linhas().size(), 2u);
    const LinhaGrade& primeira = apresentacao.Linhas()[0];
    EXPECT_THAT(primeira.celulas,
                ElementsAre("p-1", "2", InstanteLocal(1'700'000'000), InstanteLocal(1'700'000'600),
                            "Não foi possível incluir o pedido: p-1 / Operação recusada pelo "
                            "banco de dados: produto 12 / inexistente"));
    EXPECT_EQ(primeira.cor, kCorFalha);
    const std::string inteira =
        "Não foi possível incluir o pedido: p-1\nOperação recusada pelo banco de dados: produto "
        "12\ninexistente";
    EXPECT_EQ(primeira.dica, inteira);
    EXPECT_EQ(apresentacao.Mensagem(), inteira);
    EXPECT_TRUE(apresentacao.Situacao().empty());

    apresentacao.Selecionar(1);
    EXPECT_EQ(apresentacao.Mensagem(), "Não foi possível incluir o pedido: p-2");
}

TEST_F(ApresentacaoPedidosComFalhaTest, SelecaoFicaComOPedidoEnquantoEleFalha) {
    lidos = {{Pedido("p-1"), Pedido("p-2"), Pedido("p-3")}};
    apresentacao.Atualizar();
    apresentacao.Selecionar(2);

    lidos = {{Pedido("p-0"), Pedido("p-1"), Pedido("p-3")}};
    EXPECT_EQ(apresentacao.Atualizar(), 2u);  // p-3 moved, still selected
    lidos = {{Pedido("p-0"), Pedido("p-1")}};
    EXPECT_EQ(apresentacao.Atualizar(), 0u);  // gone into the ERP: the first row
    apresentacao.Selecionar(std::nullopt);
    EXPECT_EQ(apresentacao.Mensagem(), "");
    EXPECT_EQ(apresentacao.Atualizar(), 0u);
}

TEST_F(ApresentacaoPedidosComFalhaTest, TentarNovamenteSoComUmPedidoEForaDeUmaExecucao) {
    lidos = {{Pedido("p-1"), Pedido("p-2")}};
    apresentacao.Atualizar();
    apresentacao.Selecionar(1);
    EXPECT_EQ(apresentacao.PedidoParaTentarNovamente(), "p-2");
    apresentacao.DefinirEmExecucao(true);
    EXPECT_EQ(apresentacao.PedidoParaTentarNovamente(), std::nullopt);
    apresentacao.DefinirEmExecucao(false);
    apresentacao.Selecionar(std::nullopt);
    EXPECT_EQ(apresentacao.PedidoParaTentarNovamente(), std::nullopt);
}

TEST_F(ApresentacaoPedidosComFalhaTest, TextosQuandoNaoHaPedidosParaMostrar) {
    struct Caso {
        std::optional<std::vector<PedidoEmFalha>> lidos;  // nothing: the reading fails
        std::string situacao;
    };
    const std::vector<Caso> casos{
        {std::vector<PedidoEmFalha>{}, "Nenhum pedido com falha."},
        {std::nullopt, "Histórico indisponível: disco indisponível"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.situacao);
        lidos = {{Pedido("p-1")}};
        apresentacao.Atualizar();
        lidos = caso.lidos;
        EXPECT_EQ(apresentacao.Atualizar(), std::nullopt);
        EXPECT_THAT(apresentacao.Linhas(), IsEmpty());
        EXPECT_EQ(apresentacao.Situacao(), caso.situacao);
        EXPECT_EQ(apresentacao.PedidoParaTentarNovamente(), std::nullopt);
    }
}

}  // namespace
}  // namespace tessora::app
