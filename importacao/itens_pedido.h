#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "api/json_valor.h"
#include "comum/resultado.h"
#include "db/conexao_erp.h"
#include "importacao/dados_operacao.h"

namespace tessora::importacao {

// The ERP's product for an item whose app product it does not know.
inline constexpr int32_t kProdutoNaoCadastrado = -99;

// The number, the app's code and the amounts of one element of "itens" (the `numero`th), as
// the import reads them: the ERP is not asked. An amount beyond its column raises ErroConversao.
TDadosItensOperacaoComercialApp ValoresDoItem(const JsonObjeto& elemento, int32_t numero);

// One element of "itens" (the `numero`th) as the import reads it, before anything is written:
// ID_PRODUTO 0 for a product the ERP does not know, the category of the operation's customer.
TDadosItensOperacaoComercialApp LerItemPedido(db::ConexaoErp& conexao,
                                              const TDadosOperacaoComercialApp& operacao,
                                              const JsonObjeto& elemento, int32_t numero);

// Writes the order's "itens" (found in its "data" object) as rows of MOV_NF_COMERCIO_ITEM of
// the operation `operacao.ID_NF_COMERCIO`, numbered from 1 in the array's order, each row's
// category taken from the customer `operacao.ID_DESTINATARIO_REMETENTE`. False, with nothing
// written, when "itens" is absent or not an array; true otherwise (an empty array included).
//
// An item whose product the ERP does not know is written with the placeholder product -99 and
// the operation is marked with a note naming the item. An item whose insert the database
// refuses is left out and the operation is marked with a note naming the item and the error.
// A non-object element raises ErroTipoInvalido, and database errors of the look-ups, the key
// procedure or the marks pass on: the items written before stay in the caller's transaction,
// whose unit of work decides their fate. Never commits. Each of those notes is also added to
// `avisos`, so that the order is not taken for one written as sent.
[[nodiscard]] bool ImportarItensPedido(db::ConexaoErp& conexao,
                                       const TDadosOperacaoComercialApp& operacao,
                                       const JsonObjeto& dados, std::vector<std::string>& avisos);

// Inserts the item under a key drawn from the ERP's item procedure and gives that key, or the
// database's refusal of the insert. A failure to draw the key is raised.
Resultado<int32_t> IncluirItemOperacaoComercialApp(db::ConexaoErp& conexao,
                                                   const TDadosItensOperacaoComercialApp& item);

// Marks the operation (status 1) with the note that the item `codigoApp` names a product the
// ERP lacks, or says why the database refused the update.
Resultado<> AnotarProdutoNaoEncontrado(db::ConexaoErp& conexao, int32_t idNfComercio,
                                       const std::string& codigoApp);

}  // namespace tessora::importacao
