#include "importacao/pessoa_app.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "banco_teste.h"
#include "comum/erros.h"
#include "db/conexao_erp.h"
#include "importacao/cidade.h"
#include "importacao/codigo_pessoa.h"

namespace tessora::importacao {
namespace {

using ::testing::HasSubstr;

std::string HojeComPontos() {
    const std::time_t agora = std::time(nullptr);
    std::tm local{};
    localtime_r(&agora, &local);
    char texto[16];
    std::strftime(texto, sizeof texto, "%d.%m.%Y", &local);
    return texto;
}

class PessoaAppTest : public ::testing::Test {
  protected:
    PessoaAppTest() {
        conexao.DefinirRastro([this](std::string_view comando) { rastro.emplace_back(comando); });
    }

    // Opened on first use, so that a test can change the schema before.
    db::ConexaoErp& Conexao() {
        if (!conexao.Aberta()) conexao.Abrir();
        return conexao;
    }

    std::vector<std::string> Insercoes() const {
        std::vector<std::string> insercoes;
        std::copy_if(rastro.begin(), rastro.end(), std::back_inserter(insercoes),
                     [](const std::string& comando) { return comando.starts_with(" INSERT"); });
        return insercoes;
    }

    testes::PastaTemporaria pasta{"tessora-pessoa-app"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    db::ConexaoErp conexao{banco.Nome()};
    std::vector<std::string> rastro;
};

TEST_F(PessoaAppTest, EscritoresMontamAsInsercoesExatas) {
    TDadosPessoaApp pessoa;
    pessoa.ID_PESSOA = 77;  // not read: the writer allocates the key
    pessoa.ID_APP_FORCA_VENDA = "cli-9";
    pessoa.NM_PESSOA = "Bar D'Ávila Ltda";
    pessoa.NM_PESQUISA = "Bar D'Ávila";
    pessoa.NO_CNPJ_CPF = "12345678000195";
    pessoa.NO_IE_RG = "ISENTO";
    pessoa.TP_PESSOA = "J";
    pessoa.CT_CATEGORIA = "R";
    pessoa.CT_CONTRIBUINTE_ICMS = "s";
    pessoa.ID_VENDEDOR = 2;
    pessoa.ID_PLANO_PAGTO = 3;
    pessoa.ID_TP_FRETE = -1;
    ASSERT_EQ(IncluirPessoaApp(Conexao(), pessoa).Valor(), 6);

    // Distinct letters in the flags show that each field lands in its own column.
    const TDadosEnderecoPessoaApp endereco{.ID_END_PESSOA = 99,
                                           .ID_PESSOA = 6,
                                           .ID_CIDADE = 0,
                                           .NO_CEP = "80020310",
                                           .NM_LOGRADOURO = "Rua XV",
                                           .DS_NUMERO = "12",
                                           .DS_COMPLEMENTO = "",
                                           .NM_BAIRRO = "Centro",
                                           .ST_FATURA = "A",
                                           .ST_ENTREGA = "B",
                                           .ST_COBRANCA = "C",
                                           .ST_CORRESP = "D"};
    EXPECT_EQ(IncluirEnderecoPessoaApp(conexao, endereco).Valor(), 5);

    const TDadosContatoPessoaApp contato{.ID_CONTATO_PESSOA = 99,
                                         .ID_PESSOA = 6,
                                         .NO_FONE = "(41) 9999",
                                         .NM_CONTATO = "Ana",
                                         .NM_E_MAIL = "ana@bar.com",
                                         .ST_FONE_PRINCIPAL = "A",
                                         .ST_EMAIL_PRINCIPAL = "B",
                                         .ST_CONTATO_COBRANCA = "C",
                                         .ST_CONTATO_COMERCIAL = "D",
                                         .ST_CONTATO_ENTREGA = "E",
                                         .ST_EMAIL_NFE = "F"};
    EXPECT_EQ(IncluirContatoPessoaApp(conexao, contato).Valor(), 3);

    const std::vector<std::string> esperadas = {
        " INSERT INTO CAD_PESSOA ( ID_PESSOA, CD_PESSOA, NM_PESSOA, NM_PESQUISA, DT_CADASTRO, "
        "NO_CNPJ_CPF, NO_IE_RG, CT_CLIENTE, CT_FORNECEDOR, CT_FABRICA, CT_TRANSPORT, CT_EMPRESA, "
        "CT_FUNCIONARIO, CT_REPRESENT, CT_OUTROS, CT_OUTROS_2, CT_OUTROS_3, CT_OUTROS_4, "
        "CT_OUTROS_5, "
        "CT_OUTROS_6, CT_OUTROS_7, CT_OUTROS_8, CT_OUTROS_9, TP_PESSOA, CT_CATEGORIA, "
        "CT_CONTRIBUINTE_ICMS, ID_TABELA_PRECO, ID_VENDEDOR, ID_PLANO_PAGTO, ID_TP_PAGTO, "
        "ID_TP_FRETE, "
        "ID_ST_CREDITO, ST_ATIVO_INATIVO, ST_SELECIONADO, ST_TRIB_PIS, ST_TRIB_COFINS, "
        "ST_TRIB_CSLL, "
        "ST_TRIB_IRPJ, ST_TRIB_ISS, ST_INCLUIR_VALOR_PROD_BASE_ISS, ST_ATUALIZAR_POTENCIAL, "
        "CT_AVALIACAO_META_VENDA, ST_CREDITO_FAT, ST_COMIISAO_AD2, ST_CREDITO_FAT2, "
        "ST_COMIISAO_AD3, "
        "ST_CREDITO_FAT3, ST_COMIISAO_AD4, ST_CREDITO_FAT4, ST_COMIISAO_AD5, ST_CREDITO_FAT5, "
        "ST_GENERICO_CAPTURA_XML, ST_VENDEDOR_CLIENTAR, ST_ANTECIPAR_VENCTO_DIA_UTIL, ST_CONTRATO, "
        "CT_MENSALISTA, ST_RENOVACAO_AUTOMATICA, ID_APP_FORCA_VENDA, ST_SITUACAO_APP, "
        "DS_MENSAGEM_API_APP) VALUES ("
        "6,'6','Bar D''Ávila Ltda','Bar D''Ávila','" +
            HojeComPontos() +
            "','12345678000195','ISENTO',"
            "'S',"
            "'N','N','N','N','N','N','N','N','N','N','N','N','N','N','N',"
            "'J','R','s',NULL,2,3,NULL,NULL,NULL,'S',"
            "'N','N','N','N','N','N','N','N','N','N','N','N','N','N','N','N','N','N','N','N','N','"
            "N','N','N',"
            "'cli-9','1','Incluído pelo representante')",
        " INSERT INTO CAD_END_PESSOA (ID_END_PESSOA, ID_PESSOA, ID_CIDADE, NO_CEP, NM_LOGRADOURO, "
        "DS_NUMERO, DS_COMPLEMENTO, NM_BAIRRO, ST_FATURA, ST_ENTREGA, ST_COBRANCA, ST_CORRESP, "
        "ST_INSTALA, ST_COMERCIAL, ST_RESIDENCIAL, ST_CONJUGE) VALUES "
        "(5,6,NULL,'80020310','Rua XV','12','','Centro','A','B','C','D','N','N','N','N')",
        " INSERT INTO CAD_CONTATO_PESSOA ( ID_CONTATO_PESSOA, ID_PESSOA, NO_FONE, NM_CONTATO, "
        "NM_E_MAIL, ST_FONE_PRINCIPAL, ST_FAX_PRINCIPAL, ST_EMAIL_PRINCIPAL, ST_CONTATO_COBRANCA, "
        "ST_CONTATO_COMERCIAL, ST_CONTATO_ENTREGA, ST_EMAIL_NFE, ST_EMAIL_COMISSAO, "
        "ST_RECEBEDOR_ENTREGA) VALUES (3,6,'(41) 9999','Ana','ana@bar.com','A','N','B','C','D','E',"
        "'F','N','N')",
    };
    EXPECT_EQ(Insercoes(), esperadas);

    // Never committed by the writers: the caller's transaction decides.
    conexao.Desfazer();
    EXPECT_EQ(banco.Ler("select count(*) as N from CAD_PESSOA where ID_PESSOA = 6", "N"), "0");
}

TEST_F(PessoaAppTest, EscritorRecusadoDizPorQueEATransacaoSegue) {
    TDadosContatoPessoaApp contato;
    contato.ID_PESSOA = 4;
    contato.NO_FONE = std::string(31, '9');  // NO_FONE holds 30
    const Resultado<int32_t> recusado = IncluirContatoPessoaApp(Conexao(), contato);
    ASSERT_FALSE(recusado.Aceito());
    EXPECT_THAT(recusado.Motivo(), HasSubstr("string right truncation"));

    contato.NO_FONE = "(21) 9";
    EXPECT_EQ(IncluirContatoPessoaApp(conexao, contato).Valor(), 3);
    conexao.Confirmar();
    EXPECT_EQ(
        banco.Ler("select NO_FONE from CAD_CONTATO_PESSOA where ID_CONTATO_PESSOA = 3", "NO_FONE"),
        "(21) 9");
}

TEST_F(PessoaAppTest, CidadePorNomeEEstado) {
    const struct {
        std::string_view nome, estado;
        int32_t esperado;
    } casos[] = {
        // Found whatever the case of its letters, accented ones included.
        {"são paulo", "sp", 1},
        {"SÃO PAULO", "SP", 1},
        {" \tRio de Janeiro ", " rJ ", 2},
        {"Curitiba", "XX", 0},  // unknown state: nothing inserted
        {"", "SP", 0},
        {"Curitiba", " ", 0},
        {"Conceição do Mato Dentro", "mg", 6},  // inserted
        {"conceição do mato dentro", "MG", 6},  // found again, not inserted twice
        {"Curitiba", "SC", 7},                  // same name in another state
    };
    for (const auto& caso : casos) {
        EXPECT_EQ(ObterCidade(Conexao(), caso.nome, caso.estado), caso.esperado)
            << caso.nome << "/" << caso.estado;
    }
    conexao.Confirmar();
    EXPECT_EQ(banco.Ler("select count(*) as N from TAB_CIDADE", "N"), "7");
    EXPECT_EQ(
        banco.Ler("select NM_CIDADE || '/' || SG_ESTADO as V from TAB_CIDADE where ID_CIDADE = 6",
                  "V"),
        "Conceição do Mato Dentro/MG");
}

TEST_F(PessoaAppTest, CidadeNovaComOsComandosExatos) {
    EXPECT_EQ(ObterCidade(Conexao(), "", "SP"), 0);
    EXPECT_TRUE(rastro.empty());

    EXPECT_EQ(ObterCidade(conexao, " Brasília ", "df"), 6);
    EXPECT_EQ(rastro,
              (std::vector<std::string>{
                  " select id_cidade from tab_cidade where upper(nm_cidade) = 'BRASÍLIA' and "
                  "upper(sg_estado) = 'DF'",
                  " select sg_estado from tab_estado where sg_estado = 'DF'",
                  " select max(ID_CIDADE) as ID from TAB_CIDADE",
                  " INSERT INTO TAB_CIDADE (ID_CIDADE, NM_CIDADE, SG_ESTADO) VALUES "
                  "(6,'Brasília','DF')",
              }));
}

TEST_F(PessoaAppTest, CodigoPessoaPulaOsJaUsados) {
    // The next draws are 3, 4 and 5, which persons 3 to 5 carry.
    banco.Executar("SET GENERATOR GEN_CAD_PESSOA_CD_PESSOA TO 2");
    EXPECT_EQ(ProximoCodigoPessoa(Conexao()), "6");
    ASSERT_EQ(rastro.size(), 8u);
    EXPECT_EQ(rastro[0], "execute procedure SP_GEN_CAD_PESSOA_CD_PESSOA");
    EXPECT_EQ(rastro[1], " Select count(*) as qtde from cad_pessoa where cd_pessoa = '3'");
    EXPECT_EQ(rastro[7], " Select count(*) as qtde from cad_pessoa where cd_pessoa = '6'");
}

TEST_F(PessoaAppTest, CodigoPessoaDesisteDepoisDoLimite) {
    banco.Executar(
        "ALTER PROCEDURE SP_GEN_CAD_PESSOA_CD_PESSOA RETURNS (ID INTEGER) AS BEGIN ID = 1; END");
    EXPECT_THROW(ProximoCodigoPessoa(Conexao()), ErroBancoDados);
    EXPECT_EQ(
        std::count(rastro.begin(), rastro.end(), "execute procedure SP_GEN_CAD_PESSOA_CD_PESSOA"),
        kLimiteCandidatosCodigoPessoa);
}

}  // namespace
}  // namespace tessora::importacao
