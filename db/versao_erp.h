#pragma once

#include "db/conexao_erp.h"

namespace tessora::db {

// Makes sure TAB_PARAMETRO carries the ERP's version columns (VERSAO_ERP, script_rodado):
// when VERSAO_ERP is missing, both are added and seeded in every row. Only VERSAO_ERP is
// looked for; every database error passes to the caller.
void VerificarVersaoErp(ConexaoErp& conexao);

}  // namespace tessora::db
