#pragma once

#include <cstdint>
#include <string>

#include "comum/data.h"
#include "comum/moeda.h"

namespace tessora::importacao {

// The header of one ERP commercial operation built from an app order.
struct TDadosOperacaoComercialApp {
    std::string ID_APP_FORCA_VENDA;
    int32_t ID_NF_COMERCIO = 0;
    int32_t ID_EMPRESA = 0;
    int32_t ID_NAT_OPERACAO = 0;
    std::string DS_SERIE_NF;
    int32_t NR_NOTA_FISCAL = 0;
    Data DT_EMISSAO;
    Data DT_SAIDA_ENTRADA;
    int32_t ID_TP_MOV_ESTOQUE = 0;
    int32_t ID_VENDEDOR = 0;
    int32_t ID_ST_NF = 0;
    int32_t ID_DESTINATARIO_REMETENTE = 0;
    int32_t ID_CIDADE_FATURAMENTO = 0;
    int32_t ID_END_FATURAMENTO = 0;
    std::string SG_ESTADO_FATURAMENTO;
    int32_t ID_CIDADE_ENTREGA = 0;
    int32_t ID_END_ENTREGA = 0;
    std::string SG_ESTADO_ENTREGA;
    Moeda VL_IPI;
    Moeda VL_ICMS;
    Moeda VL_ICMS_SUBST;
    Moeda VL_PRODUTOS;
    Moeda VL_TOTAL_NF;
    int32_t ID_PLANO_PAGAMENTO = 0;
    int32_t ID_FORMA_PAGTO = 0;
    int32_t ID_TP_FRETE = 0;
    std::string TX_OBS_NF;
    int32_t QT_DIAS_VALIDADE = 0;
};

// One item of an operation.
struct TDadosItensOperacaoComercialApp {
    int32_t ID_NF_COMERCIO = 0;
    int32_t ID_NF_COMERCIO_ITEM = 0;
    int32_t ID_PRODUTO = 0;
    std::string CD_PRODUTO_APP;
    std::string NM_PRODUTO;
    Moeda QT_PRODUTO;
    Moeda VL_UNITARIO;
    Moeda VL_TOTAL;
    Moeda PO_ALIQ_IPI;
    Moeda VL_BASE_IPI;
    Moeda VL_IPI;
    Moeda VL_ICMS_SUBST;
    Moeda PO_COMISSAO;
    int32_t NO_ITEM = 0;
    std::string CT_REVENDEDOR;
};

}  // namespace tessora::importacao
