#include "app/configuracoes_historico.h"

#include <charconv>
#include <optional>
#include <string>

#include "app/configuracoes_servico.h"
#include "comum/arquivo_ini.h"

namespace tessora::app {

namespace {
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
}  // namespace

std::filesystem::path ObterArquivoHistorico(const std::filesystem::path& executavel) {
    return ObterArquivoIni(executavel).replace_extension(".historico.db");
}

ConfiguracoesHistorico LerConfiguracoesHistorico(const std::filesystem::path& executavel) {
    const ArquivoIni ini(ObterArquivoIni(executavel));
    ConfiguracoesHistorico configuracoes{ObterArquivoHistorico(executavel)};
    if (const auto dias = Positivo(ini.Ler("AppForcaVendas", "DiasHistorico"), kDiasMaximos)) {
        configuracoes.diasHistorico = std::chrono::days(*dias);
    }
    if (const auto horas =
            Positivo(ini.Ler("AppForcaVendas", "HorasFalhaTolerada"), 24 * kDiasMaximos)) {
        configuracoes.horasFalhaTolerada = std::chrono::hours(*horas);
    }
    return configuracoes;
}

}  // namespace tessora::app
