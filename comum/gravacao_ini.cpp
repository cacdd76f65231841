#include "comum/gravacao_ini.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "comum/codigo_pagina.h"
#include "comum/erros.h"
#include "comum/linhas_ini.h"
#include "comum/texto.h"

namespace tessora {

namespace {
constexpr std::string_view kFimLinha = "\r\n";

[[noreturn]] void FalhaGravacao(const std::filesystem::path& caminho) {
    throw Erro("Unable to write to " + caminho.string());
}

std::string LerConteudo(const std::filesystem::path& caminho) {
    std::error_code erro;
    const auto tipo = std::filesystem::status(caminho, erro).type();
    if (tipo == std::filesystem::file_type::not_found) return {};
    if (tipo != std::filesystem::file_type::regular) FalhaGravacao(caminho);
    std::ifstream entrada(caminho, std::ios::binary);
    std::string conteudo;
    try {
        conteudo.assign(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
    } catch (const std::exception&) {
        FalhaGravacao(caminho);
    }
    if (!entrada && !entrada.eof()) FalhaGravacao(caminho);
    return conteudo;
}

void GravarValor(std::vector<LinhaIni>& linhas, const std::string& secao, const std::string& chave,
                 const std::string& valor) {
    const LinhaIni nova{chave + "=" + valor, std::string(kFimLinha)};
    std::optional<size_t> ultimaDaSecao;  // the section's header or its last non-blank line
    bool naSecao = false;
    for (size_t i = 0; i < linhas.size(); ++i) {
        if (const auto nome = NomeSecaoIni(linhas[i].texto)) {
            if (naSecao) break;  // only the first section of that name counts
            naSecao = IguaisSemCaixaAscii(*nome, secao);
            if (naSecao) ultimaDaSecao = i;
            continue;
        }
        if (!naSecao) continue;
        if (IguaisSemCaixaAscii(NomeChaveIni(linhas[i].texto), chave)) {
            linhas[i].texto = nova.texto;
            return;
        }
        if (!AparaBrancos(linhas[i].texto).empty()) ultimaDaSecao = i;
    }
    if (!ultimaDaSecao) {
        if (!linhas.empty() && linhas.back().fim.empty()) linhas.back().fim = kFimLinha;
        linhas.push_back({"[" + secao + "]", std::string(kFimLinha)});
        linhas.push_back(nova);
        return;
    }
    LinhaIni& anterior = linhas[*ultimaDaSecao];
    if (anterior.fim.empty()) anterior.fim = kFimLinha;
    linhas.insert(linhas.begin() + static_cast<std::ptrdiff_t>(*ultimaDaSecao) + 1, nova);
}
}  // namespace

std::string ComValoresIni(std::string_view conteudo, std::string_view secao,
                          const ValoresIni& valores) {
    std::vector<LinhaIni> linhas = DividirLinhasIni(conteudo);
    const std::string secaoArquivo = Utf8ParaWin1252(secao);
    for (const auto& [chave, valor] : valores) {
        GravarValor(linhas, secaoArquivo, Utf8ParaWin1252(chave), Utf8ParaWin1252(valor));
    }
    std::string novo;
    for (const LinhaIni& linha : linhas) novo.append(linha.texto).append(linha.fim);
    return novo;
}

void GravarValoresIni(const std::filesystem::path& caminho, std::string_view secao,
                      const ValoresIni& valores) {
    const std::string conteudo = ComValoresIni(LerConteudo(caminho), secao, valores);

    // Written in place, like the system's own profile writes: a file that may not be
    // written stays as it was and the failure is reported.
    std::ofstream saida(caminho, std::ios::binary | std::ios::trunc);
    if (!saida) FalhaGravacao(caminho);
    saida.write(conteudo.data(), static_cast<std::streamsize>(conteudo.size()));
    saida.close();
    if (!saida) FalhaGravacao(caminho);
}

}  // namespace tessora
