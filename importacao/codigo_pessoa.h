#pragma once

#include <string>

#include "db/conexao_erp.h"

namespace tessora::importacao {

// How many codes the ERP's procedure may deliver that CAD_PESSOA already uses before the
// search gives up.
inline constexpr int kLimiteCandidatosCodigoPessoa = 1000;

// A person code that no CAD_PESSOA row uses yet, drawn from SP_GEN_CAD_PESSOA_CD_PESSOA and
// checked against CAD_PESSOA. The code is not held until the insert. Raises ErroBancoDados
// after kLimiteCandidatosCodigoPessoa used candidates, and passes on database errors.
std::string ProximoCodigoPessoa(db::ConexaoErp& conexao);

}  // namespace tessora::importacao
