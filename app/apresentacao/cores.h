#pragma once

#include <cstdint>

namespace tessora::app {

struct Cor {
    uint8_t vermelho, verde, azul;
    friend constexpr bool operator==(const Cor&, const Cor&) = default;
};

// A run or an order that failed: the last-run label, the history's rows.
inline constexpr Cor kCorFalha{0xb0, 0x00, 0x20};
// An order written otherwise than sent, and its run: the history's rows (amber, readable on
// white).
inline constexpr Cor kCorAviso{0x9a, 0x5b, 0x00};

}  // namespace tessora::app
