#include "importacao/limpeza_documentos.h"

#include "comum/texto.h"

namespace tessora::importacao {

std::string LimparCnpjCpf(std::string_view texto) {
    std::string limpo;
    // Byte by byte is safe for UTF-8: no byte of a multi-byte character is an ASCII letter or
    // digit.
    for (const char c : texto) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) limpo += c;
    }
    return limpo;
}

std::string LimparCep(std::string_view texto) {
    std::string limpo;
    for (const char c : AparaBrancos(texto)) {
        if (c != '.' && c != '-' && c != ' ') limpo += c;
    }
    return limpo;
}

}  // namespace tessora::importacao
