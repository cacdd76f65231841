#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessora::db::interno {

// A parameter block of the classic interface (DPB, TPB): its version byte, then the items in
// the order they were added.
class BlocoParametros {
  public:
    explicit BlocoParametros(unsigned char versao) : bytes_(1, static_cast<char>(versao)) {}

    // An item without value (TPB).
    void Marca(unsigned char item);
    // An item with a text of at most 255 bytes; a longer one raises ErroBancoDados.
    void Texto(unsigned char item, std::string_view valor);
    // An item with a 32-bit integer, low byte first, as every client and server reads it.
    void Inteiro(unsigned char item, int32_t valor);

    short Tamanho() const { return static_cast<short>(bytes_.size()); }
    const char* Dados() const { return bytes_.data(); }

  private:
    std::string bytes_;
};

}  // namespace tessora::db::interno
