#include "db/versao_erp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "banco_teste.h"
#include "comum/erros.h"
#include "db/conexao_erp.h"

namespace tessora::db {
namespace {

const std::string kCatalogo =
    " sELECT r.* FROM RDB$RELATION_fields r                where"
    "                                                "
    "r.RDB$relation_name ='TAB_PARAMETRO' and  r.RDB$field_name = 'VERSAO_ERP'";
const std::vector<std::string> kComandosCompletos = {
    kCatalogo,
    "alter table tab_parametro add script_rodado integer",
    "alter table tab_parametro add VERSAO_ERP varchar(30)",
    " update tab_parametro a set a.script_rodado = (select max(a.no_log_atualizacao) from "
    "mov_log_atualizacao a)",
    " update tab_parametro a set a.VERSAO_ERP = 'Versao Inicial'",
};

class VersaoErpTest : public ::testing::Test {
  protected:
    // Runs the check on a connection of its own and returns the statements it sent.
    std::vector<std::string> Verificar() const {
        std::vector<std::string> rastro;
        ConexaoErp conexao(banco.Nome());
        conexao.DefinirRastro([&](std::string_view comando) { rastro.emplace_back(comando); });
        conexao.Abrir();
        VerificarVersaoErp(conexao);
        conexao.Fechar();
        return rastro;
    }
    std::optional<std::string> Coluna(const std::string& coluna, int id) const {
        return banco.Ler(
            "select " + coluna + " from TAB_PARAMETRO where ID_PARAMETRO = " + std::to_string(id),
            coluna);
    }

    testes::PastaTemporaria pasta{"tessora-versao"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
};

TEST_F(VersaoErpTest, AcrescentaESemeiaAsColunasEmTodasAsLinhasUmaUnicaVez) {
    banco.Executar("insert into TAB_PARAMETRO (ID_PARAMETRO) values (2)");
    banco.Executar("insert into MOV_LOG_ATUALIZACAO (NO_LOG_ATUALIZACAO) values (57)");
    banco.Executar("insert into MOV_LOG_ATUALIZACAO (NO_LOG_ATUALIZACAO) values (9)");

    EXPECT_EQ(Verificar(), kComandosCompletos);
    for (const int id : {1, 2}) {
        EXPECT_EQ(Coluna("SCRIPT_RODADO", id), "57");
        EXPECT_EQ(Coluna("VERSAO_ERP", id), "Versao Inicial");
    }

    // Present columns: the catalogue query alone, and the values stay as the ERP left them.
    banco.Executar("update TAB_PARAMETRO set VERSAO_ERP = '4.2', SCRIPT_RODADO = 60");
    EXPECT_EQ(Verificar(), std::vector<std::string>{kCatalogo});
    EXPECT_EQ(Coluna("VERSAO_ERP", 1), "4.2");
    EXPECT_EQ(Coluna("SCRIPT_RODADO", 1), "60");
}

TEST_F(VersaoErpTest, LogDeAtualizacaoVazioDeixaScriptRodadoNulo) {
    banco.Executar("delete from MOV_LOG_ATUALIZACAO");
    EXPECT_EQ(Verificar(), kComandosCompletos);
    EXPECT_EQ(Coluna("SCRIPT_RODADO", 1), std::nullopt);
    EXPECT_EQ(Coluna("VERSAO_ERP", 1), "Versao Inicial");
}

TEST_F(VersaoErpTest, FalhasPassamAoChamadorComOQueJaFoiConfirmado) {
    // Without the update log the columns are already committed when the seeding fails;
    // the next check finds them and stops there.
    banco.Executar("drop table MOV_LOG_ATUALIZACAO");
    EXPECT_THROW(Verificar(), ErroBancoDados);
    EXPECT_EQ(Coluna("VERSAO_ERP", 1), std::nullopt);
    EXPECT_EQ(Coluna("SCRIPT_RODADO", 1), std::nullopt);
    EXPECT_EQ(Verificar(), std::vector<std::string>{kCatalogo});
}

TEST_F(VersaoErpTest, ScriptRodadoSemVersaoErpFalhaNoPrimeiroAlterSemAcrescentarNada) {
    banco.Executar("alter table TAB_PARAMETRO add SCRIPT_RODADO integer");
    for (int vez = 0; vez < 2; ++vez) EXPECT_THROW(Verificar(), ErroBancoDados);
    EXPECT_THROW(Coluna("VERSAO_ERP", 1), ErroBancoDados);
}

}  // namespace
}  // namespace tessora::db
