#include <windows.h>

#include "plataforma/tempo_arquivo.h"

namespace tessora::plataforma {

std::optional<DataHoraLocal> UltimaGravacaoLocal(const std::filesystem::path& arquivo) {
    WIN32_FILE_ATTRIBUTE_DATA dados{};
    if (!GetFileAttributesExW(arquivo.c_str(), GetFileExInfoStandard, &dados)) return std::nullopt;
    // The local time of that moment, with the daylight rule of its date, as localtime does.
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!FileTimeToSystemTime(&dados.ftLastWriteTime, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) {
        return std::nullopt;
    }
    return DataHoraLocal{local.wYear, local.wMonth,  local.wDay,
                         local.wHour, local.wMinute, local.wSecond};
}

}  // namespace tessora::plataforma
