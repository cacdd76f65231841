#pragma once

#include <string>

#include "api/json_valor.h"
#include "importacao/dados_operacao.h"

namespace tessora::importacao {

// The header fields that the order's "data" object gives by itself, read as the import reads
// them, without the ERP: the id, NR_NOTA_FISCAL, DT_EMISSAO and DT_SAIDA_ENTRADA,
// QT_DIAS_VALIDADE, the amounts and VL_TOTAL_NF, and TX_OBS_NF from the annotations. Raises
// where the import would: an amount beyond its column (ErroConversao), an annotation that is
// no object (ErroTipoInvalido).
TDadosOperacaoComercialApp LerCabecalhoDoPedido(const std::string& id, const JsonObjeto& dados);

}  // namespace tessora::importacao
