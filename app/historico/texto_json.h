#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessora::app {

// A JSON string literal of UTF-8 text: quotes, backslashes and control characters escaped.
std::string TextoJson(std::string_view texto);
// A number, or null.
std::string NumeroJson(const std::optional<int64_t>& valor);

}  // namespace tessora::app
