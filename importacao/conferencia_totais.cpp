#include "importacao/conferencia_totais.h"

#include "api/json_consulta.h"
#include "comum/erros.h"
#include "importacao/itens_pedido.h"
#include "importacao/valores_pedido.h"

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
    int64_t soma = 0;
    bool somaAlemDoLimite = false;
    for (const TDadosItensOperacaoComercialApp& item : itens) {
        somaAlemDoLimite |= __builtin_add_overflow(soma, item.VL_TOTAL.Decimilesimos(), &soma);
        const std::optional<Moeda> calculado = Produto(item.QT_PRODUTO, item.VL_UNITARIO);
        if (!calculado || !Proximos(*calculado, item.VL_TOTAL)) {
            conferencia.itens.push_back({item.NO_ITEM, item.CD_PRODUTO_APP, item.QT_PRODUTO,
                                         item.VL_UNITARIO, calculado, item.VL_TOTAL});
        }
    }
    if (!somaAlemDoLimite) conferencia.somaItens = Moeda::DeDecimilesimos(soma);
    conferencia.produtosConferem =
        conferencia.somaItens && Proximos(conferencia.produtos, *conferencia.somaItens);
    return conferencia;
}

ConferenciaTotais ConferirTotaisDoPedido(const JsonObjeto& dados) {
    std::vector<TDadosItensOperacaoComercialApp> itens;
    const JsonValor* const valor = JsonValorPorNome(dados, "itens");
    if (const JsonLista* const lista = valor ? valor->ComoLista() : nullptr) {
        for (const JsonValor& elemento : *lista) {
            const JsonObjeto* const objeto = elemento.ComoObjeto();
            if (!objeto) throw ErroTipoInvalido();
            itens.push_back(ValoresDoItem(*objeto, static_cast<int32_t>(itens.size() + 1)));
        }
    }
    return ConferirTotais(ValorDoPedido(dados, "valor_produtos", 2), itens);
}

}  // namespace tessora::importacao
