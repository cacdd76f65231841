#pragma once

#include <cstdint>

namespace tessora::app {

struct Cor {
    uint8_t vermelho, verde, azul;
};

// A run or an order that failed: the last-run label, the history's rows.
inline constexpr Cor kCorFalha{0xb0, 0x00, 0x20};

}  // namespace tessora::app
