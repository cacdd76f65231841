#pragma once

#include <chrono>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>

namespace tessora {

// A calendar date without time of day, counted in days from 30.12.1899 (day 0).
class Data {
  public:
    constexpr Data() = default;
    static constexpr Data DeDias(int32_t dias) { return Data(dias); }
    // Nothing when the parts do not name a real day.
    static std::optional<Data> DeAnoMesDia(int ano, unsigned mes, unsigned dia);

    constexpr int32_t Dias() const { return dias_; }
    std::chrono::year_month_day AnoMesDia() const;
    // "dd.mm.yyyy"
    std::string FormatarComPontos() const;

    constexpr auto operator<=>(const Data&) const = default;

  private:
    constexpr explicit Data(int32_t dias) : dias_(dias) {}
    int32_t dias_ = 0;
};

}  // namespace tessora
