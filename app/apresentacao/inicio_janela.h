#pragma once

#include <filesystem>
#include <string>

#include "app/apresentacao/situacao_bandeja.h"
#include "app/apresentacao/status_processamento.h"

namespace tessora::app {

// What a window shows at start, before a run of its own, as the history leaves it.
struct InicioJanela {
    SituacaoBandeja bandeja;
    RotuloStatus ultimoProcessamento;
    std::string ultimaAtualizacao;  // the time beside "Última atualização"
};

// A history file that does not exist yet is a program that has not run yet; one that cannot be
// read leaves the state unknown, and the label says why.
InicioJanela InicioDoHistorico(const std::filesystem::path& arquivo, bool sincronizacaoAutomatica);

}  // namespace tessora::app
