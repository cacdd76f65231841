#pragma once

#include <filesystem>

#include "comum/avisos.h"
#include "db/caminhos_atualizacao.h"
#include "db/conexao_erp.h"

namespace tessora::app {

// The self-update check that start-up makes on its open connection (mode 1 compares the
// running build with the master folder's). This build has no self-update yet: the check
// finds nothing to do and returns.
void VerificarAtualizacao(db::ConexaoErp& conexao, int modo, const std::filesystem::path& executavel,
                          const db::CaminhosAtualizacao& caminhos, Avisos& avisos);

}  // namespace tessora::app
