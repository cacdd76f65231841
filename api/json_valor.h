#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessora {

// JSON values are small views: arrays, objects and texts live in the JsonDocumento that was
// parsed, which owns them, so a value stays valid only as long as its document. Copying a view
// copies no content.

class JsonValor;
struct JsonMembro;

// An array's elements in their order.
class JsonLista {
  public:
    JsonLista() = default;
    JsonLista(const JsonValor* itens, size_t quantos) : itens_(itens), quantos_(quantos) {}

    const JsonValor* begin() const;
    const JsonValor* end() const;
    size_t size() const { return quantos_; }
    bool empty() const { return quantos_ == 0; }
    const JsonValor& operator[](size_t i) const;

  private:
    const JsonValor* itens_ = nullptr;
    size_t quantos_ = 0;
};

// An object's members in the order of the text. A name may occur more than once: look-ups
// find the first.
class JsonObjeto {
  public:
    JsonObjeto() = default;
    JsonObjeto(const JsonMembro* membros, size_t quantos) : membros_(membros), quantos_(quantos) {}

    std::span<const JsonMembro> Membros() const;

  private:
    const JsonMembro* membros_ = nullptr;
    size_t quantos_ = 0;
};

enum class JsonTipo : uint8_t { Nulo, Booleano, Numero, Texto, Lista, Objeto };

// One JSON value. Numbers keep the text they were written with, so that integers beyond 64 bits
// survive; they become a double only when asked.
class JsonValor {
  public:
    constexpr JsonValor() : texto_() {}  // null
    static JsonValor Booleano(bool valor);
    // `texto` must be a well-formed JSON number.
    static JsonValor Numero(std::string_view texto);
    static JsonValor Texto(std::string_view texto);
    static JsonValor Lista(JsonLista lista);
    static JsonValor Objeto(JsonObjeto objeto);

    JsonTipo Tipo() const { return tipo_; }

    // Each gives nullptr unless the value is of that kind.
    const bool* ComoBooleano() const { return tipo_ == JsonTipo::Booleano ? &booleano_ : nullptr; }
    const std::string_view* ComoTexto() const {
        return tipo_ == JsonTipo::Texto ? &texto_ : nullptr;
    }
    const JsonLista* ComoLista() const { return tipo_ == JsonTipo::Lista ? &lista_ : nullptr; }
    const JsonObjeto* ComoObjeto() const { return tipo_ == JsonTipo::Objeto ? &objeto_ : nullptr; }
    // The number as written in the text.
    const std::string_view* TextoDoNumero() const {
        return tipo_ == JsonTipo::Numero ? &texto_ : nullptr;
    }
    // The number as the nearest double; beyond the double range, an infinity or zero of its sign.
    std::optional<double> ComoDouble() const;

  private:
    JsonTipo tipo_ = JsonTipo::Nulo;
    union {
        bool booleano_;
        std::string_view texto_;  // a string's characters or a number's text
        JsonLista lista_;
        JsonObjeto objeto_;
    };
};

struct JsonMembro {
    std::string_view nome;
    JsonValor valor;
};

inline const JsonValor* JsonLista::begin() const { return itens_; }
inline const JsonValor* JsonLista::end() const { return itens_ + quantos_; }
inline const JsonValor& JsonLista::operator[](size_t i) const { return itens_[i]; }
inline std::span<const JsonMembro> JsonObjeto::Membros() const { return {membros_, quantos_}; }

}  // namespace tessora
