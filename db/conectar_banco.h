#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "db/caminhos_atualizacao.h"
#include "db/conexao_erp.h"
#include "db/locais_erp.h"

namespace tessora::db {

// Opens the ERP connection for one piece of work and, once attached, refreshes the
// self-update paths. A refused attach raises ErroBancoDados and leaves `caminhos` as it was.
// `processo`, when given, names the connection's process for the server (ConexaoErp::
// DefinirProcesso).
std::unique_ptr<ConexaoErp> ConectarBancoDados(const LocalBancoDados& local,
                                               const std::filesystem::path& executavel,
                                               CaminhosAtualizacao& caminhos,
                                               std::string_view processo = {});

// Commits what the work left in the transaction and detaches; the connection is released
// even when that fails (the error then passes on).
void DesconectarBancoDados(std::unique_ptr<ConexaoErp>& conexao);

}  // namespace tessora::db
