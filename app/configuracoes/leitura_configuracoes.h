#pragma once

#include <filesystem>

#include "app/configuracoes/configuracoes_api.h"
#include "app/configuracoes/configuracoes_historico.h"
#include "app/configuracoes/configuracoes_servico.h"

namespace tessora::app {

// Everything the program takes from its settings file, read in one go.
struct ConfiguracoesPrograma {
    ConfiguracoesServico servico;
    ConfiguracoesApi api;
    ConfiguracoesHistorico historico;
};

// The service settings file beside `executavel` (ObterArquivoIni), section "AppForcaVendas".
// A missing file or key reads as the default.
ConfiguracoesPrograma LerConfiguracoes(const std::filesystem::path& executavel);

}  // namespace tessora::app
