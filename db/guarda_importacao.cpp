#include "db/guarda_importacao.h"

#include "db/consulta.h"
#include "db/leitura_coluna.h"
#include "db/valores_sql.h"

namespace tessora::db {

std::optional<CopiaImportando> CopiaAnteriorImportando(ConexaoErp& conexao) {
    Consulta consulta(conexao);
    AbrirConsulta(consulta,
                  " select first 1 a.MON$REMOTE_PID as PID, a.MON$REMOTE_ADDRESS as ENDERECO "
                  "from MON$ATTACHMENTS a where a.MON$REMOTE_PROCESS = " +
                      TextoSql(kProcessoImportacao) +
                      " and a.MON$ATTACHMENT_ID < CURRENT_CONNECTION order by "
                      "a.MON$ATTACHMENT_ID");
    if (!consulta.TemLinha()) return std::nullopt;
    return CopiaImportando{LerTexto(consulta, "PID"), LerTexto(consulta, "ENDERECO")};
}

}  // namespace tessora::db
