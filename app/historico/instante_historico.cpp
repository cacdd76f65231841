#include "app/historico/instante_historico.h"

#include <ctime>

#include "comum/data_hora.h"

namespace tessora::app {

namespace {
std::chrono::system_clock::time_point Instante(int64_t segundos) {
    return std::chrono::system_clock::time_point(std::chrono::seconds(segundos));
}

// The value of exactly `n` digits at the start of `texto`, which loses them.
std::optional<int> Digitos(std::string_view& texto, size_t n) {
    if (texto.size() < n) return std::nullopt;
    int valor = 0;
    for (size_t i = 0; i < n; ++i) {
        if (texto[i] < '0' || texto[i] > '9') return std::nullopt;
        valor = valor * 10 + (texto[i] - '0');
    }
    texto.remove_prefix(n);
    return valor;
}

bool Barra(std::string_view& texto) {
    if (texto.empty() || texto.front() != '/') return false;
    texto.remove_prefix(1);
    return true;
}
}  // namespace

int64_t SegundosHistorico(std::chrono::system_clock::time_point instante) {
    return std::chrono::floor<std::chrono::seconds>(instante.time_since_epoch()).count();
}

std::string InstanteIso(int64_t segundos) {
    const std::time_t t = static_cast<std::time_t>(segundos);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char texto[32];
    std::strftime(texto, sizeof texto, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return texto;
}

std::string InstanteLocal(int64_t segundos) { return DataHoraSegundos(Instante(segundos)); }

std::optional<int64_t> InicioDoDiaLocal(std::string_view data) {
    const auto dia = Digitos(data, 2);
    if (!dia || !Barra(data)) return std::nullopt;
    const auto mes = Digitos(data, 2);
    if (!mes || !Barra(data)) return std::nullopt;
    const auto ano = Digitos(data, 4);
    if (!ano || !data.empty()) return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year(*ano),
                                          std::chrono::month(static_cast<unsigned>(*mes)),
                                          std::chrono::day(static_cast<unsigned>(*dia))};
    if (!ymd.ok()) return std::nullopt;
    std::tm local{};
    local.tm_year = *ano - 1900;
    local.tm_mon = *mes - 1;
    local.tm_mday = *dia;
    local.tm_isdst = -1;  // whatever daylight saving time says for that day
    return static_cast<int64_t>(std::mktime(&local));
}

}  // namespace tessora::app
