#include "importacao/valores_pedido.h"

#include <cstdint>
#include <optional>
#include <string>

#include "api/json_consulta.h"
#include "api/valores_resposta.h"
#include "comum/erros.h"

namespace tessora::importacao {

namespace {
constexpr int kDigitosDaColuna = 15;

bool CabeNaColuna(Moeda valor, int casas) {
    int64_t passo = Moeda::kEscala;  // ten-thousandths in one unit of the column's last decimal
    for (int i = 0; i < casas; ++i) passo /= 10;
    int64_t maiorNaColuna = 1;
    for (int i = 0; i < kDigitosDaColuna; ++i) maiorNaColuna *= 10;
    --maiorNaColuna;
    // The largest amount that still rounds, half away from zero, to the column's largest value.
    const int64_t maximo = maiorNaColuna * passo + (passo - 1) / 2;
    return valor.Decimilesimos() >= -maximo && valor.Decimilesimos() <= maximo;
}
}  // namespace

Moeda ValorDoPedido(const JsonObjeto& objeto, std::string_view membro, int casas) {
    const std::string texto = JsonTextoPorNome(objeto, membro);
    std::optional<Moeda> valor;
    try {
        valor = TextoParaValor(texto);
    } catch (const ErroConversao&) {
        // Beyond even Currency: refused below, naming the member.
    }
    if (!valor || !CabeNaColuna(*valor, casas)) {
        throw ErroConversao("Valor de \"" + std::string(membro) +
                            "\" fora do limite do ERP: " + texto);
    }
    return *valor;
}

Moeda TotalDoPedido(Moeda produtos, Moeda ipi, Moeda icmsSubstituicao) {
    const Moeda total = produtos + ipi + icmsSubstituicao;
    if (!CabeNaColuna(total, 2)) {
        throw ErroConversao("Valor total do pedido fora do limite do ERP: " +
                            total.Formatar(2, ','));
    }
    return total;
}

}  // namespace tessora::importacao
