#pragma once

#include <cstdint>
#include <string_view>

#include "db/conexao_erp.h"

namespace tessora::importacao {

enum class Pendencia { Nenhuma, MarcarOperacao };

// Appends a note to the operation's TX_USO_INTERNO, after CR LF when the column already
// holds text; with MarcarOperacao the operation's status ID_ST_NF also becomes 1 (needs
// attention). Runs inside the caller's transaction; errors pass on.
void AnotarOperacao(db::ConexaoErp& conexao, int32_t idNfComercio, std::string_view nota,
                    Pendencia pendencia);

}  // namespace tessora::importacao
