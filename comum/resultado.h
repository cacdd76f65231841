#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace tessora {

// Why a step was refused, or could not be done, without raising: the words of whoever refused
// it (the database's message, the API's answer, the transport's reason), possibly empty.
struct Recusa {
    std::string motivo;
};

// What a step that may be refused or fail gives: its value, or its refusal. Without a value type it
// only says whether the step was accepted. A refusal that tells more than its reason (`R`, with a
// `motivo`) replaces Recusa.
template <typename T = std::monostate, typename R = Recusa>
class [[nodiscard]] Resultado {
  public:
    Resultado() requires std::is_same_v<T, std::monostate>
    = default;
    Resultado(T valor) : estado_(std::move(valor)) {}
    Resultado(R recusa) : estado_(std::move(recusa)) {}

    bool Aceito() const { return std::holds_alternative<T>(estado_); }
    // Only of an accepted step, or of a refused one.
    const T& Valor() const { return std::get<T>(estado_); }
    const R& Falha() const { return std::get<R>(estado_); }
    const std::string& Motivo() const { return Falha().motivo; }

    // `valor` when this step was accepted, or its refusal.
    template <typename U>
    Resultado<U, R> ComValor(U valor) const {
        if (Aceito()) return valor;
        return Falha();
    }

  private:
    std::variant<T, R> estado_;
};

}  // namespace tessora
