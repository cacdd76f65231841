#include "app/apresentacao/versao_programa.h"

#include <chrono>

#include "comum/data_hora.h"

namespace tessora::app {

std::string TextoVersao(const std::filesystem::path& executavel) {
    const auto escrita =
        std::chrono::file_clock::to_sys(std::filesystem::last_write_time(executavel));
    return "Versão: " +
           DataHoraMinutos(
               std::chrono::time_point_cast<std::chrono::system_clock::duration>(escrita));
}

}  // namespace tessora::app
