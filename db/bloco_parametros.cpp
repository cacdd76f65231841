#include "db/bloco_parametros.h"

#include "comum/erros.h"

namespace tessora::db::interno {

void BlocoParametros::Marca(unsigned char item) { bytes_ += static_cast<char>(item); }

void BlocoParametros::Texto(unsigned char item, std::string_view valor) {
    if (valor.size() > 255) {
        throw ErroBancoDados("Parâmetro de conexão com mais de 255 bytes: " + std::string(valor));
    }
    bytes_ += static_cast<char>(item);
    bytes_ += static_cast<char>(valor.size());
    bytes_ += valor;
}

void BlocoParametros::Inteiro(unsigned char item, int32_t valor) {
    bytes_ += static_cast<char>(item);
    bytes_ += static_cast<char>(4);
    const auto bits = static_cast<uint32_t>(valor);
    for (int deslocamento = 0; deslocamento < 32; deslocamento += 8) {
        bytes_ += static_cast<char>((bits >> deslocamento) & 0xFF);
    }
}

}  // namespace tessora::db::interno
