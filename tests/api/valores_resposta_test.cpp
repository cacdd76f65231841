#include "api/valores_resposta.h"

#include <gtest/gtest.h>

#include <string>

#include "api/json_consulta.h"
#include "api/json_leitura.h"
#include "comum/erros.h"

namespace tessora {
namespace {

TEST(TextoParaValor, DecimalComPontoOuVirgulaArredondadoEmQuatroCasas) {
    const std::pair<std::string, int64_t> casos[] = {
        {"12.5", 125000},
        {"12,5", 125000},
        {" -3,14159 ", -31416},
        {"+7", 70000},
        {",5", 5000},
        {"5.", 50000},
        {"1e2", 1000000},
        {"1,5E-2", 150},
        {"0.00005", 1},
        {"-0.00005", -1},
        {"0.000049999", 0},
        {"0,00015", 2},
        {"2.00004999", 20000},
        {"0000012.30000", 123000},
        {"922337203685477.5807", 9223372036854775807},
        {"-922337203685477.5808", INT64_MIN},
        {"1E-999999999999", 0},
        {"0e999999999999", 0},
        {"1.234,56", 0},
        {"1,2,3", 0},
        {"", 0},
        {"   ", 0},
        {"abc", 0},
        {"12abc", 0},
        {"1e", 0},
        {"-", 0},
        {"- 1", 0},
        {"1 2", 0},
        {"INF", 0},
    };
    for (const auto& [texto, esperado] : casos) {
        EXPECT_EQ(TextoParaValor(texto).Decimilesimos(), esperado) << '"' << texto << '"';
    }
    // A number that reads but does not fit is refused, never taken as 0.
    for (const char* texto :
         {"922337203685477.5808", "-922337203685477.5809", "1E20", "9e999999"}) {
        EXPECT_THROW(TextoParaValor(texto), ErroConversao) << texto;
    }
}

TEST(TextoParaValor, NumeroJsonLidoComoTexto) {
    const auto objeto = LerRespostaJson(R"({"valor":12.5,"pequeno":0.00005,"inteiro":10234})");
    EXPECT_EQ(TextoParaValor(JsonTextoPorNome(objeto, "valor")).Decimilesimos(), 125000);
    EXPECT_EQ(TextoParaValor(JsonTextoPorNome(objeto, "pequeno")).Decimilesimos(), 1);
    EXPECT_EQ(TextoParaValor(JsonTextoPorNome(objeto, "inteiro")).Decimilesimos(), 102340000);
}

TEST(TextoParaData, PrimeirosDezCaracteresComoAnoMesDia) {
    const auto dia = [](int a, unsigned m, unsigned d) {
        return Data::DeAnoMesDia(a, m, d)->Dias();
    };
    const std::pair<std::string, int32_t> casos[] = {
        {"2024-03-15T10:20:30Z", dia(2024, 3, 15)},
        {"2024-03-15 qualquer coisa", dia(2024, 3, 15)},
        {"2024-3-5", dia(2024, 3, 5)},
        {" 2024-3-5 ", dia(2024, 3, 5)},
        {"1899-12-30", 0},
        {"2024-02-29", dia(2024, 2, 29)},
        {"2024-3-5T10:20:30", 0},  // the first ten characters end in "T1"
        {"2024-02-30", 0},
        {"2023-13-01", 0},
        {"15/03/2024", 0},
        {"24-03-15", 0},
        {"2024-03", 0},
        {"2024-003-15", 0},
        {"", 0},
        {"   ", 0},
        {"\t\r\n", 0},
    };
    for (const auto& [texto, esperado] : casos) {
        EXPECT_EQ(TextoParaData(texto).Dias(), esperado) << '"' << texto << '"';
    }
}

}  // namespace
}  // namespace tessora
