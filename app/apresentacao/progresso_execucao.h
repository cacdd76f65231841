#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/apresentacao/status_processamento.h"

namespace tessora::app {

// Where a run stands: it reads the `atual`-th of its `total` orders.
struct ProgressoExecucao {
    int32_t atual = 0;
    int32_t total = 0;
};

// What the window's status and the tray's tooltip say while a run goes: that it goes, and
// once it reads its orders, "Pedido n de N".
std::string TextoEmExecucao(const std::optional<ProgressoExecucao>& progresso);
// The last run's label gives way to that while a run goes.
RotuloStatus RotuloEmExecucao(const std::optional<ProgressoExecucao>& progresso);

}  // namespace tessora::app
