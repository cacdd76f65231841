#include "comum/linhas_ini.h"

#include "comum/texto.h"

namespace tessora {

std::vector<LinhaIni> DividirLinhasIni(std::string_view conteudo) {
    std::vector<LinhaIni> linhas;
    size_t inicio = 0;
    while (inicio < conteudo.size()) {
        const size_t quebra = conteudo.find_first_of("\r\n", inicio);
        if (quebra == std::string_view::npos) {
            linhas.push_back({std::string(conteudo.substr(inicio)), ""});
            break;
        }
        const size_t tamanhoFim = conteudo.compare(quebra, 2, "\r\n") == 0 ? 2 : 1;
        linhas.push_back({std::string(conteudo.substr(inicio, quebra - inicio)),
                          std::string(conteudo.substr(quebra, tamanhoFim))});
        inicio = quebra + tamanhoFim;
    }
    return linhas;
}

std::optional<std::string_view> NomeSecaoIni(std::string_view linha) {
    const std::string_view texto = AparaBrancos(linha);
    if (texto.empty() || texto.front() != '[') return std::nullopt;
    const size_t fecho = texto.find(']');
    return AparaBrancos(
        texto.substr(1, fecho == std::string_view::npos ? std::string_view::npos : fecho - 1));
}

std::string_view NomeChaveIni(std::string_view linha) {
    return AparaBrancos(linha.substr(0, linha.find('=')));
}

std::optional<std::string_view> ValorIni(std::string_view linha) {
    const size_t igual = linha.find('=');
    if (igual == std::string_view::npos) return std::nullopt;
    std::string_view valor = AparaBrancos(linha.substr(igual + 1));
    if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'') &&
        valor.back() == valor.front()) {
        valor = valor.substr(1, valor.size() - 2);
    }
    return valor;
}

}  // namespace tessora
