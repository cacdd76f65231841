#pragma once

#include "db/conexao_erp.h"

namespace tessora::db {

// Locks TAB_PARAMETRO's one row for the current transaction, until it ends, without writing
// to it. False at once when another transaction holds the row: the connection's transaction
// does not wait. Other connections still read the row.
[[nodiscard]] bool BloquearLinhaParametros(ConexaoErp& conexao);

}  // namespace tessora::db
