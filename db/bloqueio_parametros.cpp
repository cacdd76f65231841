#include "db/bloqueio_parametros.h"

#include "comum/erros.h"
#include "db/consulta.h"

namespace tessora::db {

bool BloquearLinhaParametros(ConexaoErp& conexao) {
    try {
        Consulta consulta(conexao);
        // A lock fires none of the ERP's update triggers, as an update to itself would.
        AbrirConsulta(
            consulta,
            " select tp.ID_PARAMETRO from TAB_PARAMETRO tp where tp.ID_PARAMETRO = 1 with lock");
        return true;
    } catch (const ErroConflitoBloqueio&) {
        return false;
    }
}

}  // namespace tessora::db
