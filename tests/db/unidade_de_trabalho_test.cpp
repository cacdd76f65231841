#include "db/unidade_de_trabalho.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "banco_teste.h"
#include "comum/erros.h"
#include "db/consulta.h"

namespace tessora::db {
namespace {

class UnidadeDeTrabalhoTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta{"tessora-unidade"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    ConexaoErp conexao{banco.Nome()};

    void SetUp() override {
        banco.Executar("create table T_UNIDADE (N integer)");
        conexao.Abrir();
    }
    void Inserir(int n) {
        Consulta consulta(conexao);
        ExecutarComando(consulta, "insert into T_UNIDADE values (" + std::to_string(n) + ")",
                        Confirmacao::Nenhuma);
    }
    std::string Gravados() const {
        return banco.Ler("select list(N, ',') as L from (select N from T_UNIDADE order by N)", "L")
            .value_or("");
    }
};

TEST_F(UnidadeDeTrabalhoTest, TudoOuNada) {
    {
        UnidadeDeTrabalho unidade(conexao);
        Inserir(1);
        Inserir(2);
        EXPECT_EQ(Gravados(), "");  // nobody else sees it before the commit
        unidade.Confirmar();
    }
    EXPECT_EQ(Gravados(), "1,2");
    try {
        UnidadeDeTrabalho unidade(conexao);
        Inserir(3);
        throw std::runtime_error("falha no meio");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Gravados(), "1,2");
    conexao.Fechar();
    EXPECT_EQ(Gravados(), "1,2");  // closing commits nothing of the abandoned work
}

TEST_F(UnidadeDeTrabalhoTest, EscritaPendenteAntesDaUnidadeEhRecusadaNaoConfirmada) {
    Inserir(1);
    EXPECT_THROW(UnidadeDeTrabalho unidade(conexao), ErroBancoDados);
    EXPECT_EQ(Gravados(), "");  // not committed behind the caller's back
    conexao.ConfirmarRetendo();
    UnidadeDeTrabalho unidade(conexao);  // committed work is no concern of the new unit
    Inserir(2);
    unidade.Confirmar();
    EXPECT_EQ(Gravados(), "1,2");
}

TEST_F(UnidadeDeTrabalhoTest, PontoDeSalvamentoDesfazSoOQueVeioDepois) {
    UnidadeDeTrabalho unidade(conexao);
    Inserir(1);
    PontoDeSalvamento ponto(conexao, "CLIENTE");
    Inserir(2);
    Inserir(3);
    ponto.Desfazer();
    Inserir(4);
    unidade.Confirmar();
    EXPECT_EQ(Gravados(), "1,4");
}

TEST_F(UnidadeDeTrabalhoTest, PontoDeSalvamentoQueSaiSemManterDesfaz) {
    UnidadeDeTrabalho unidade(conexao);
    Inserir(1);
    try {
        PontoDeSalvamento ponto(conexao, "ERRO");
        Inserir(2);
        throw std::runtime_error("falha no meio do cadastro");
    } catch (const std::runtime_error&) {
    }
    {
        PontoDeSalvamento ponto(conexao, "MANTIDO");
        Inserir(3);
        ponto.Manter();
    }
    unidade.Confirmar();
    EXPECT_EQ(Gravados(), "1,3");
}

}  // namespace
}  // namespace tessora::db
