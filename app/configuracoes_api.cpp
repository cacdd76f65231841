#include "app/configuracoes_api.h"

#include "app/configuracoes_servico.h"
#include "comum/arquivo_ini.h"

namespace tessora::app {

const char* UrlBaseApiPadrao() { return TESSORA_URL_BASE_API; }

ConfiguracoesApi LerConfiguracoesApi(const std::filesystem::path& executavel) {
    const ArquivoIni ini(ObterArquivoIni(executavel));
    ConfiguracoesApi configuracoes;
    configuracoes.urlBaseApi = ini.Ler("AppForcaVendas", "UrlBaseApi");
    if (configuracoes.urlBaseApi.empty()) configuracoes.urlBaseApi = UrlBaseApiPadrao();
    // The paths are joined to the base without a separator of their own.
    while (!configuracoes.urlBaseApi.empty() && configuracoes.urlBaseApi.back() == '/') {
        configuracoes.urlBaseApi.pop_back();
    }
    configuracoes.arquivoCertificados = ini.Ler("AppForcaVendas", "ArquivoCertificados");
    return configuracoes;
}

}  // namespace tessora::app
