#include "importacao/limpeza_documentos.h"

#include <gtest/gtest.h>

namespace tessora::importacao {
namespace {

TEST(LimpezaDocumentosTest, CnpjCpfGuardaSoDigitosEMaiusculas) {
    const struct {
        std::string_view texto, esperado;
    } casos[] = {
        {"12.345.678/0001-95", "12345678000195"},
        {" 123.456.789-09 ", "12345678909"},
        {"12.ABC.345/01DE-35", "12ABC34501DE35"},
        {"ab-12\tÇÉ/x9", "129"},
        {"", ""},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(LimparCnpjCpf(caso.texto), caso.esperado) << caso.texto;
}

TEST(LimpezaDocumentosTest, CepSemPontosHifensEBrancos) {
    const struct {
        std::string_view texto, esperado;
    } casos[] = {
        {"01.310-100", "01310100"},
        {"\t 30.130 - 010 \r\n", "30130010"},
        // Only ".", "-" and blanks go; other characters are kept.
        {"80020/310a", "80020/310a"},
        {"  ", ""},
    };
    for (const auto& caso : casos) EXPECT_EQ(LimparCep(caso.texto), caso.esperado) << caso.texto;
}

}  // namespace
}  // namespace tessora::importacao
