#include "db/valores_sql.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "banco_teste.h"
#include "db/conexao_erp.h"
#include "db/consulta.h"

namespace tessora::db {
namespace {

using namespace std::string_literals;

TEST(ValoresSqlTest, TextoEntreAspasComAspasInternasDobradasESemNul) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"", "''"},
        {"o'brien", "'o''brien'"},
        {"''", "''''''"},
        {"x' or '1'='1", "'x'' or ''1''=''1'"},
        {"  São Paulo  ", "'  São Paulo  '"},  // kept as given: no trimming
        {"a\0b\0"s, "'ab'"},
    };
    for (const auto& [valor, esperado] : casos) EXPECT_EQ(TextoSql(valor), esperado) << valor;
}

TEST(ValoresSqlTest, InteirosDataEFlag) {
    EXPECT_EQ(InteiroSql(0), "0");
    EXPECT_EQ(InteiroSql(-15), "-15");
    EXPECT_EQ(InteiroSql(std::numeric_limits<int32_t>::min()), "-2147483648");
    EXPECT_EQ(DataSql(*Data::DeAnoMesDia(2024, 3, 5)), "'05.03.2024'");
    EXPECT_EQ(DataSql(Data()), "'30.12.1899'");
    EXPECT_EQ(FlagSql(true), "'S'");
    EXPECT_EQ(FlagSql(false), "'N'");
}

TEST(ValoresSqlTest, EscolherTextoEscreveChaveOpcional) {
    EXPECT_EQ(EscolherTexto(true, "7", "NULL"), "7");
    EXPECT_EQ(EscolherTexto(false, "7", "NULL"), "NULL");
    const auto chave = [](int32_t id) { return EscolherTexto(id > 0, InteiroSql(id), "NULL"); };
    EXPECT_EQ(chave(12), "12");
    EXPECT_EQ(chave(0), "NULL");
    EXPECT_EQ(chave(-4), "NULL");
}

TEST(ValoresSqlTest, FormatarDecimalSqlTrocaVirgulaETiraPontos) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"1.234,56", "1234.56"},  {"12,50", "12.50"}, {"-0,5", "-0.5"},     {"12.50", "1250"},
        {"1.234.567", "1234567"}, {"", ""},           {"R$ 1,5", "R$ 1.5"},  // anything else is
                                                                             // copied unchanged
    };
    for (const auto& [numero, esperado] : casos)
        EXPECT_EQ(FormatarDecimalSql(numero), esperado) << numero;
}

TEST(ValoresSqlTest, ValoresComDuasEQuatroCasasArredondamMetadeParaLongeDoZero) {
    struct Caso {
        int64_t decimilesimos;
        const char* duasCasas;
        const char* quatroCasas;
    };
    const Caso casos[] = {
        {0, "0.00", "0.0000"},
        {125000, "12.50", "12.5000"},
        {50, "0.01", "0.0050"},  // 0.005
        {-50, "-0.01", "-0.0050"},
        {49, "0.00", "0.0049"},
        {-49, "0.00", "-0.0049"},  // no "-0.00"
        {123456, "12.35", "12.3456"},
        {12345678912, "1234567.89", "1234567.8912"},  // no digit grouping
        {std::numeric_limits<int64_t>::max(), "922337203685477.58", "922337203685477.5807"},
        {std::numeric_limits<int64_t>::min(), "-922337203685477.58", "-922337203685477.5808"},
    };
    for (const auto& caso : casos) {
        const auto valor = Moeda::DeDecimilesimos(caso.decimilesimos);
        EXPECT_EQ(DecimalSql2(valor), caso.duasCasas) << caso.decimilesimos;
        EXPECT_EQ(DecimalSql4(valor), caso.quatroCasas) << caso.decimilesimos;
    }
}

// The forms are what the engine accepts: each value reads back as written, and a text
// built to break out of its quotes stays one value.
TEST(ValoresSqlTest, ValoresCompostosVoltamIguaisDoBanco) {
    testes::PastaTemporaria pasta{"tessora-valores"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    banco.Executar(
        "create table T_VALORES (ID integer, NOME varchar(60), DIA date, V2 numeric(15,2), V4 "
        "numeric(15,4), "
        "FLAG char(1), CHAVE integer)");
    const std::string nome = "o'brien'); delete from T_VALORES; --";
    banco.Executar("insert into T_VALORES values (" + InteiroSql(-7) + "," + TextoSql(nome) + "," +
                   DataSql(*Data::DeAnoMesDia(2024, 2, 29)) + "," +
                   DecimalSql2(Moeda::DeDecimilesimos(-12345678)) + "," +
                   DecimalSql4(Moeda::DeDecimilesimos(5)) + "," + FlagSql(false) + "," +
                   EscolherTexto(false, "3", "NULL") + ")");

    const auto ler = [&](std::string_view coluna) {
        return banco.Ler("select * from T_VALORES", coluna).value_or("<null>");
    };
    EXPECT_EQ(banco.Ler("select count(*) as N from T_VALORES", "N"), "1");
    EXPECT_EQ(ler("ID"), "-7");
    EXPECT_EQ(ler("NOME"), nome);
    EXPECT_EQ(ler("DIA"), "2024-02-29");
    EXPECT_EQ(ler("V2"), "-1234.57");
    EXPECT_EQ(ler("V4"), "0.0005");
    EXPECT_EQ(ler("FLAG"), "N");
    EXPECT_EQ(ler("CHAVE"), "<null>");
}

}  // namespace
}  // namespace tessora::db
