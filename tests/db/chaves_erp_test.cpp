#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "banco_teste.h"
#include "comum/erros.h"
#include "db/conexao_erp.h"
#include "db/procedimentos.h"
#include "db/proximo_id.h"

namespace tessora::db {
namespace {

class ChavesErpTest : public ::testing::Test {
  protected:
    ChavesErpTest() {
        conexao.DefinirRastro([this](std::string_view comando) { rastro.emplace_back(comando); });
        conexao.Abrir();
    }

    testes::PastaTemporaria pasta{"tessora-chaves"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    ConexaoErp conexao{banco.Nome()};
    std::vector<std::string> rastro;
};

TEST_F(ChavesErpTest, ProximoIdEMaximoMaisUmOuUm) {
    banco.Executar("create table T_CHAVE (ID integer)");
    struct Caso {
        std::vector<int32_t> chaves;
        int32_t esperado;
    };
    const Caso casos[] = {
        {{}, 1}, {{0}, 1}, {{-3}, 1}, {{41, 7}, 42}, {{-5, 2147483646}, 2147483647},
    };
    for (const auto& caso : casos) {
        banco.Executar("delete from T_CHAVE");
        for (const int32_t chave : caso.chaves) {
            banco.Executar("insert into T_CHAVE values (" + std::to_string(chave) + ")");
        }
        rastro.clear();
        EXPECT_EQ(ProximoId("T_CHAVE", "ID", conexao), caso.esperado) << caso.esperado;
        EXPECT_EQ(rastro, std::vector<std::string>{" select max(ID) as ID from T_CHAVE"});
    }

    // No wrap-around to a negative key.
    banco.Executar("insert into T_CHAVE values (2147483647)");
    EXPECT_THROW(ProximoId("T_CHAVE", "ID", conexao), ErroBancoDados);
}

TEST_F(ChavesErpTest, ProximoIdNasTabelasDoCadastro) {
    EXPECT_EQ(ProximoId("CAD_PESSOA", "ID_PESSOA", conexao), 6);
    EXPECT_EQ(ProximoId("CAD_END_PESSOA", "ID_END_PESSOA", conexao), 5);
    EXPECT_EQ(ProximoId("TAB_CIDADE", "ID_CIDADE", conexao), 6);
    EXPECT_EQ(ProximoId("CAD_CONTATO_PESSOA", "ID_CONTATO_PESSOA", conexao), 3);
    EXPECT_EQ(rastro.front(), " select max(ID_PESSOA) as ID from CAD_PESSOA");
    EXPECT_THROW(ProximoId("TABELA_INEXISTENTE", "ID", conexao), ErroBancoDados);
}

TEST_F(ChavesErpTest, ProcedimentosDeChaveDaoUmValorNovoACadaChamada) {
    const auto atual = [&](std::string_view gerador) {
        return std::stoi(
            banco.Ler("select gen_id(" + std::string(gerador) + ", 0) as G from rdb$database", "G")
                .value());
    };
    const int operacao = atual("GEN_MOV_NF_COMERCIO_ID");
    const int item = atual("GEN_MOV_NF_COMERCIO_ITEM_ID");
    const int pessoa = atual("GEN_CAD_PESSOA_CD_PESSOA");

    EXPECT_EQ(IdDoProcedimento(conexao, kProcedimentoIdOperacao), operacao + 1);
    EXPECT_EQ(IdDoProcedimento(conexao, kProcedimentoIdOperacao), operacao + 2);
    EXPECT_EQ(IdDoProcedimento(conexao, kProcedimentoIdItemOperacao), item + 1);
    EXPECT_EQ(IdDoProcedimentoComoTexto(conexao, kProcedimentoCodigoPessoa),
              std::to_string(pessoa + 1));
    EXPECT_EQ(rastro, (std::vector<std::string>{
                          "execute procedure SP_GEN_MOV_NF_COMERCIO_ID",
                          "execute procedure SP_GEN_MOV_NF_COMERCIO_ID",
                          "execute procedure SP_GEN_MOV_NF_COMERCIO_ITEM_ID",
                          "execute procedure SP_GEN_CAD_PESSOA_CD_PESSOA",
                      }));
}

TEST_F(ChavesErpTest, ProcedimentoSemIdOuInexistenteFalha) {
    banco.Executar("create procedure SP_SEM_ID returns (ID integer) as begin ID = null; end");
    EXPECT_THROW(IdDoProcedimento(conexao, "SP_SEM_ID"), ErroBancoDados);
    EXPECT_THROW(IdDoProcedimentoComoTexto(conexao, "SP_SEM_ID"), ErroBancoDados);
    EXPECT_THROW(IdDoProcedimento(conexao, "SP_INEXISTENTE"), ErroBancoDados);
}

}  // namespace
}  // namespace tessora::db
