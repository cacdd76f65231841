#pragma once

#include <string>

#include "db/conexao_erp.h"

namespace tessora::db {

// ST_SINCRONIZAR_APP_FORCA_VENDA of TAB_PARAMETRO row 1; empty for NULL or no row.
std::string ObterSincronizarAppForcaVenda(ConexaoErp& conexao);
// True only for exactly "S".
bool AppForcaVendaHabilitado(ConexaoErp& conexao);
// DS_TOKEN_APP_FORCA_VENDA of TAB_PARAMETRO row 1, as stored; empty for NULL or no row.
std::string ObterTokenAppForcaVenda(ConexaoErp& conexao);

}  // namespace tessora::db
