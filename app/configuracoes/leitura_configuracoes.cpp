#include "app/configuracoes/leitura_configuracoes.h"

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "comum/arquivo_ini.h"

namespace tessora::app {

namespace {

constexpr std::string_view kSecao = "AppForcaVendas";

// The operator's values are cut after 2047 characters, never inside a UTF-8 sequence.
constexpr size_t kTamanhoMaximoValor = 2047;

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

ConfiguracoesServico LerServico(const ArquivoIni& ini) {
    ConfiguracoesServico configuracoes;
    configuracoes.processoAtivo = LerValor(ini, "ProcessoAtivo", "") == "S";
    configuracoes.tempoEsperaAtualizacao = LerValor(ini, "TempoEsperaAtualizacao", "5");
    return configuracoes;
}

ConfiguracoesApi LerApi(const ArquivoIni& ini) {
    ConfiguracoesApi configuracoes;
    configuracoes.urlBaseApi = ini.Ler(kSecao, "UrlBaseApi");
    if (configuracoes.urlBaseApi.empty()) configuracoes.urlBaseApi = UrlBaseApiPadrao();
    // The paths are joined to the base without a separator of their own.
    while (!configuracoes.urlBaseApi.empty() && configuracoes.urlBaseApi.back() == '/') {
        configuracoes.urlBaseApi.pop_back();
    }
    configuracoes.arquivoCertificados = ini.Ler(kSecao, "ArquivoCertificados");
    return configuracoes;
}

// A century at most, so that no moment computed from it leaves the clock's range.
constexpr int kDiasMaximos = 36500;

std::optional<int> Positivo(const std::string& texto, int maximo) {
    int valor = 0;
    const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (texto.empty() || erro != std::errc() || fim != texto.data() + texto.size() || valor <= 0 ||
        valor > maximo) {
        return std::nullopt;
    }
    return valor;
}

ConfiguracoesHistorico LerHistorico(const ArquivoIni& ini,
                                    const std::filesystem::path& executavel) {
    ConfiguracoesHistorico configuracoes{ObterArquivoHistorico(executavel)};
    if (const auto dias = Positivo(ini.Ler(kSecao, "DiasHistorico"), kDiasMaximos)) {
        configuracoes.diasHistorico = std::chrono::days(*dias);
    }
    if (const auto horas = Positivo(ini.Ler(kSecao, "HorasFalhaTolerada"), 24 * kDiasMaximos)) {
        configuracoes.horasFalhaTolerada = std::chrono::hours(*horas);
    }
    return configuracoes;
}

}  // namespace

ConfiguracoesPrograma LerConfiguracoes(const std::filesystem::path& executavel) {
    const ArquivoIni ini(ObterArquivoIni(executavel));
    return {LerServico(ini), LerApi(ini), LerHistorico(ini, executavel)};
}

}  // namespace tessora::app
