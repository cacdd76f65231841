#include "api/json_leitura.h"

#include <gtest/gtest.h>

#include <string>

#include "api/json_consulta.h"
#include "api/texto_resposta.h"
#include "comum/codigo_pagina.h"
#include "comum/erros.h"

namespace tessora {
namespace {

std::string TextoDoMembro(std::string_view json, std::string_view nome) {
    const auto objeto = LerRespostaJson(json);
    EXPECT_TRUE(objeto) << json;
    const JsonValor* valor = JsonValorPorNome(objeto, nome);
    EXPECT_TRUE(valor && valor->ComoTexto()) << json;
    return valor && valor->ComoTexto() ? std::string(*valor->ComoTexto()) : "";
}

struct CasoTexto {
    std::string descricao;
    std::string json;
    std::string esperado;
};

TEST(LerRespostaJson, TextoChegaAoPrograma) {
    const std::string semCharset = Latin1ParaUtf8("{\"cidade\":\"S\xC3\xA3o Paulo\"}");
    // Second bytes 81, 8D, 8F and 9D: C1 controls that Windows-1252 maps back to their byte.
    const std::string maiusculasLatin1 =
        Latin1ParaUtf8("{\"cidade\":\"\xC3\x81\xC3\x8D\xC3\x8F\xC3\x9D\"}");
    const std::string travessao = "\xE2\x80\x94";  // UTF-8 of an em dash
    const std::string travessaoLidoComoWin1252 =
        Win1252ParaUtf8("{\"cidade\":\"a" + travessao + "b\"}");
    const CasoTexto casos[] = {
        {"UTF-8 read one character per byte", semCharset, "Sao Paulo"},
        {"capitals read one character per byte", maiusculasLatin1, "AIIY"},
        {"declared UTF-8, decoded", R"({"cidade":"São Paulo"})", "Sao Paulo"},
        {"escape in an ASCII answer", R"({"cidade":"S\u00e3o Paulo"})", "São Paulo"},
        {"escapes resolved", R"({"cidade":"\"\\\/\b\f\n\r\t"})", "\"\\/\b\f\n\r\t"},
        {"surrogate pair", R"({"cidade":"\ud83d\ude00"})", "\xF0\x9F\x98\x80"},
        {"lone surrogate", R"({"cidade":"a\ud800b\udc00"})", "a\uFFFDb\uFFFD"},
        {"typographic dash read as Windows-1252", travessaoLidoComoWin1252, "a?b"},
        {"typographic dash decoded", R"({"cidade":"a—b"})", "a?b"},
        {"lacking in Windows-1252, with a base letter", R"({"cidade":"Łódź ą"})", "?odz a"},
        {"no base letter", R"({"cidade":"漢 й ≠ æ €"})", "? ? ? ? ?"},
        {"ASCII control escaped", R"({"cidade":"\u0000x"})", std::string("\0x", 2)},
        {"invalid UTF-8 in the text", "{\"cidade\":\"a\xFFz\"}", "a?z"},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(TextoDoMembro(caso.json, "cidade"), caso.esperado) << caso.descricao;
    }
}

// The conversion works in batches: sequences cut by a batch's end must be joined again.
TEST(TextoRespostaParaAscii, SequenciasNoLimiteDosLotes) {
    // Windows-1252 bytes of UTF-8 for "ã", "ẽ" and an emoji, as read without a charset.
    const std::string padrao = "S\xC3\xA3o \xE1\xBA\xBD \xF0\x9F\x98\x80|";
    std::string padroes;
    std::string esperado;
    for (int i = 0; i < 6000; ++i) {
        padroes += padrao;
        esperado += "Sao e ?|";
    }
    for (size_t deslocamento = 0; deslocamento < padrao.size(); ++deslocamento) {
        const std::string prefixo(deslocamento, 'x');
        EXPECT_EQ(TextoRespostaParaAscii(Win1252ParaUtf8(prefixo + padroes)), prefixo + esperado)
            << deslocamento;
    }
}

TEST(LerRespostaJson, SinaisDeLarguraTotalNaoAbremMembros) {
    const auto objeto =
        LerRespostaJson(R"({"observacao":"＂，＂valor_produtos＂:＂0.01","valor_produtos":10})");
    ASSERT_TRUE(objeto);
    EXPECT_EQ(JsonTextoPorNome(objeto, "observacao"), "???valor_produtos?:?0.01");
    EXPECT_EQ(JsonTextoPorNome(objeto, "valor_produtos"), "10");
    EXPECT_EQ(objeto->Membros().size(), 2u);
}

