#include "db/coluna_texto.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "banco_teste.h"
#include "comum/erros.h"
#include "db/consultas_erp.h"

namespace tessora::db {
namespace {

TEST(ColunaTextoTest, TextoQueAColunaNaoGuardaExatamente) {
    const ColunaTexto varchar{5, false}, fixa{5, true};
    struct Caso {
        std::string texto;
        ColunaTexto coluna;
        std::optional<std::string> motivo;
    };
    const std::string foraDoWin1252 =
        "tem caracteres que o banco de dados não guarda (fora do Windows-1252)";
    const Caso casos[] = {
        {"q-1", varchar, std::nullopt},
        {"q-1 ", varchar, std::nullopt},
        {"açaí€", varchar, std::nullopt},     // five characters, five bytes in the database
        {"\xC2\x81", varchar, std::nullopt},  // a C1 control: a byte of Windows-1252 too
        {"", varchar, std::nullopt},
        {"r-Ł", varchar, foraDoWin1252},
        {"r-\xFF", varchar, foraDoWin1252},  // no UTF-8
        {"r-?", varchar, std::nullopt},
        {std::string("a\0b", 3), varchar, "tem o caractere nulo"},
        {"123456", varchar, "tem 6 caracteres, mais que os 5 da coluna"},
        {"q-1", fixa, std::nullopt},
        {"q-1 ", fixa, "termina em espaço, que a coluna de tamanho fixo não guarda"},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(MotivoTextoInexato(caso.texto, caso.coluna), caso.motivo) << caso.texto;
}

TEST(ColunaTextoTest, ColunaLidaDoBancoECondicaoExata) {
    testes::PastaTemporaria pasta{"tessora-coluna"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    banco.Executar("create table T (V varchar(10), C char(10))");
    banco.Executar("insert into T (V, C) values ('q-1', 'q-1')");
    ConexaoErp conexao{banco.Nome()};
    conexao.Abrir();

    const ColunaTexto varchar = LerColunaTexto(conexao, "T", "V");
    const ColunaTexto fixa = LerColunaTexto(conexao, "T", "C");
    EXPECT_EQ(varchar.tamanho, 10);
    EXPECT_FALSE(varchar.fixa);
    EXPECT_EQ(fixa.tamanho, 10);
    EXPECT_TRUE(fixa.fixa);
    EXPECT_EQ(LerColunaTexto(conexao, "MOV_NF_COMERCIO", "ID_APP_FORCA_VENDA").tamanho, 50);
    EXPECT_THROW(LerColunaTexto(conexao, "T", "NAO_EXISTE"), ErroBancoDados);

    const auto quantas = [&](const std::string& coluna, const std::string& texto,
                             const ColunaTexto& tipo) {
        return banco.Ler(
            "select count(*) as N from T where " + CondicaoTextoExato(coluna, texto, tipo), "N");
    };
    EXPECT_EQ(quantas("V", "q-1", varchar), "1");
    EXPECT_EQ(quantas("V", "q-1 ", varchar), "0");  // the plain equality would say 1
    EXPECT_EQ(quantas("V", "Q-1", varchar), "0");
    EXPECT_EQ(quantas("C", "q-1", fixa), "1");  // padded, and still found
}

}  // namespace
}  // namespace tessora::db
