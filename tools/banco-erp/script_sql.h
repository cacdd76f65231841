#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "db/conexao_erp.h"

namespace tessora::ferramentas {

// Splits a script in isql form into statements: "--" comments dropped, "SET TERM"
// honoured, terminators inside quotes ignored, isql's own commands and COMMIT left out.
std::vector<std::string> DividirScriptSql(std::string_view script);

// Runs each statement of the script file and commits after each one, as isql does with
// automatic DDL commits.
void ExecutarScriptSql(db::ConexaoErp& conexao, const std::filesystem::path& arquivo);

// Creates a fresh ERP database and runs the given scripts on it.
void CriarBancoErp(std::string_view nomeBanco, const std::vector<std::filesystem::path>& scripts);

}  // namespace tessora::ferramentas
