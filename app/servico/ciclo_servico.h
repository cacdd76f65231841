#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/configuracoes/leitura_configuracoes.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/servico/arquivo_lock.h"
#include "comum/avisos.h"
#include "db/caminhos_atualizacao.h"
#include "manutencao/atualizacao.h"

namespace tessora::app {

// What start-up leaves for the resident service. Filled step by step, so that what a
// failed step left behind (the lock file above all) stays held.
struct EstadoServico {
    std::optional<ArquivoLock> lock;
    std::optional<ConfiguracoesServico> configuracoes;  // nothing until start-up loaded them
    ConfiguracoesApi configuracoesApi;
    // After DesfechoInicio::Atualizar: the updater to start as the program's last act.
    std::optional<manutencao::DesfechoAtualizacao> atualizacao;
};

enum class DesfechoInicio {
    Residente,  // the program goes on
    Encerrar,   // the program is to end; this copy holds no lock file any more
    Atualizar,  // the same, and then the updater in `EstadoServico::atualizacao` starts
};

// The start-up sequence: the data folder, the lock file (a copy that finds another copy
// running shows the notice and ends), the connection with the self-update check, and the
// service's settings out of `configuracoes`, read beforehand. A refused attach releases the lock
// file, shows its reason in an error box captioned "tessora Service" and ends the program. A step
// that raises leaves `estado` as far as it got and lets the error pass.
DesfechoInicio IniciarServico(const std::filesystem::path& executavel,
                              const ConfiguracoesPrograma& configuracoes, Avisos& avisos,
                              db::CaminhosAtualizacao& caminhos, EstadoServico& estado);

// The program's last act after DesfechoInicio::Atualizar, once the connection is closed, the
// lock file removed and no event loop runs: starts the updater, which waits for this process
// to end. Nothing otherwise.
void IniciarAtualizacaoPendente(const EstadoServico& estado);

// The close handling once no run holds a connection: the settings written back when
// start-up loaded them, then this copy's lock file removed. An unwritable settings file
// raises before anything changes, and the program stays.
void FecharServico(const std::filesystem::path& executavel, const ConfiguracoesServico& atuais,
                   EstadoServico& estado);

}  // namespace tessora::app
