#pragma once

#include <chrono>
#include <filesystem>

namespace tessora::app {

// Where the history of runs and orders is kept and for how long, from section
// "AppForcaVendas" of the service settings file: "DiasHistorico" (days of runs kept) and
// "HorasFalhaTolerada" (how long an order may keep failing before the health check says so).
// A missing value, or one that is no whole number from 1 to a century, reads as the default.
struct ConfiguracoesHistorico {
    std::filesystem::path arquivo;
    std::chrono::days diasHistorico{90};
    std::chrono::hours horasFalhaTolerada{24};
};

// The history file sits beside the settings file and takes its name: "tessoraService.historico.db".
std::filesystem::path ObterArquivoHistorico(const std::filesystem::path& executavel);

}  // namespace tessora::app
