#include "db/bloqueio_parametros.h"

#include <gtest/gtest.h>

#include "banco_teste.h"
#include "comum/erros.h"
#include "db/consulta.h"
#include "db/consultas_erp.h"

namespace tessora::db {
namespace {

class BloqueioParametrosTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta{"tessora-bloqueio"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    ConexaoErp primeira{banco.Nome()};
    ConexaoErp segunda{banco.Nome()};

    void SetUp() override {
        primeira.Abrir();
        segunda.Abrir();
    }
};

TEST_F(BloqueioParametrosTest, UmaTransacaoPorVezSemEsperar) {
    ASSERT_TRUE(BloquearLinhaParametros(primeira));
    EXPECT_FALSE(BloquearLinhaParametros(segunda));
    // Both transactions go on: readers are not held up, and the refused lock undid itself.
    EXPECT_EQ(LerParametro(segunda, "ID_EMPRESA_APP_FORCA_VENDA"), "1");
    EXPECT_EQ(banco.Ler("select ID_EMPRESA_APP_FORCA_VENDA as E from TAB_PARAMETRO", "E"), "1");
    EXPECT_EQ(LerParametro(primeira, "ID_EMPRESA_APP_FORCA_VENDA"), "1");

    primeira.Desfazer();  // the end of the transaction frees the row
    EXPECT_TRUE(BloquearLinhaParametros(segunda));
    EXPECT_FALSE(BloquearLinhaParametros(primeira));
    segunda.Confirmar();
    EXPECT_TRUE(BloquearLinhaParametros(primeira));

    // An ordinary pending update of the row holds it as well.
    primeira.Desfazer();
    Consulta consulta(primeira);
    ExecutarComando(consulta, "update TAB_PARAMETRO set ST_SINCRONIZAR_APP_FORCA_VENDA = 'S'",
                    Confirmacao::Nenhuma);
    EXPECT_FALSE(BloquearLinhaParametros(segunda));
}

TEST_F(BloqueioParametrosTest, ConflitoDeAtualizacaoTemErroProprio) {
    const auto atualizar = [](ConexaoErp& conexao) {
        Consulta consulta(conexao);
        ExecutarComando(consulta, "update CAD_PESSOA set NM_PESSOA = NM_PESSOA where ID_PESSOA = 4",
                        Confirmacao::Nenhuma);
    };
    atualizar(primeira);
    EXPECT_THROW(atualizar(segunda), ErroConflitoBloqueio);
    // Other refusals keep the general type.
    try {
        Consulta consulta(segunda);
        ExecutarComando(consulta, "update CAD_PESSOA set NAO_EXISTE = 1", Confirmacao::Nenhuma);
        ADD_FAILURE() << "accepted";
    } catch (const ErroBancoDados& e) {
        EXPECT_EQ(dynamic_cast<const ErroConflitoBloqueio*>(&e), nullptr) << e.what();
    }
}

}  // namespace
}  // namespace tessora::db
