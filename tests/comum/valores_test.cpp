#include <gtest/gtest.h>

#include "comum/codigo_pagina.h"
#include "comum/data.h"
#include "comum/erros.h"
#include "comum/moeda.h"
#include "comum/texto.h"

namespace tessora {
namespace {

TEST(CodigoPaginaTest, Windows1252IdaEVolta) {
    EXPECT_EQ(Utf8ParaWin1252("São Paulo – €"), "S\xE3o Paulo \x96 \x80");
    EXPECT_EQ(Win1252ParaUtf8("S\xE3o Paulo \x96 \x80"), "São Paulo – €");
    // Characters the code page lacks, and bytes that are no UTF-8, become "?": never a look-alike.
    EXPECT_EQ(Utf8ParaWin1252("＂Ω\xFF"), "???");
    // The five undefined bytes come back as the C1 control of their value.
    EXPECT_EQ(Win1252ParaUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(Latin1ParaUtf8("\xE3\x80"), "ã\xC2\x80");
    // Every byte comes back from its character, those five included.
    for (unsigned byte = 0; byte < 256; ++byte) {
        const auto caractere = static_cast<char>(byte);
        EXPECT_EQ(Utf8ParaWin1252(Win1252ParaUtf8(std::string(1, caractere))),
                  std::string(1, caractere))
            << byte;
    }
}

TEST(CodigoPaginaTest, SequenciasUtf8Invalidas) {
    for (const std::string_view invalida :
         {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"}) {
        EXPECT_FALSE(LerSequenciaUtf8(invalida, 0)) << invalida.size();
    }
    const auto euro = LerSequenciaUtf8("\xE2\x82\xAC", 0);
    ASSERT_TRUE(euro);
    EXPECT_EQ(euro->codigo, U'€');
    EXPECT_EQ(euro->tamanho, 3u);
}

TEST(MoedaTest, FormataArredondandoMetadeParaLongeDoZero) {
    struct Caso {
        int64_t decimilesimos;
        int casas;
        const char* esperado;
    };
    const Caso casos[] = {
        {125000, 2, "12,50"},         {125050, 2, "12,51"}, {125049, 2, "12,50"},
        {-125050, 2, "-12,51"},       {-49, 2, "0,00"},     {1, 4, "0,0001"},
        {123456789, 4, "12345,6789"}, {5000, 0, "1"},       {INT64_MIN, 2, "-922337203685477,58"},
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(Moeda::DeDecimilesimos(caso.decimilesimos).Formatar(caso.casas, ','),
                  caso.esperado)
            << caso.decimilesimos;
    }
    EXPECT_EQ((Moeda::DeDecimilesimos(1) + Moeda::DeDecimilesimos(2)).Decimilesimos(), 3);
}

TEST(MoedaTest, SomaForaDoLimiteLancaEmVezDeDarAVolta) {
    const Moeda maior = Moeda::DeDecimilesimos(INT64_MAX);
    const Moeda menor = Moeda::DeDecimilesimos(INT64_MIN);
    EXPECT_EQ((maior + menor).Decimilesimos(), -1);
    EXPECT_THROW(maior + Moeda::DeDecimilesimos(1), ErroConversao);
    EXPECT_THROW(menor + Moeda::DeDecimilesimos(-1), ErroConversao);
    Moeda acumulado = maior;
    EXPECT_THROW(acumulado += maior, ErroConversao);
    EXPECT_EQ(acumulado, maior);
    EXPECT_THROW(-menor, ErroConversao);
}

TEST(DataTest, DiasDesde30De12De1899) {
    EXPECT_EQ(Data::DeAnoMesDia(1899, 12, 30)->Dias(), 0);
    EXPECT_EQ(Data::DeAnoMesDia(2024, 3, 15)->Dias(), 45366);
    EXPECT_EQ(Data::DeDias(45366).FormatarComPontos(), "15.03.2024");
    EXPECT_FALSE(Data::DeAnoMesDia(2024, 2, 30));
    EXPECT_FALSE(Data::DeAnoMesDia(2023, 13, 1));
}

TEST(TextoTest, AparaCodigosAte32EComparaSemCaixaAscii) {
    EXPECT_EQ(AparaBrancos(std::string_view("\t\r\n x y\x01 ")), "x y");
    EXPECT_TRUE(IguaisSemCaixaAscii("Success", "sUCCESS"));
    EXPECT_FALSE(IguaisSemCaixaAscii("ção", "ÇÃO"));  // only ASCII letters fold
    EXPECT_EQ(TrocarTodos("a b  c", " ", "§"), "a§b§§c");
}

}  // namespace
}  // namespace tessora
