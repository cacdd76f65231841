#pragma once

#include <filesystem>
#include <ostream>

#include "app/execucao_sincronizacao.h"

namespace tessora::app {

// One run without a window, holding the lock file like the resident program does: the
// log on `saida`, notices and failures on `erros`.
// Returns the exit status: 0 when the run ended normally.
int ComandoSincronizar(const std::filesystem::path& executavel, PedidosAppForcaVenda& pedidos,
                       std::ostream& saida, std::ostream& erros);

}  // namespace tessora::app
