#include "app/configuracoes/configuracoes_servico.h"

#include "comum/gravacao_ini.h"

namespace tessora::app {

std::filesystem::path ObterArquivoIni(const std::filesystem::path& executavel) {
    return std::filesystem::path(executavel).replace_extension(".ini");
}

void GravarConfiguracoes(const std::filesystem::path& arquivoIni,
                         const ConfiguracoesServico& configuracoes) {
    GravarValoresIni(arquivoIni, "AppForcaVendas",
                     {{"ProcessoAtivo", configuracoes.processoAtivo ? "S" : "N"},
                      {"TempoEsperaAtualizacao", configuracoes.tempoEsperaAtualizacao}});
}

}  // namespace tessora::app
