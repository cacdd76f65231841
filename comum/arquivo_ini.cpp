#include "arquivo_ini.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "comum/codigo_pagina.h"
#include "comum/linhas_ini.h"

namespace tessora {

namespace {
std::string MinusculasAscii(std::string texto) {
    std::transform(texto.begin(), texto.end(), texto.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return texto;
}

std::string Chave(std::string_view secao, std::string_view chave) {
    std::string texto;
    texto.reserve(secao.size() + chave.size() + 1);
    texto.append(secao).append("\n").append(chave);
    return MinusculasAscii(std::move(texto));
}
}  // namespace

ArquivoIni::ArquivoIni(const std::filesystem::path& caminho) {
    std::ifstream arquivo(caminho, std::ios::binary);
    if (!arquivo) return;
    Interpretar(
        std::string((std::istreambuf_iterator<char>(arquivo)), std::istreambuf_iterator<char>()));
}

ArquivoIni ArquivoIni::DoConteudo(std::string_view conteudo) {
    ArquivoIni ini;
    ini.Interpretar(conteudo);
    return ini;
}

void ArquivoIni::Interpretar(std::string_view conteudo) {
    std::set<std::string> secoesVistas;
    std::optional<std::string> secao;  // nothing before the first section and in a repeated one
    for (const LinhaIni& linha : DividirLinhasIni(conteudo)) {
        if (const auto nome = NomeSecaoIni(linha.texto)) {
            const std::string nomeUtf8 = Win1252ParaUtf8(*nome);
            // Of two sections with the same name only the first is read, as Windows does.
            secao.reset();
            if (secoesVistas.insert(MinusculasAscii(nomeUtf8)).second) secao = nomeUtf8;
            continue;
        }
        const std::string_view chave = NomeChaveIni(linha.texto);
        const auto valor = ValorIni(linha.texto);
        if (!secao || chave.empty() || !valor) continue;
        // The first of repeated keys wins: emplace keeps what is there.
        valores_.emplace(Chave(*secao, Win1252ParaUtf8(chave)), Win1252ParaUtf8(*valor));
    }
}

std::string ArquivoIni::Ler(std::string_view secao, std::string_view chave) const {
    return Procurar(secao, chave).value_or(std::string());
}

std::optional<std::string> ArquivoIni::Procurar(std::string_view secao,
                                                std::string_view chave) const {
    const auto it = valores_.find(Chave(secao, chave));
    if (it == valores_.end()) return std::nullopt;
    return it->second;
}

}  // namespace tessora
