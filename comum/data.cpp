#include "data.h"

#include <cstdio>

namespace tessora {

namespace {
constexpr std::chrono::sys_days kDiaZero =
    std::chrono::year{1899} / std::chrono::December / std::chrono::day{30};
}

std::optional<Data> Data::DeAnoMesDia(int ano, unsigned mes, unsigned dia) {
    const std::chrono::year_month_day ymd{std::chrono::year{ano}, std::chrono::month{mes},
                                          std::chrono::day{dia}};
    if (ano < 1 || ano > 9999 || !ymd.ok()) return std::nullopt;
    return Data(static_cast<int32_t>((std::chrono::sys_days{ymd} - kDiaZero).count()));
}

std::chrono::year_month_day Data::AnoMesDia() const {
    return std::chrono::year_month_day{kDiaZero + std::chrono::days{dias_}};
}

std::string Data::FormatarComPontos() const {
    const auto ymd = AnoMesDia();
    char texto[16];
    std::snprintf(texto, sizeof texto, "%02u.%02u.%04d", static_cast<unsigned>(ymd.day()),
                  static_cast<unsigned>(ymd.month()), static_cast<int>(ymd.year()));
    return texto;
}

}  // namespace tessora