TEST(LerRespostaJson, ValoresMembrosEOrdem) {
    const auto objeto = LerRespostaJson(
        R"( {"Success":true,"success":false,"n":-12.50e+1,"grande":123456789012345678901234567890,)"
        R"("nulo":null,"lista":[1,"a",[],{}],"obj":{"x":{"y":[null]}},"succ\u0065ss":1} )");
    ASSERT_TRUE(objeto);
    const auto membros = objeto->Membros();
    ASSERT_EQ(membros.size(), 8u);
    EXPECT_EQ(membros[0].nome, "Success");
    EXPECT_EQ(*membros[0].valor.ComoBooleano(), true);
    EXPECT_EQ(*membros[1].valor.ComoBooleano(), false);
    EXPECT_EQ(*membros[2].valor.TextoDoNumero(), "-12.50e+1");
    EXPECT_EQ(*membros[3].valor.TextoDoNumero(), "123456789012345678901234567890");
    EXPECT_EQ(membros[4].valor.Tipo(), JsonTipo::Nulo);
    const JsonLista& lista = *membros[5].valor.ComoLista();
    ASSERT_EQ(lista.size(), 4u);
    EXPECT_EQ(*lista[1].ComoTexto(), "a");
    EXPECT_EQ(lista[2].Tipo(), JsonTipo::Lista);
    EXPECT_EQ(lista[3].Tipo(), JsonTipo::Objeto);
    const JsonValor* y =
        JsonValorPorNome(JsonValorPorNome(membros[6].valor.ComoObjeto(), "x")->ComoObjeto(), "y");
    ASSERT_TRUE(y && y->ComoLista());
    EXPECT_EQ((*y->ComoLista())[0].Tipo(), JsonTipo::Nulo);
    EXPECT_EQ(membros[7].nome, "success");
}

TEST(LerRespostaJson, ValoresSobrevivemAMudancaDoDocumento) {
    auto origem = LerRespostaJson(R"({"a":"sem escape","b":"com \"escape\"","c":[12]})");
    ASSERT_TRUE(origem);
    const JsonValor* a = JsonValorPorNome(origem, "a");
    const JsonValor* b = JsonValorPorNome(origem, "b");
    const JsonDocumento movido = std::move(*origem);
    origem.reset();
    EXPECT_EQ(*a->ComoTexto(), "sem escape");
    EXPECT_EQ(*b->ComoTexto(), "com \"escape\"");
    EXPECT_EQ(*(*JsonValorPorNome(movido, "c")->ComoLista())[0].TextoDoNumero(), "12");
}

TEST(LerRespostaJson, ValorQueNaoEObjetoLevantaErroDeTipo) {
    for (const char* json :
         {"[]", " [1, {\"a\":2}] ", "\"texto\"", "12", "true", "false", "null"}) {
        EXPECT_THROW(LerRespostaJson(json), ErroTipoInvalido) << json;
    }
}

TEST(LerRespostaJson, TextoIlegivelDaNada) {
    const std::string profundo = "{\"a\":" + std::string(5000, '[') + std::string(5000, ']') + "}";
    const char* casos[] = {
        "",
        "   ",
        "{",
        R"({"a":1)",
        R"({"a":1}x)",
        R"({"a":1} {})",
        R"({"a":1}])",
        R"({"a":})",
        R"({"a" 1})",
        R"({"a":1,})",
        R"({"a":1 "b":2})",
        "[1,]",
        "[1,2",
        "{a:1}",
        "{'a':1}",
        R"({"a":tru})",
        R"({"a":nul})",
        R"({"a":01})",
        R"({"a":1.})",
        R"({"a":-})",
        R"({"a":1e})",
        R"({"a":.5})",
        R"({"a":+1})",
        R"({"a":"\x"})",
        R"({"a":"\u12G4"})",
        "{\"a\":\"x\ty\"}",
        R"({"a":[1,2}})",
        R"({"a":1])",
        "[1}",
        "[1,,2]",
        R"([{"a":1},])",
        R"({"a":"sem fim})",
        "12 13",
        "\"a\" \"b\"",
        "HTTP/1.1 500 Internal Server Error",
        profundo.c_str(),
    };
    for (const char* json : casos) {
        EXPECT_FALSE(LerRespostaJson(json)) << json;
    }
}

TEST(LerRespostaJson, AninhamentoAteOLimite) {
    const auto aninhado = [](int profundidade) {
        const auto listas = static_cast<size_t>(profundidade - 1);
        return "{\"a\":" + std::string(listas, '[') + std::string(listas, ']') + "}";
    };
    const auto objeto = LerRespostaJson(aninhado(kProfundidadeMaximaJson));
    ASSERT_TRUE(objeto);
    EXPECT_EQ(JsonValorPorNome(objeto, "a")->Tipo(), JsonTipo::Lista);
    EXPECT_FALSE(LerRespostaJson(aninhado(kProfundidadeMaximaJson + 1)));
}

}  // namespace
}  // namespace tessora
