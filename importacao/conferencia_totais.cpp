#include "importacao/conferencia_totais.h"

namespace tessora::importacao {

namespace {
constexpr int64_t kUmCentavo = Moeda::kEscala / 100;

bool Proximos(Moeda a, Moeda b) {
    const int64_t x = a.Decimilesimos();
    const int64_t y = b.Decimilesimos();
    return (x > y ? x - y : y - x) <= kUmCentavo;
}

// Both carry four decimals, so their product carries eight: rounded half away from zero to four.
std::optional<Moeda> Produto(Moeda quantidade, Moeda unitario) {
    int64_t produto = 0;
    if (__builtin_mul_overflow(quantidade.Decimilesimos(), unitario.Decimilesimos(), &produto)) {
        return std::nullopt;
    }
    int64_t quociente = produto / Moeda::kEscala;
    const int64_t resto = produto % Moeda::kEscala;
    if (2 * (resto < 0 ? -resto : resto) >= Moeda::kEscala) quociente += produto < 0 ? -1 : 1;
    return Moeda::DeDecimilesimos(quociente);
}
}  // namespace

ConferenciaTotais ConferirTotais(Moeda valorProdutos,
                                 const std::vector<TDadosItensOperacaoComercialApp>& itens) {
    ConferenciaTotais conferencia;
    conferencia.produtos = valorProdutos;
    for (const TDadosItensOperacaoComercialApp& item : itens) {
        conferencia.somaItens += item.VL_TOTAL;
        const std::optional<Moeda> calculado = Produto(item.QT_PRODUTO, item.VL_UNITARIO);
        if (!calculado || !Proximos(*calculado, item.VL_TOTAL)) {
            conferencia.itens.push_back({item.NO_ITEM, item.CD_PRODUTO_APP, item.QT_PRODUTO,
                                         item.VL_UNITARIO, calculado, item.VL_TOTAL});
        }
    }
    conferencia.produtosConferem = Proximos(conferencia.produtos, conferencia.somaItens);
    return conferencia;
}

}  // namespace tessora::importacao
