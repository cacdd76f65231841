#include "importacao/cabecalho_pedido.h"

#include <cstdint>
#include <string_view>

#include "api/json_consulta.h"
#include "api/valores_resposta.h"
#include "comum/erros.h"
#include "comum/inteiros.h"
#include "comum/texto.h"
#include "importacao/valores_pedido.h"

namespace tessora::importacao {

namespace {
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
    op.NR_NOTA_FISCAL = InteiroAposBrancos(JsonTextoPorNome(dados, "numero_seq")).value_or(0);
    op.DT_EMISSAO = TextoParaData(JsonTextoPorNome(dados, "created_at"));
    op.DT_SAIDA_ENTRADA = op.DT_EMISSAO;
    op.QT_DIAS_VALIDADE = InteiroAposBrancos(JsonTextoPorNome(dados, "dias_validade")).value_or(0);
    op.VL_IPI = ValorDoPedido(dados, "valor_ipi", 2);
    op.VL_ICMS = Moeda();
    op.VL_ICMS_SUBST = ValorDoPedido(dados, "valor_icms", 2);
    op.VL_PRODUTOS = ValorDoPedido(dados, "valor_produtos", 2);
    op.VL_TOTAL_NF = TotalDoPedido(op.VL_PRODUTOS, op.VL_IPI, op.VL_ICMS_SUBST);
    op.TX_OBS_NF = Anotacoes(dados);
    return op;
}

}  // namespace tessora::importacao
