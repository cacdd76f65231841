#pragma once

#include <filesystem>
#include <optional>

namespace tessora::plataforma {

// A moment in this machine's local time, to the second.
struct DataHoraLocal {
    int ano = 0;
    int mes = 0;
    int dia = 0;
    int hora = 0;
    int minuto = 0;
    int segundo = 0;

    friend bool operator==(const DataHoraLocal&, const DataHoraLocal&) = default;
};

// The file's last-write time in local time; nothing when the file cannot be examined.
std::optional<DataHoraLocal> UltimaGravacaoLocal(const std::filesystem::path& arquivo);

}  // namespace tessora::plataforma
