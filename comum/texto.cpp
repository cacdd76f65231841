#include "texto.h"

namespace tessora {

namespace {
bool EhBranco(char c) { return static_cast<unsigned char>(c) <= 32; }

char MinusculaAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

std::string_view AparaBrancosIniciais(std::string_view texto) {
    while (!texto.empty() && EhBranco(texto.front())) texto.remove_prefix(1);
    return texto;
}

std::string_view AparaBrancos(std::string_view texto) {
    texto = AparaBrancosIniciais(texto);
    while (!texto.empty() && EhBranco(texto.back())) texto.remove_suffix(1);
    return texto;
}

bool IguaisSemCaixaAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (MinusculaAscii(a[i]) != MinusculaAscii(b[i])) return false;
    }
    return true;
}

std::string TrocarTodos(std::string texto, std::string_view de, std::string_view para) {
    if (de.empty()) return texto;
    for (size_t pos = texto.find(de); pos != std::string::npos;
         pos = texto.find(de, pos + para.size())) {
        texto.replace(pos, de.size(), para);
    }
    return texto;
}

std::string TextoCaminho(const std::filesystem::path& caminho) {
    const std::u8string texto = caminho.u8string();
    return std::string(texto.begin(), texto.end());
}

std::string NumaLinha(std::string texto) {
    texto.erase(texto.find_last_not_of("\r\n") + 1);
    for (size_t i = texto.find_first_of("\r\n"); i != std::string::npos;
         i = texto.find_first_of("\r\n", i)) {
        const size_t fim = texto.find_first_not_of("\r\n", i);
        const size_t tamanho = (fim == std::string::npos ? texto.size() : fim) - i;
        texto.replace(i, tamanho, " / ");
        i += 3;
    }
    return texto;
}

}  // namespace tessora
