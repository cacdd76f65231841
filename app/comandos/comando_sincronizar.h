#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "app/execucao/execucao_sincronizacao.h"

namespace tessora::app {

// One run without a window, holding the lock file like the resident program does: the
// log on `saida`, notices and failures on `erros`. With `pedido`, that order alone (see
// AmbienteExecucao::pedido).
// A run that ends normally closes with a one-line count of its orders on `erros`.
// Returns the exit status: 0 when the run ended normally with no order failed,
// kSaidaPedidosComFalha when it ended normally but some orders could not be included,
// kSaidaSemListagem when the API's list of new orders could not be had, 1 when the run could
// not be made or an error ended it.
inline constexpr int kSaidaSemListagem = 3;
inline constexpr int kSaidaPedidosComFalha = 4;
int ComandoSincronizar(const std::filesystem::path& executavel, PedidosAppForcaVenda& pedidos,
                       std::ostream& saida, std::ostream& erros,
                       std::optional<std::string> pedido = std::nullopt);

}  // namespace tessora::app
