#pragma once

#include <cstdint>
#include <string_view>

#include "db/conexao_erp.h"

namespace tessora::db {

// The next key of a table as its committed maximum plus one (1 for an empty table or a
// maximum of 0 or less). Nothing is reserved: another writer asking at the same moment
// gets the same key. A maximum that leaves no 32-bit key raises ErroBancoDados.
int32_t ProximoId(std::string_view tabela, std::string_view colunaChave, ConexaoErp& conexao);

}  // namespace tessora::db
