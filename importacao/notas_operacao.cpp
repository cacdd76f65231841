#include "importacao/notas_operacao.h"

#include <string>

#include "db/consulta.h"
#include "db/valores_sql.h"

namespace tessora::importacao {

void AnotarOperacao(db::ConexaoErp& conexao, int32_t idNfComercio, std::string_view nota,
                    Pendencia pendencia) {
    std::string comando = " update mov_nf_comercio mc set ";
    if (pendencia == Pendencia::MarcarOperacao) comando += "mc.ID_ST_NF = 1, ";
    comando +=
        "mc.TX_USO_INTERNO =  COALESCE(mc.TX_USO_INTERNO, '') || IIF(COALESCE(mc.TX_USO_INTERNO, "
        "'') = '', '', "
        "ASCII_CHAR(13) || ASCII_CHAR(10)) || ";
    comando += db::TextoSql(nota);
    comando += " where mc.ID_NF_COMERCIO = ";
    comando += db::InteiroSql(idNfComercio);
    db::Consulta consulta(conexao);
    db::ExecutarComando(consulta, comando, db::Confirmacao::Nenhuma);
}

}  // namespace tessora::importacao
