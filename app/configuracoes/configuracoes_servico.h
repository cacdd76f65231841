#pragma once

#include <filesystem>
#include <string>

namespace tessora::app {

// The operator's two settings, section "AppForcaVendas" of the service settings file.
struct ConfiguracoesServico {
    bool processoAtivo = false;                // "ProcessoAtivo": exactly "S" turns it on
    std::string tempoEsperaAtualizacao = "5";  // "TempoEsperaAtualizacao": minutes, as typed
};

// The service settings file: beside the executable, its name with ".ini" in place of its
// extension (a name without extension gets ".ini" appended).
std::filesystem::path ObterArquivoIni(const std::filesystem::path& executavel);

// Writes both keys, the minutes unvalidated, keeping everything else in the file.
// Raises Erro("Unable to write to <path>") when the file cannot be written.
void GravarConfiguracoes(const std::filesystem::path& arquivoIni,
                         const ConfiguracoesServico& configuracoes);

}  // namespace tessora::app
