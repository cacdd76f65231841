#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "api/json_valor.h"

namespace tessora {

// A parsed JSON text: owns the storage of every value in it. It is also its root object
// (empty when the root is another kind of value), so that an answer reads as an object.
// Moving it keeps the values valid; destroying it ends them.
class JsonDocumento : public JsonObjeto {
  public:
    JsonDocumento(JsonDocumento&&) noexcept;
    JsonDocumento& operator=(JsonDocumento&&) noexcept;
    ~JsonDocumento();

    const JsonValor& Raiz() const { return raiz_; }

  private:
    struct Armazenamento;
    friend std::optional<JsonDocumento> AnalisarJson(std::string json);
    JsonDocumento(std::unique_ptr<Armazenamento> armazenamento, JsonValor raiz);

    std::unique_ptr<Armazenamento> armazenamento_;
    JsonValor raiz_;
};

// Bytes of capacity beyond its contents that AnalisarJson needs to read a text in place;
// a text without them is copied once.
inline constexpr size_t kFolgaAnaliseJson = 64;
// Far beyond any answer's nesting, and low enough that the recursive reading stays small on a
// thread with a small stack.
inline constexpr int kProfundidadeMaximaJson = 256;

// Parses one JSON text (RFC 8259) holding exactly one value. Nothing when the text is not
// well-formed, holds anything after the value, or nests deeper than kProfundidadeMaximaJson.
// A \u escape is one UTF-16 code unit: a surrogate pair gives its character, a lone surrogate
// gives U+FFFD. The document keeps the text: strings without escapes and numbers are viewed
// in it.
std::optional<JsonDocumento> AnalisarJson(std::string json);

}  // namespace tessora
