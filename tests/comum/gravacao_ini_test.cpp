#include "comum/gravacao_ini.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "arquivos_teste.h"
#include "banco_teste.h"
#include "comum/arquivo_ini.h"
#include "comum/erros.h"

namespace tessora {
namespace {

std::string Ler(const std::filesystem::path& caminho) {
    std::ifstream entrada(caminho, std::ios::binary);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    return conteudo.str();
}

TEST(GravacaoIniTest, TrocaSoAsChavesPedidasEGuardaORestoDoArquivo) {
    struct Caso {
        const char* descricao;
        const char* antes;
        const char* depois;
    };
    const Caso casos[] = {
        {"no file", nullptr, "[Servico]\r\nAtivo=S\r\nMinutos=05\r\n"},
        {"keys replaced, names without regard to case, the rest byte for byte",
         "; comentário\n[outra]\r\nAtivo=x\r\n[ SERVICO ]\r\n  ativo = N  "
         "\r\nMinutos=1\r\nResto=1\r\n\r\n[Fim]\r\n",
         "; comentário\n[outra]\r\nAtivo=x\r\n[ SERVICO "
         "]\r\nAtivo=S\r\nMinutos=05\r\nResto=1\r\n\r\n[Fim]\r\n"},
        {"missing keys after the section's last line, before its blank lines",
         "[Servico]\r\nUrl=u\r\n\r\n[Fim]\r\nX=1",
         "[Servico]\r\nUrl=u\r\nAtivo=S\r\nMinutos=05\r\n\r\n[Fim]\r\nX=1"},
        {"only the first of repeated keys and sections",
         "[Servico]\r\nAtivo=1\r\nAtivo=2\r\n[Servico]\r\nMinutos=9\r\n",
         "[Servico]\r\nAtivo=S\r\nAtivo=2\r\nMinutos=05\r\n[Servico]\r\nMinutos=9\r\n"},
        {"missing section at the end, the last line ended first", "[Outra]\r\nX=1",
         "[Outra]\r\nX=1\r\n[Servico]\r\nAtivo=S\r\nMinutos=05\r\n"},
    };
    testes::PastaTemporaria pasta("tessora-ini");
    const auto arquivo = pasta.Caminho() / "servico.ini";
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        std::filesystem::remove(arquivo);
        if (caso.antes) testes::GravarArquivo(arquivo, caso.antes);
        GravarValoresIni(arquivo, "Servico", {{"Ativo", "S"}, {"Minutos", "05"}});
        EXPECT_EQ(Ler(arquivo), caso.depois);
    }
}

TEST(GravacaoIniTest, ValoresEmWindows1252LidosDeVolta) {
    testes::PastaTemporaria pasta("tessora-ini");
    const auto arquivo = pasta.Caminho() / "servico.ini";
    GravarValoresIni(arquivo, "Servico", {{"Nome", "Força de Vendas €"}});
    EXPECT_EQ(Ler(arquivo),
              "[Servico]\r\nNome=For\xE7"
              "a de Vendas \x80\r\n");
    EXPECT_EQ(ArquivoIni(arquivo).Ler("Servico", "Nome"), "Força de Vendas €");
}

TEST(GravacaoIniTest, OQueFoiGravadoEhLidoDeVoltaComoOWindowsLe) {
    const std::string zeros(64, '\0');  // a block a crash left zero-filled
    const std::string antes[] = {
        zeros + "[Servico]\r\nAtivo=N\r\n",
        "[Outra]\r\nX=1\r\n" + zeros,
        "[Servico]\r\nResto=1\r\n" + zeros + "\r\n[Fim]\r\n",
        "[Servico]\r\nAtivo=\"N\"\r\n[servico]\r\nMinutos=9\r\n",
    };
    testes::PastaTemporaria pasta("tessora-ini");
    const auto arquivo = pasta.Caminho() / "servico.ini";
    for (const std::string& conteudo : antes) {
        testes::GravarArquivo(arquivo, conteudo);
        GravarValoresIni(arquivo, "Servico", {{"Ativo", "S"}, {"Minutos", "05"}});
        const ArquivoIni ini(arquivo);
        EXPECT_EQ(ini.Ler("Servico", "Ativo"), "S") << Ler(arquivo);
        EXPECT_EQ(ini.Ler("Servico", "Minutos"), "05") << Ler(arquivo);
    }
}

TEST(GravacaoIniTest, ArquivoQueNaoPodeSerGravadoLancaErro) {
    testes::PastaTemporaria pasta("tessora-ini");
    const auto arquivo = pasta.Caminho() / "nao-existe" / "servico.ini";
    try {
        GravarValoresIni(arquivo, "Servico", {{"Ativo", "S"}});
        FAIL() << "no error";
    } catch (const Erro& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + arquivo.string());
    }
}

}  // namespace
}  // namespace tessora
