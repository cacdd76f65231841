#include "app/apresentacao/aparar_espacos.h"

#include <utf8proc.h>

namespace tessora::app {

namespace {
bool Espaco(utf8proc_int32_t codigo) {
    if ((codigo >= 0x09 && codigo <= 0x0D) || codigo == 0x85) return true;
    const utf8proc_category_t categoria = utf8proc_category(codigo);
    return categoria == UTF8PROC_CATEGORY_ZS || categoria == UTF8PROC_CATEGORY_ZL ||
           categoria == UTF8PROC_CATEGORY_ZP;
}

// The size of the white space character at the start of `texto`; 0 when there is none.
size_t EspacoInicial(std::string_view texto) {
    utf8proc_int32_t codigo = -1;
    const utf8proc_ssize_t tamanho =
        utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(texto.data()),
                         static_cast<utf8proc_ssize_t>(texto.size()), &codigo);
    return tamanho > 0 && Espaco(codigo) ? static_cast<size_t>(tamanho) : 0;
}

bool Continuacao(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }
}  // namespace

std::string_view AparaEspacos(std::string_view texto) {
    while (const size_t tamanho = EspacoInicial(texto)) texto.remove_prefix(tamanho);
    while (!texto.empty()) {
        // The last character starts at the last byte that does not continue one.
        size_t inicio = texto.size() - 1;
        while (inicio > 0 && Continuacao(texto[inicio])) --inicio;
        const std::string_view ultimo = texto.substr(inicio);
        if (EspacoInicial(ultimo) != ultimo.size()) break;
        texto.remove_suffix(ultimo.size());
    }
    return texto;
}

}  // namespace tessora::app
