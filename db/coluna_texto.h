#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/conexao_erp.h"

namespace tessora::db {

// A text column of the ERP as the database declares it.
struct ColunaTexto {
    int32_t tamanho = 0;  // in characters, each one Windows-1252 byte
    bool fixa = false;    // CHAR: padded with blanks up to its size
};

// The declared size and kind of `tabela`.`coluna`; raises ErroBancoDados when the table has
// no such text column.
ColunaTexto LerColunaTexto(ConexaoErp& conexao, std::string_view tabela, std::string_view coluna);

// Why the column cannot hold `texto` (UTF-8) so that it reads back the same and compares
// unlike every other text, or nothing when it can: a character that Windows-1252 lacks or a
// byte that is no UTF-8 (both would be stored as "?"), a NUL (dropped from statements), more
// characters than the column takes, or trailing blanks in a CHAR (lost in its padding).
std::optional<std::string> MotivoTextoInexato(std::string_view texto, const ColunaTexto& coluna);

// A condition that holds where `expressao` equals `texto` exactly. The engine's own equality
// ignores trailing blanks, which a VARCHAR keeps: "q-1" and "q-1 " are two values there.
// Assumes a text that MotivoTextoInexato accepts for the column.
std::string CondicaoTextoExato(std::string_view expressao, std::string_view texto,
                               const ColunaTexto& coluna);

}  // namespace tessora::db
