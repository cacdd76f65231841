#pragma once

#include <chrono>
#include <filesystem>
#include <ostream>

namespace tessora::app {

// The health of the synchronisation as JSON on `saida`: the latest runs, the orders whose
// latest outcome is a failure, and a verdict. Returns 0 when the latest finished run ended
// normally with every order included or left to another copy, no order has kept failing for
// longer than "HorasFalhaTolerada", and automatic runs, when the settings arm them, have not
// stopped (the latest run no older than three intervals, and than a day); 1 otherwise, also
// when the history cannot be read or holds no finished run.
int ComandoEstado(const std::filesystem::path& executavel, std::ostream& saida,
                  std::chrono::system_clock::time_point agora = std::chrono::system_clock::now());

}  // namespace tessora::app
