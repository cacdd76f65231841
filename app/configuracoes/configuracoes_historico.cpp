#include "app/configuracoes/configuracoes_historico.h"

#include "app/configuracoes/configuracoes_servico.h"

namespace tessora::app {

std::filesystem::path ObterArquivoHistorico(const std::filesystem::path& executavel) {
    return ObterArquivoIni(executavel).replace_extension(".historico.db");
}

}  // namespace tessora::app
