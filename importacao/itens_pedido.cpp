#include "importacao/itens_pedido.h"

#include <cstddef>
#include <string_view>

#include "api/json_consulta.h"
#include "comum/erros.h"
#include "db/consulta.h"
#include "db/consultas_erp.h"
#include "db/procedimentos.h"
#include "db/valores_sql.h"
#include "importacao/notas_operacao.h"
#include "importacao/valores_pedido.h"

namespace tessora::importacao {

namespace {
std::string TextoProdutoNaoEncontrado(const std::string& codigoApp) {
    return "Produto " + codigoApp + " do APP não encontrado";
}

std::string ComandoInclusaoItem(int32_t id, const TDadosItensOperacaoComercialApp& item) {
    return db::ComandoComValores(
        " INSERT INTO MOV_NF_COMERCIO_ITEM(ID_NF_COMERCIO_ITEM, ID_NF_COMERCIO, ID_PRODUTO, "
        "QT_PRODUTO, VL_UNITARIO, PO_ALIQ_IPI, VL_IPI, VL_ICMS_SUBST, VL_TOTAL, PO_COMISSAO, "
        "NM_PRODUTO, NO_ITEM, ST_MANTER_PRECO, ST_MANTER_COMISSAO, ST_FIXAR_CFOP, CT_REVENDEDOR, "
        "VL_BASE_IPI) VALUES (",
        {
            db::InteiroSql(id),
            db::InteiroSql(item.ID_NF_COMERCIO),
            db::InteiroSql(item.ID_PRODUTO),
            db::DecimalSql4(item.QT_PRODUTO),
            db::DecimalSql4(item.VL_UNITARIO),
            db::DecimalSql2(item.PO_ALIQ_IPI),
            db::DecimalSql2(item.VL_IPI),
            db::DecimalSql2(item.VL_ICMS_SUBST),
            db::DecimalSql2(item.VL_TOTAL),
            db::DecimalSql2(item.PO_COMISSAO),
            db::TextoSql(item.NM_PRODUTO),
            db::InteiroSql(item.NO_ITEM),
            db::FlagSql(false),
            db::FlagSql(false),
            db::FlagSql(false),
            db::TextoSql(item.CT_REVENDEDOR),
            db::DecimalSql2(item.VL_BASE_IPI),
        });
}

}  // namespace

TDadosItensOperacaoComercialApp ValoresDoItem(const JsonObjeto& elemento, int32_t numero) {
    TDadosItensOperacaoComercialApp item;
    item.NO_ITEM = numero;
    item.CD_PRODUTO_APP = JsonTextoPorNome(elemento, "id_item");
    item.QT_PRODUTO = ValorDoPedido(elemento, "quantidade", 4);
    item.VL_UNITARIO = ValorDoPedido(elemento, "valor_unitario", 4);
    item.VL_TOTAL = ValorDoPedido(elemento, "valor_produtos", 2);
    item.PO_ALIQ_IPI = ValorDoPedido(elemento, "ipi", 2);
    item.VL_BASE_IPI = item.PO_ALIQ_IPI > Moeda() ? item.VL_TOTAL : Moeda();
    item.VL_IPI = ValorDoPedido(elemento, "valor_ipi", 2);
    item.VL_ICMS_SUBST = ValorDoPedido(elemento, "valor_icms", 2);
    item.PO_COMISSAO = Moeda();
    return item;
}

TDadosItensOperacaoComercialApp LerItemPedido(db::ConexaoErp& conexao,
                                              const TDadosOperacaoComercialApp& operacao,
                                              const JsonObjeto& elemento, int32_t numero) {
    TDadosItensOperacaoComercialApp item = ValoresDoItem(elemento, numero);
    item.ID_NF_COMERCIO = operacao.ID_NF_COMERCIO;
    item.ID_PRODUTO = db::ProdutoPorIdApp(conexao, JsonTextoPorNome(elemento, "produto_id"));
    // Looked up before an unknown product becomes the placeholder, so it is product 0's text.
    item.NM_PRODUTO = db::DescricaoNotaDoProduto(conexao, item.ID_PRODUTO);
    item.CT_REVENDEDOR = db::CategoriaDaPessoa(conexao, operacao.ID_DESTINATARIO_REMETENTE);
    return item;
}

bool ImportarItensPedido(db::ConexaoErp& conexao, const TDadosOperacaoComercialApp& operacao,
                         const JsonObjeto& dados, std::vector<std::string>& avisos) {
    const JsonValor* const valor = JsonValorPorNome(dados, "itens");
    const JsonLista* const itens = valor ? valor->ComoLista() : nullptr;
    if (!itens) return false;

    int32_t numero = 0;
    for (const JsonValor& elemento : *itens) {
        const JsonObjeto* const objeto = elemento.ComoObjeto();
        if (!objeto) throw ErroTipoInvalido();
        ++numero;

        TDadosItensOperacaoComercialApp item = LerItemPedido(conexao, operacao, *objeto, numero);
        const bool produtoConhecido = item.ID_PRODUTO != 0;
        if (!produtoConhecido) item.ID_PRODUTO = kProdutoNaoCadastrado;

        const Resultado<int32_t> inclusao = IncluirItemOperacaoComercialApp(conexao, item);
        if (!inclusao.Aceito()) {
            // The item must not vanish unnoticed: the operation carries the reason. When
            // even this mark fails, the error passes on and the order is not kept.
            const std::string nota =
                "Item " + item.CD_PRODUTO_APP + " do APP não incluído: " + inclusao.Motivo();
            AnotarOperacao(conexao, item.ID_NF_COMERCIO, nota, Pendencia::MarcarOperacao);
            avisos.push_back(nota);
        }
        if (!produtoConhecido) {
            // The item is written with the placeholder product all the same; the note only
            // helps the operator find it.
            static_cast<void>(
                AnotarProdutoNaoEncontrado(conexao, item.ID_NF_COMERCIO, item.CD_PRODUTO_APP));
            if (inclusao.Aceito()) avisos.push_back(TextoProdutoNaoEncontrado(item.CD_PRODUTO_APP));
        }
    }
    return true;
}

Resultado<int32_t> IncluirItemOperacaoComercialApp(db::ConexaoErp& conexao,
                                                   const TDadosItensOperacaoComercialApp& item) {
    const int32_t id = db::IdDoProcedimento(conexao, db::kProcedimentoIdItemOperacao);
    return db::ExecutarSeAceito(conexao, ComandoInclusaoItem(id, item)).ComValor(id);
}

Resultado<> AnotarProdutoNaoEncontrado(db::ConexaoErp& conexao, int32_t idNfComercio,
                                       const std::string& codigoApp) {
    try {
        AnotarOperacao(conexao, idNfComercio, TextoProdutoNaoEncontrado(codigoApp),
                       Pendencia::MarcarOperacao);
        return {};
    } catch (const ErroBancoDados& e) {
        return Recusa{e.what()};
    }
}

}  // namespace tessora::importacao
