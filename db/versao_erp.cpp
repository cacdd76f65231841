#include "db/versao_erp.h"

#include <string>

#include "db/consulta.h"

namespace tessora::db {

void VerificarVersaoErp(ConexaoErp& conexao) {
    Consulta consulta(conexao);
    AbrirConsulta(consulta, " sELECT r.* FROM RDB$RELATION_fields r" + std::string(16, ' ') +
                                "where" + std::string(48, ' ') + "r.RDB$relation_name =" +
                                "'TAB_PARAMETRO'" + " and  r.RDB$field_name = " + "'VERSAO_ERP'");
    if (consulta.TemLinha()) return;

    // The two columns are committed together before the seeding, so a failing seed (no
    // update log) still leaves them in place and the next start-up does nothing more.
    ExecutarComando(consulta, "alter table tab_parametro add script_rodado integer",
                    Confirmacao::Nenhuma);
    ExecutarComando(consulta, "alter table tab_parametro add VERSAO_ERP varchar(30)",
                    Confirmacao::Retendo);
    ExecutarComando(
        consulta,
        " update tab_parametro a set a.script_rodado = (select max(a.no_log_atualizacao) from "
        "mov_log_atualizacao a)",
        Confirmacao::Retendo);
    ExecutarComando(consulta,
                    std::string(" update tab_parametro a set a.VERSAO_ERP = ") + "'Versao Inicial'",
                    Confirmacao::Retendo);
}

}  // namespace tessora::db
