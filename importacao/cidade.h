#pragma once

#include <cstdint>
#include <string_view>

#include "db/conexao_erp.h"

namespace tessora::importacao {

// The TAB_CIDADE key of a city by name and state (both trimmed), compared in capitals: a-z
// and the accented letters of Windows-1252, as the engine folds the stored names. A city
// missing from a state that TAB_ESTADO knows is inserted with its name in the case received;
// 0 when the name or the state is blank, the state is unknown, or the insert was refused. Runs in
// the caller's transaction; errors of the look-ups and of the key allocation pass on.
int32_t ObterCidade(db::ConexaoErp& conexao, std::string_view nomeCidade, std::string_view estado);

}  // namespace tessora::importacao
