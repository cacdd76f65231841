#include <sys/stat.h>

#include <ctime>

#include "plataforma/tempo_arquivo.h"

namespace tessora::plataforma {

std::optional<DataHoraLocal> UltimaGravacaoLocal(const std::filesystem::path& arquivo) {
    struct stat estado {};
    if (::stat(arquivo.c_str(), &estado) != 0) return std::nullopt;
    std::tm local{};
    if (!::localtime_r(&estado.st_mtim.tv_sec, &local)) return std::nullopt;
    return DataHoraLocal{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace tessora::plataforma
