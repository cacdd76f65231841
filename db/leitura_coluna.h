#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "db/conexao_erp.h"
#include "db/consulta.h"

namespace tessora::db {

// A column of the current row, found ignoring case. No row and NULL read as 0 or as the
// empty text; a column the result lacks raises ErroBancoDados. An integer column is read with
// blanks around allowed; a fraction ("12.5000") or a value beyond 32 bits raises ErroConversao
// rather than being cut to something else. Texts come as stored
// (CHAR keeps its padding).
int32_t LerInteiro(const Consulta& consulta, std::string_view coluna);
std::string LerTexto(const Consulta& consulta, std::string_view coluna);

// Runs the SELECT with AbrirConsulta on a query of its own and reads the column of the
// first row the server delivers.
int32_t ConsultarInteiro(ConexaoErp& conexao, std::string_view comando, std::string_view coluna);
std::string ConsultarTexto(ConexaoErp& conexao, std::string_view comando, std::string_view coluna);

}  // namespace tessora::db
