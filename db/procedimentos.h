#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "db/conexao_erp.h"

namespace tessora::db {

// The ERP's key procedures: no input, the new key in the output parameter ID.
inline constexpr std::string_view kProcedimentoIdOperacao = "SP_GEN_MOV_NF_COMERCIO_ID";
inline constexpr std::string_view kProcedimentoIdItemOperacao = "SP_GEN_MOV_NF_COMERCIO_ITEM_ID";
inline constexpr std::string_view kProcedimentoCodigoPessoa = "SP_GEN_CAD_PESSOA_CD_PESSOA";

// Executes the procedure ("execute procedure NAME") and reads its output ID. Each call
// draws a new value. A procedure that gives no ID (NULL) raises ErroBancoDados: a key of
// 0 or an empty code would be written as if it were a real one.
int32_t IdDoProcedimento(ConexaoErp& conexao, std::string_view procedimento);
std::string IdDoProcedimentoComoTexto(ConexaoErp& conexao, std::string_view procedimento);

}  // namespace tessora::db
