#include "app/configuracoes_servico.h"

#include <optional>

#include "comum/arquivo_ini.h"
#include "comum/gravacao_ini.h"

namespace tessora::app {

namespace {
constexpr std::string_view kSecao = "AppForcaVendas";
constexpr size_t kTamanhoMaximoValor = 2047;

// Cuts after the given number of characters, never inside a UTF-8 sequence.
std::string Limitar(std::string texto) {
    size_t caracteres = 0;
    for (size_t i = 0; i < texto.size(); ++i) {
        const bool inicioCaractere = (static_cast<unsigned char>(texto[i]) & 0xC0) != 0x80;
        if (inicioCaractere && caracteres++ == kTamanhoMaximoValor) {
            texto.resize(i);
            break;
        }
    }
    return texto;
}

std::string LerValor(const ArquivoIni& ini, std::string_view chave, std::string padrao) {
    std::optional<std::string> valor = ini.Procurar(kSecao, chave);
    return valor ? Limitar(std::move(*valor)) : std::move(padrao);
}
}  // namespace

std::filesystem::path ObterArquivoIni(const std::filesystem::path& executavel) {
    return std::filesystem::path(executavel).replace_extension(".ini");
}

ConfiguracoesServico LerConfiguracoes(const std::filesystem::path& arquivoIni) {
    const ArquivoIni ini(arquivoIni);
    ConfiguracoesServico configuracoes;
    configuracoes.processoAtivo = LerValor(ini, "ProcessoAtivo", "") == "S";
    configuracoes.tempoEsperaAtualizacao = LerValor(ini, "TempoEsperaAtualizacao", "5");
    return configuracoes;
}

void GravarConfiguracoes(const std::filesystem::path& arquivoIni,
                         const ConfiguracoesServico& configuracoes) {
    GravarValoresIni(arquivoIni, kSecao,
                     {{"ProcessoAtivo", configuracoes.processoAtivo ? "S" : "N"},
                      {"TempoEsperaAtualizacao", configuracoes.tempoEsperaAtualizacao}});
}

}  // namespace tessora::app
