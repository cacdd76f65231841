#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessora::app {

// The largest number of minutes whose milliseconds fit the timer's 32-bit interval.
inline constexpr int32_t kMinutosMaximos = 35791;

// The synchronisation timer's interval for the minutes text: nothing for 0, which arms no
// automatic run. A text that is no whole number (blanks before it allowed) raises
// ErroConversao; a number below 0 or above kMinutosMaximos raises Erro, since no timer can
// honour it.
std::optional<std::chrono::milliseconds> IntervaloSincronizacao(
    std::string_view minutos, std::chrono::milliseconds porMinuto = std::chrono::minutes(1));

}  // namespace tessora::app
