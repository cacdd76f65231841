#include "api/json_consulta.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "api/json_leitura.h"

namespace tessora {
namespace {

TEST(JsonValorPorNome, PrimeiroMembroSemDistinguirCaixa) {
    const auto objeto =
        LerRespostaJson(R"({"SUCCESS":"primeiro","success":"segundo","sucesso":"x"})");
    ASSERT_TRUE(objeto);
    EXPECT_EQ(*JsonValorPorNome(objeto, "success")->ComoTexto(), "primeiro");
    EXPECT_EQ(*JsonValorPorNome(objeto, "Success")->ComoTexto(), "primeiro");
    EXPECT_EQ(JsonValorPorNome(objeto, "succes"), nullptr);
    EXPECT_EQ(JsonValorPorNome(objeto, ""), nullptr);
    EXPECT_EQ(JsonValorPorNome(static_cast<const JsonObjeto*>(nullptr), "success"), nullptr);
    EXPECT_EQ(JsonValorPorNome(std::optional<JsonDocumento>(), "success"), nullptr);
    EXPECT_EQ(JsonTextoPorNome(std::optional<JsonDocumento>(), "success"), "");
}

TEST(JsonTextoPorNome, TextoDeCadaTipoDeValor) {
    const auto objeto = LerRespostaJson(
        R"({"texto":"Pedido","vazio":"","id":10234,"preco":12.5,"negativo":-0.5,"expoente":1e20,)"
        R"("pequeno":0.000001,"grande":123456789012345678901234567890,"verdadeiro":true,)"
        R"("falso":false,"nulo":null,"obj":{"a":1},"lista":[1]})");
    ASSERT_TRUE(objeto);
    const std::pair<const char*, const char*> casos[] = {
        {"texto", "Pedido"},  {"vazio", ""},
        {"id", "10234"},      {"preco", "12,5"},
        {"negativo", "-0,5"}, {"expoente", "1E20"},
        {"pequeno", "1E-6"},  {"grande", "1,23456789012346E29"},
        {"verdadeiro", ""},   {"falso", ""},
        {"nulo", ""},         {"obj", ""},
        {"lista", ""},        {"ausente", ""},
    };
    for (const auto& [nome, esperado] : casos)
        EXPECT_EQ(JsonTextoPorNome(objeto, nome), esperado) << nome;
}

TEST(TextoDeNumero, FormatoGeralCom15Digitos) {
    const std::pair<double, const char*> casos[] = {
        {0, "0"},
        {1, "1"},
        {-7, "-7"},
        {0.1 + 0.2, "0,3"},
        {3.141592653589793, "3,14159265358979"},
        {123456789012345, "123456789012345"},
        {999999999999999, "999999999999999"},
        {1e15, "1E15"},
        {999999999999999.9, "1E15"},
        {1234567890123456, "1,23456789012346E15"},
        {100, "100"},
        {1234.5, "1234,5"},
        {0.0001, "0,0001"},
        {0.00001, "0,00001"},
        {0.000012345, "0,000012345"},
        {0.0000099, "9,9E-6"},
        {1.5e-7, "1,5E-7"},
        {-2.5e-300, "-2,5E-300"},
        {1.7976931348623157e308, "1,79769313486232E308"},
        {std::numeric_limits<double>::infinity(), "INF"},
    };
    for (const auto& [valor, esperado] : casos) EXPECT_EQ(TextoDeNumero(valor), esperado) << valor;
}

TEST(JsonValor, NumeroForaDaFaixaDoDouble) {
    const auto objeto = LerRespostaJson(R"({"a":1e400,"b":-1e400,"c":1e-400,"d":0.0000e999})");
    ASSERT_TRUE(objeto);
    EXPECT_EQ(*JsonValorPorNome(objeto, "a")->ComoDouble(),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(*JsonValorPorNome(objeto, "b")->ComoDouble(),
              -std::numeric_limits<double>::infinity());
    EXPECT_EQ(*JsonValorPorNome(objeto, "c")->ComoDouble(), 0.0);
    EXPECT_EQ(*JsonValorPorNome(objeto, "d")->ComoDouble(), 0.0);
}

TEST(RespostaComSucesso, SoVerdadeiroOuTextoTrue) {
    const std::pair<const char*, bool> casos[] = {
        {R"({"success":true})", true},
        {R"({"success":"TRUE"})", true},
        {R"({"Success":"true"})", true},
        {R"({"success":"True ","x":1})", false},
        {R"({"success":false})", false},
        {R"({"success":"false"})", false},
        {R"({"success":null})", false},
        {R"({"success":1})", false},
        {R"({"success":{"a":true}})", false},
        {R"({"sucesso":true})", false},
        {R"({"success":false,"SUCCESS":true})", false},
    };
    for (const auto& [json, esperado] : casos) {
        EXPECT_EQ(RespostaComSucesso(LerRespostaJson(json)), esperado) << json;
    }
    EXPECT_FALSE(RespostaComSucesso(std::optional<JsonDocumento>()));
}

}  // namespace
}  // namespace tessora
