#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace tessora {

// Currency: a signed fixed-point amount with four decimal places, summed exactly.
class Moeda {
  public:
    static constexpr int64_t kEscala = 10000;

    constexpr Moeda() = default;
    static constexpr Moeda DeDecimilesimos(int64_t valor) { return Moeda(valor); }

    constexpr int64_t Decimilesimos() const { return valor_; }

    // A result beyond the range raises ErroConversao instead of wrapping around.
    Moeda operator+(Moeda outra) const;
    Moeda& operator+=(Moeda outra) { return *this = *this + outra; }
    Moeda operator-() const;
    constexpr auto operator<=>(const Moeda&) const = default;

    // Fixed notation with `casas` decimals (0 to 4), rounded half away from zero, whatever
    // the machine's locale: Formatar(2, ',') of 12.5050 gives "12,51".
    std::string Formatar(int casas, char separador) const;

  private:
    constexpr explicit Moeda(int64_t valor) : valor_(valor) {}
    int64_t valor_ = 0;
};

}  // namespace tessora
