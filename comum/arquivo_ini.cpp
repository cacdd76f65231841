#include "arquivo_ini.h"

#define SI_NO_CONVERSION
// Debian's header keeps the template bodies behind this switch.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "comum/codigo_pagina.h"

namespace tessora {

namespace {
std::string Chave(std::string_view secao, std::string_view chave) {
    std::string texto;
    texto.reserve(secao.size() + chave.size() + 1);
    texto.append(secao).append("\n").append(chave);
    std::transform(texto.begin(), texto.end(), texto.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return texto;
}
}  // namespace

ArquivoIni::ArquivoIni(const std::filesystem::path& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    if (!arquivo) return;
    std::ostringstream conteudo;
    conteudo << arquivo.rdbuf();

    // multiKey keeps repeated keys so that GetValue can answer the first one, as Windows does.
    CSimpleIniA ini(/*isUtf8=*/false, /*multiKey=*/true, /*multiLine=*/false);
    const std::string bytes = conteudo.str();
    if (ini.LoadData(bytes.data(), bytes.size()) < 0) return;

    CSimpleIniA::TNamesDepend secoes;
    ini.GetAllSections(secoes);
    for (const auto& secao : secoes) {
        CSimpleIniA::TNamesDepend chaves;
        ini.GetAllKeys(secao.pItem, chaves);
        for (const auto& chave : chaves) {
            valores_.emplace(Chave(secao.pItem, chave.pItem),
                             Win1252ParaUtf8(ini.GetValue(secao.pItem, chave.pItem, "")));
        }
    }
}

std::string ArquivoIni::Ler(std::string_view secao, std::string_view chave) const {
    return Procurar(secao, chave).value_or(std::string());
}

std::optional<std::string> ArquivoIni::Procurar(std::string_view secao, std::string_view chave) const {
    const auto it = valores_.find(Chave(secao, chave));
    if (it == valores_.end()) return std::nullopt;
    return it->second;
}

}  // namespace tessora
