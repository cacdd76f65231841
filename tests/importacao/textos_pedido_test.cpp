// Accented names sent in every encoding an API may use reach the ERP's rows as letters: exact
// when escaped, folded to their base letters otherwise, never as "?".
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>

#include "api_substituta.h"
#include "banco_teste.h"
#include "comum/codigo_pagina.h"
#include "importacao/importacao_pedido.h"

namespace tessora::importacao {
namespace {

// The texts of one customer and its order, as the sales representative typed them.
struct Nomes {
    std::string razaoSocial, rua, cidade, anotacao;
};

const Nomes kMaiusculas = {"AÇÚCAR CAFÉ SÃO JOÃO ÍNDIO ÁGUA ÔNIBUS LTDA",
                           "RUA DA CONCEIÇÃO À ESQUINA DO PÊSSEGO", "JUNDIAÍ",
                           "ÓTICA DO GALPÃO: PÕE A LINGÜIÇA NO ÔNIBUS"};
const Nomes kMaiusculasSemAcento = {"ACUCAR CAFE SAO JOAO INDIO AGUA ONIBUS LTDA",
                                    "RUA DA CONCEICAO A ESQUINA DO PESSEGO", "JUNDIAI",
                                    "OTICA DO GALPAO: POE A LINGUICA NO ONIBUS"};
const Nomes kMinusculas = {"Açúcar Café São João Índio Água Ônibus Ltda",
                           "Rua da Conceição à esquina do Pêssego", "São José dos Campos",
                           "Ótica do galpão: põe a lingüiça no ônibus"};
const Nomes kMinusculasSemAcento = {"Acucar Cafe Sao Joao Indio Agua Onibus Ltda",
                                    "Rua da Conceicao a esquina do Pessego", "Sao Jose dos Campos",
                                    "Otica do galpao: poe a linguica no onibus"};

// Every character outside ASCII as a \u escape.
std::string ComEscapes(std::string_view utf8) {
    std::string saida;
    for (size_t pos = 0; pos < utf8.size();) {
        const auto sequencia = LerSequenciaUtf8(utf8, pos);
        pos += sequencia->tamanho;
        if (sequencia->codigo < 0x80) {
            saida += static_cast<char>(sequencia->codigo);
        } else {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\u%04x",
                          static_cast<unsigned>(sequencia->codigo));
            saida += escape;
        }
    }
    return saida;
}

struct Codificacao {
    std::string descricao;
    std::string tipoConteudo;
    std::function<std::string(std::string_view)> bytes;
    bool exata;  // the letters arrive as they are, not folded
};

class TextosPedidoTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta{"tessora-textos"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    testes::ApiSubstituta servidor{R"({"token":"token-demonstracao","pedidos":[],"clientes":[]})"};
    db::ConexaoErp conexao{banco.Nome()};
    api::ClienteHttp cliente{
        {servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return "token-demonstracao"; }}};

    void SetUp() override { conexao.Abrir(); }
    void TearDown() override { conexao.Fechar(); }

    std::string Ler(const std::string& comando, const std::string& coluna) const {
        return banco.Ler(comando, coluna).value_or("<null>");
    }
};

TEST_F(TextosPedidoTest, NomesAcentuadosChegamAoErpEmQualquerCodificacao) {
    const Codificacao codificacoes[] = {
        {"escapes", "application/json", ComEscapes, true},
        {"UTF-8 with charset", "application/json; charset=utf-8",
         [](std::string_view t) { return std::string(t); }, false},
        {"UTF-8 without charset", "application/json",
         [](std::string_view t) { return std::string(t); }, false},
        {"Windows-1252 with charset", "application/json; charset=windows-1252", Utf8ParaWin1252,
         false},
        {"Windows-1252 without charset", "application/json", Utf8ParaWin1252, false},
    };
    struct Grafia {
        const Nomes& enviados;
        const Nomes& semAcento;
    };
    const Grafia grafias[] = {{kMaiusculas, kMaiusculasSemAcento},
                              {kMinusculas, kMinusculasSemAcento}};
    // The ERP knows every city in both spellings: an address must find its own, never add one.
    int idCidade = 100;
    std::map<std::string, std::string> cidades;
    for (const Grafia& grafia : grafias) {
        for (const std::string& nome : {grafia.enviados.cidade, grafia.semAcento.cidade}) {
            cidades[nome] = std::to_string(++idCidade);
            banco.Executar("insert into TAB_CIDADE (ID_CIDADE, NM_CIDADE, SG_ESTADO) values (" +
                           cidades[nome] + ", '" + nome + "', 'SP')");
        }
    }
    const std::string cidadesAntes = Ler("select count(*) as N from TAB_CIDADE", "N");

    int numero = 0;
    for (const Codificacao& codificacao : codificacoes) {
        for (const Grafia& grafia : grafias) {
            const Nomes& enviados = grafia.enviados;
            const Nomes& esperados = codificacao.exata ? grafia.enviados : grafia.semAcento;
            SCOPED_TRACE(codificacao.descricao + ": " + enviados.razaoSocial);
            const std::string n = std::to_string(++numero);
            servidor.DefinirRegra(
                {.metodo = "GET",
                 .caminho = "/api/clientes/cli-" + n,
                 .tipoConteudo = codificacao.tipoConteudo,
                 .corpo = codificacao.bytes(
                     R"({"success":true,"data":{"id":"cli-)" + n + R"(","razao_social":")" +
                     enviados.razaoSocial + R"(","cnpj":"","cep":"13201-000","rua":")" +
                     enviados.rua + R"(","numero":"1","bairro":"Centro","cidade":")" +
                     enviados.cidade + R"(","uf":"SP"}})")});
            servidor.DefinirRegra(
                {.metodo = "GET",
                 .caminho = "/api/pedidos/p-" + n,
                 .tipoConteudo = codificacao.tipoConteudo,
                 .corpo = codificacao.bytes(
                     R"({"success":true,"data":{"id":"p-)" + n + R"(","cliente_id":"cli-)" + n +
                     R"(","anotacoes":[{"texto":")" + enviados.anotacao + R"("}]}})")});

            ASSERT_EQ(ImportarPedido(conexao, cliente, "p-" + n).desfecho,
                      DesfechoImportacao::Incluido);
            const std::string pessoa =
                Ler("select ID_PESSOA from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-" + n + "'",
                    "ID_PESSOA");
            EXPECT_EQ(
                Ler("select NM_PESSOA from CAD_PESSOA where ID_PESSOA = " + pessoa, "NM_PESSOA"),
                esperados.razaoSocial);
            EXPECT_EQ(Ler("select NM_LOGRADOURO from CAD_END_PESSOA where ID_PESSOA = " + pessoa,
                          "NM_LOGRADOURO"),
                      esperados.rua);
            EXPECT_EQ(Ler("select ID_CIDADE from CAD_END_PESSOA where ID_PESSOA = " + pessoa,
                          "ID_CIDADE"),
                      cidades[esperados.cidade]);
            EXPECT_EQ(Ler("select TX_OBS_NF from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = 'p-" +
                              n + "'",
                          "TX_OBS_NF"),
                      esperados.anotacao);
        }
    }
    EXPECT_EQ(Ler("select count(*) as N from TAB_CIDADE", "N"), cidadesAntes);
}

}  // namespace
}  // namespace tessora::importacao
