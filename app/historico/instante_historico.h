#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessora::app {

// The history keeps moments as whole seconds since 1970 (UTC).
int64_t SegundosHistorico(std::chrono::system_clock::time_point instante);
// "2024-03-15T17:32:05Z", for other programs.
std::string InstanteIso(int64_t segundos);
// Local time as "dd/mm/yyyy hh:mm:ss", for people.
std::string InstanteLocal(int64_t segundos);
// The start of a local day given as "dd/mm/yyyy"; nothing for any other text or no real day.
std::optional<int64_t> InicioDoDiaLocal(std::string_view data);

}  // namespace tessora::app
