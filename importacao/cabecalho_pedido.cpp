#include "importacao/cabecalho_pedido.h"

#include <cstdint>
#include <string_view>

#include "api/json_consulta.h"
#include "api/valores_resposta.h"
#include "comum/erros.h"
#include "comum/texto.h"
#include "importacao/valores_pedido.h"

namespace tessora::importacao {

namespace {
// An order member as an integer: optional blanks, an optional sign and digits; 0 otherwise.
int32_t InteiroOuZero(std::string_view texto) {
    while (!texto.empty() && static_cast<unsigned char>(texto.front()) <= 32)
        texto.remove_prefix(1);
    return InteiroDecimal(texto).value_or(0);
}

// The order's annotations, separated by a blank line.
std::string Anotacoes(const JsonObjeto& dados) {
    std::string observacoes;
    const JsonValor* anotacoes = JsonValorPorNome(dados, "anotacoes");
    const JsonLista* lista = anotacoes ? anotacoes->ComoLista() : nullptr;
    if (!lista) return observacoes;
    for (const JsonValor& elemento : *lista) {
        const JsonObjeto* anotacao = elemento.ComoObjeto();
        if (!anotacao) throw ErroTipoInvalido();
        if (!observacoes.empty()) observacoes += "\r\n\r\n";
        observacoes += JsonTextoPorNome(*anotacao, "texto");
    }
    return observacoes;
}
}  // namespace

TDadosOperacaoComercialApp LerCabecalhoDoPedido(const std::string& id, const JsonObjeto& dados) {
    TDadosOperacaoComercialApp op;
    op.ID_APP_FORCA_VENDA = id;
    op.NR_NOTA_FISCAL = InteiroOuZero(JsonTextoPorNome(dados, "numero_seq"));
    op.DT_EMISSAO = TextoParaData(JsonTextoPorNome(dados, "created_at"));
    op.DT_SAIDA_ENTRADA = op.DT_EMISSAO;
    op.QT_DIAS_VALIDADE = InteiroOuZero(JsonTextoPorNome(dados, "dias_validade"));
    op.VL_IPI = ValorDoPedido(dados, "valor_ipi", 2);
    op.VL_ICMS = Moeda();
    op.VL_ICMS_SUBST = ValorDoPedido(dados, "valor_icms", 2);
    op.VL_PRODUTOS = ValorDoPedido(dados, "valor_produtos", 2);
    op.VL_TOTAL_NF = TotalDoPedido(op.VL_PRODUTOS, op.VL_IPI, op.VL_ICMS_SUBST);
    op.TX_OBS_NF = Anotacoes(dados);
    return op;
}

}  // namespace tessora::importacao
