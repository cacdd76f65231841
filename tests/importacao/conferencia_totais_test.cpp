#include "importacao/conferencia_totais.h"

#include <gtest/gtest.h>

namespace tessora::importacao {
namespace {

Moeda M(int64_t decimilesimos) { return Moeda::DeDecimilesimos(decimilesimos); }

TDadosItensOperacaoComercialApp Item(int32_t numero, int64_t quantidade, int64_t unitario,
                                     int64_t total) {
    TDadosItensOperacaoComercialApp item;
    item.NO_ITEM = numero;
    item.CD_PRODUTO_APP = "item-" + std::to_string(numero);
    item.QT_PRODUTO = M(quantidade);
    item.VL_UNITARIO = M(unitario);
    item.VL_TOTAL = M(total);
    return item;
}

TEST(ConferenciaTotaisTest, CadaItemConfereComQuantidadeVezesUnitarioAteUmCentavo) {
    struct Caso {
        const char* descricao;
        int64_t quantidade, unitario, total;
        bool confere;
        int64_t calculado;
    };
    const Caso casos[] = {
        {"exact", 25000, 60000, 150000, true, 150000},                  // 2.5 x 6 = 15.00
        {"within a cent", 30000, 3333, 10000, true, 9999},              // 3 x 0.3333 vs 1.00
        {"ten cents above", 60000, 73500, 442000, false, 441000},       // 6 x 7.35 vs 44.20
        {"exactly one cent off", 10000, 100000, 100100, true, 100000},  // 1 x 10 vs 10.01
        {"just beyond one cent", 10000, 100000, 100101, false, 100000},
        {"half a ten-thousandth rounds away from zero", 5, 5000, 200, false, 3},  // 0.0005 x 0.5
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        const auto conferencia =
            ConferirTotais(M(caso.total), {Item(1, caso.quantidade, caso.unitario, caso.total)});
        EXPECT_TRUE(conferencia.produtosConferem);
        ASSERT_EQ(conferencia.itens.empty(), caso.confere);
        if (caso.confere) continue;
        const DivergenciaItem& divergencia = conferencia.itens.front();
        EXPECT_EQ(divergencia.noItem, 1);
        EXPECT_EQ(divergencia.codigoApp, "item-1");
        EXPECT_EQ(divergencia.calculado, M(caso.calculado));
        EXPECT_EQ(divergencia.informado, M(caso.total));
    }
}

TEST(ConferenciaTotaisTest, ProdutosDoCabecalhoConferemComASomaDosItensAteUmCentavo) {
    const std::vector<TDadosItensOperacaoComercialApp> itens{Item(1, 10000, 100000, 100000),
                                                             Item(2, 20000, 25000, 50000)};
    EXPECT_TRUE(ConferirTotais(M(150000), itens).Confere());
    EXPECT_TRUE(ConferirTotais(M(149900), itens).Confere());
    const auto divergente = ConferirTotais(M(149899), itens);
    EXPECT_FALSE(divergente.Confere());
    EXPECT_FALSE(divergente.produtosConferem);
    EXPECT_TRUE(divergente.itens.empty());
    EXPECT_EQ(divergente.somaItens, M(150000));
    EXPECT_TRUE(ConferirTotais(Moeda(), {}).Confere());  // no items, no products
}

// The check never raises: a product or a sum beyond any amount just does not agree.
TEST(ConferenciaTotaisTest, ValoresAlemDeQualquerQuantiaNaoConferem) {
    const int64_t maximo = 999999999999999;  // NUMERIC(15, 4) at its largest
    const auto produto = ConferirTotais(M(0), {Item(1, maximo, maximo, 0)});
    ASSERT_EQ(produto.itens.size(), 1u);
    EXPECT_FALSE(produto.itens.front().calculado);

    const int64_t total = 9999999999999999;  // NUMERIC(15, 2) at its largest, in ten-thousandths
    const std::vector<TDadosItensOperacaoComercialApp> itens(1000, Item(1, 10000, total, total));
    const auto soma = ConferirTotais(M(total), itens);
    EXPECT_FALSE(soma.somaItens);
    EXPECT_FALSE(soma.produtosConferem);
}

}  // namespace
}  // namespace tessora::importacao
