#include "db/guarda_importacao.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "banco_teste.h"
#include "db/consulta.h"
#include "db/consultas_erp.h"

namespace tessora::db {
namespace {

class GuardaImportacaoTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta{"tessora-guarda"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};

    static void AbrirImportacao(ConexaoErp& conexao) {
        conexao.DefinirProcesso(std::string(kProcessoImportacao));
        conexao.Abrir();
    }
};

TEST_F(GuardaImportacaoTest, AConexaoDeImportacaoMaisAntigaImportaEAsOutrasEsperam) {
    ConexaoErp outroPrograma{banco.Nome()};  // not an import: never counts
    outroPrograma.Abrir();
    ConexaoErp primeira{banco.Nome()}, segunda{banco.Nome()}, terceira{banco.Nome()};
    AbrirImportacao(primeira);
    AbrirImportacao(segunda);
    AbrirImportacao(terceira);

    EXPECT_FALSE(CopiaAnteriorImportando(outroPrograma).has_value());
    EXPECT_FALSE(CopiaAnteriorImportando(primeira).has_value());
    const auto anterior = CopiaAnteriorImportando(segunda);
    ASSERT_TRUE(anterior.has_value());
    EXPECT_EQ(anterior->pid, std::to_string(getpid()));
    EXPECT_TRUE(CopiaAnteriorImportando(terceira).has_value());

    // Asked again inside a transaction that already asked: a monitoring snapshot lasts as long
    // as its transaction, so each order asks in a transaction of its own.
    primeira.Fechar();
    segunda.Confirmar();
    terceira.Confirmar();
    EXPECT_FALSE(CopiaAnteriorImportando(segunda).has_value());
    EXPECT_TRUE(CopiaAnteriorImportando(terceira).has_value());
    segunda.Fechar();
    terceira.Confirmar();
    EXPECT_FALSE(CopiaAnteriorImportando(terceira).has_value());
}

TEST_F(GuardaImportacaoTest, NaoBloqueiaNemEsperaPelasLinhasDoErp) {
    // An ERP user with a pending edit of the parameters: the import goes on, and the ERP's
    // own update and its commit are not held up by the import.
    ConexaoErp erp{banco.Nome()}, importacao{banco.Nome()};
    erp.Abrir();
    AbrirImportacao(importacao);
    Consulta edicao(erp);
    ExecutarComando(edicao, "update TAB_PARAMETRO set ST_SINCRONIZAR_APP_FORCA_VENDA = 'S'",
                    Confirmacao::Nenhuma);
    EXPECT_FALSE(CopiaAnteriorImportando(importacao).has_value());
    EXPECT_EQ(LerParametro(importacao, "ID_EMPRESA_APP_FORCA_VENDA"), "1");
    erp.Confirmar();

    EXPECT_FALSE(CopiaAnteriorImportando(importacao).has_value());
    ExecutarComando(edicao, "update TAB_PARAMETRO set ST_SINCRONIZAR_APP_FORCA_VENDA = 'S'",
                    Confirmacao::Nenhuma);
    erp.Confirmar();
}

}  // namespace
}  // namespace tessora::db
