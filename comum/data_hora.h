#pragma once

#include <chrono>
#include <string>

#include "comum/data.h"

namespace tessora {

// Local time as "dd/mm/yyyy hh:mm:ss", the stamp of each log line.
std::string DataHoraSegundos(std::chrono::system_clock::time_point instante);
// Local time as "dd/mm/yyyy hh:mm", the last-run label.
std::string DataHoraMinutos(std::chrono::system_clock::time_point instante);
// Today's local date.
Data HojeLocal();

}  // namespace tessora
