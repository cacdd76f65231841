#include "importacao/itens_pedido.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "api/json_analise.h"
#include "banco_teste.h"
#include "comum/erros.h"
#include "db/consulta.h"
#include "db/unidade_de_trabalho.h"

namespace tessora::importacao {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr int32_t kOperacao = 77;

// The header row the items belong to, for customer 4 of the seed (category R), and what the
// items read: the seed knows prod-501 to prod-504 as products 1 to 4.
class ItensPedidoTest : public ::testing::Test {
  protected:
    ItensPedidoTest() {
        banco.Executar(
            "INSERT INTO MOV_NF_COMERCIO (ID_NF_COMERCIO, ID_EMPRESA, ID_ST_NF) VALUES (77, 1, 5)");
        operacao.ID_NF_COMERCIO = kOperacao;
        operacao.ID_DESTINATARIO_REMETENTE = 4;
        conexao.DefinirRastro([this](std::string_view comando) { rastro.emplace_back(comando); });
        conexao.Abrir();
    }

    std::vector<std::string> avisos;  // of the latest Importar

    bool Importar(const std::string& dados) {
        documento = AnalisarJson(dados);
        if (!documento) throw std::runtime_error("JSON de teste ilegível: " + dados);
        avisos.clear();
        return ImportarItensPedido(conexao, operacao, *documento, avisos);
    }

    // A value as the caller's transaction sees it.
    std::optional<std::string> Ler(const std::string& comando, const std::string& coluna) {
        db::Consulta consulta(conexao);
        db::AbrirConsulta(consulta, comando);
        return consulta.Valor(coluna);
    }

    // The operation's items in NO_ITEM order, one "|"-separated line each, with `colunas`
    // joined by ";".
    std::string Itens(const std::string& colunas = "NO_ITEM || ';' || ID_PRODUTO") {
        return Ler("select list(L, '|') as L from (select " + colunas +
                       " as L from MOV_NF_COMERCIO_ITEM where ID_NF_COMERCIO = 77 order by "
                       "NO_ITEM)",
                   "L")
            .value_or("");
    }
    std::optional<std::string> Status() {
        return Ler("select ID_ST_NF from MOV_NF_COMERCIO where ID_NF_COMERCIO = 77", "ID_ST_NF");
    }
    std::optional<std::string> Notas() {
        return Ler("select TX_USO_INTERNO from MOV_NF_COMERCIO where ID_NF_COMERCIO = 77",
                   "TX_USO_INTERNO");
    }
    std::vector<std::string> Insercoes() const {
        std::vector<std::string> insercoes;
        for (const auto& comando : rastro) {
            if (comando.starts_with(" INSERT INTO MOV_NF_COMERCIO_ITEM"))
                insercoes.push_back(comando);
        }
        return insercoes;
    }

    testes::PastaTemporaria pasta{"tessora-itens"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    db::ConexaoErp conexao{banco.Nome()};
    TDadosOperacaoComercialApp operacao;
    std::optional<JsonDocumento> documento;
    std::vector<std::string> rastro;
};

TEST_F(ItensPedidoTest, InsercaoComOsValoresNaFormaDoErp) {
    ASSERT_TRUE(Importar(R"({"itens": [{"produto_id": "prod-501", "id_item": "it-1",
        "quantidade": 2.5, "valor_unitario": "10.1234", "valor_produtos": "25,31", "ipi": 5,
        "valor_ipi": 1.265, "valor_icms": "0"}]})"));

    // The key comes from the item procedure, whose generator the seed leaves at 5000.
    // clang-format off
    EXPECT_THAT(Insercoes(), ::testing::ElementsAre(
        " INSERT INTO MOV_NF_COMERCIO_ITEM(ID_NF_COMERCIO_ITEM, ID_NF_COMERCIO, ID_PRODUTO, "
        "QT_PRODUTO, VL_UNITARIO, PO_ALIQ_IPI, VL_IPI, VL_ICMS_SUBST, VL_TOTAL, PO_COMISSAO, "
        "NM_PRODUTO, NO_ITEM, ST_MANTER_PRECO, ST_MANTER_COMISSAO, ST_FIXAR_CFOP, CT_REVENDEDOR, "
        "VL_BASE_IPI) VALUES (5001,77,1,2.5000,10.1234,5.00,1.27,0.00,25.31,0.00,"
        "'CAFÉ TORRADO E MOÍDO 500G',1,'N','N','N','R',25.31)"));
    // clang-format on
}

TEST_F(ItensPedidoTest, ItensNumeradosNaOrdemDoPedido) {
    ASSERT_TRUE(Importar(R"({"ITENS": [
        {"produto_id": "prod-503", "id_item": "a", "quantidade": "2.5",
         "valor_unitario": 10.1234, "valor_produtos": 25.31, "ipi": "0", "valor_icms": "1,5"},
        {"Produto_Id": "prod-501", "id_item": "b", "quantidade": 1, "valor_unitario": 100,
         "valor_produtos": "100", "IPI": "5", "valor_ipi": "5"},
        {"produto_id": "prod-502", "id_item": "c"}]})"));

    // Absent amounts read as 0, and without an IPI rate there is no IPI base.
    // clang-format off
    EXPECT_EQ(Itens("NO_ITEM || ';' || ID_NF_COMERCIO_ITEM || ';' || ID_PRODUTO || ';' || "
                    "NM_PRODUTO || ';' || QT_PRODUTO || ';' || VL_UNITARIO || ';' || VL_TOTAL || "
                    "';' || PO_ALIQ_IPI || ';' || VL_BASE_IPI || ';' || VL_IPI || ';' || "
                    "VL_ICMS_SUBST || ';' || PO_COMISSAO || ';' || CT_REVENDEDOR || ';' || "
                    "ST_MANTER_PRECO || ST_MANTER_COMISSAO || ST_FIXAR_CFOP"),
              "1;5001;3;FEIJÃO CARIOCA TIPO 1 1KG;2.5000;10.1234;25.31;0.00;0.00;0.00;1.50;0.00;R;NNN|"
              "2;5002;1;CAFÉ TORRADO E MOÍDO 500G;1.0000;100.0000;100.00;5.00;100.00;5.00;0.00;0.00;R;NNN|"
              "3;5003;2;AÇÚCAR CRISTAL 1KG;0.0000;0.0000;0.00;0.00;0.00;0.00;0.00;0.00;R;NNN");
    // clang-format on
    EXPECT_EQ(Status(), "5");  // known products leave the operation as it was
    EXPECT_EQ(Notas(), std::nullopt);
    EXPECT_THAT(avisos, ::testing::IsEmpty());
}

TEST_F(ItensPedidoTest, SemListaDeItensNadaEGravado) {
    struct Caso {
        const char* dados;
        bool resultado;
    };
    for (const Caso& caso :
         {Caso{R"({})", false}, Caso{R"({"itens": null})", false},
          Caso{R"({"itens": {"produto_id": "prod-501"}})", false},
          Caso{R"({"itens": "prod-501"})", false}, Caso{R"({"itens": []})", true}}) {
        EXPECT_EQ(Importar(caso.dados), caso.resultado) << caso.dados;
    }
    EXPECT_EQ(Itens(), "");
    EXPECT_EQ(Status(), "5");
    EXPECT_EQ(Notas(), std::nullopt);
}

TEST_F(ItensPedidoTest, ProdutoDesconhecidoGravaSubstitutoEMarcaOperacao) {
    // A product -99 with a description shows whether it was looked up after the substitution.
    banco.Executar(
        "INSERT INTO CAD_PRODUTO (ID_PRODUTO, DS_PRODUTO_NF) VALUES (-99, 'NAO DEVE APARECER')");

    ASSERT_TRUE(Importar(R"({"itens": [
        {"produto_id": "prod-777", "id_item": "it-A"},
        {"produto_id": "prod-501", "id_item": "it-B"},
        {"produto_id": "", "id_item": "it-C"}]})"));

    EXPECT_EQ(Itens("NO_ITEM || ';' || ID_PRODUTO || ';' || coalesce(NM_PRODUTO, '<null>')"),
              "1;-99;|2;1;CAFÉ TORRADO E MOÍDO 500G|3;-99;");
    EXPECT_EQ(Status(), "1");
    // Named by the item's code, not the product's, one note per line.
    EXPECT_EQ(Notas(), "Produto it-A do APP não encontrado\r\nProduto it-C do APP não encontrado");
    // The order is known to be written otherwise than sent.
    EXPECT_THAT(avisos, ElementsAre("Produto it-A do APP não encontrado",
                                    "Produto it-C do APP não encontrado"));
}

TEST_F(ItensPedidoTest, NotaDeProdutoNaoEncontradoEhAceitaOuRecusadaComOMotivo) {
    EXPECT_TRUE(AnotarProdutoNaoEncontrado(conexao, kOperacao, "it-'1").Aceito());
    EXPECT_EQ(Notas(), "Produto it-'1 do APP não encontrado");

    // A note the column cannot hold is refused; the rest of the transaction carries on.
    db::Consulta consulta(conexao);
    db::ExecutarComando(consulta,
                        "UPDATE MOV_NF_COMERCIO SET TX_USO_INTERNO = '" + std::string(3990, 'x') +
                            "' WHERE ID_NF_COMERCIO = 77",
                        db::Confirmacao::Nenhuma);
    const Resultado<> recusada = AnotarProdutoNaoEncontrado(conexao, kOperacao, "it-2");
    ASSERT_FALSE(recusada.Aceito());
    EXPECT_THAT(recusada.Motivo(), HasSubstr("string right truncation"));
    EXPECT_EQ(Notas(), std::string(3990, 'x'));
}

TEST_F(ItensPedidoTest, ElementoQueNaoEObjetoInterrompeAImportacao) {
    for (const char* elemento : {"null", "\"prod-502\"", "[]", "7"}) {
        db::UnidadeDeTrabalho unidade(conexao);
        EXPECT_THROW(Importar(R"({"itens": [{"produto_id": "prod-501", "id_item": "it-1"}, )" +
                              std::string(elemento) +
                              R"(, {"produto_id": "prod-502", "id_item": "it-3"}]})"),
                     ErroTipoInvalido)
            << elemento;
        // The item before it was written in the caller's transaction...
        EXPECT_EQ(Itens(), "1;1") << elemento;
    }
    // ...which, left without a commit, takes it away.
    EXPECT_EQ(Itens(), "");
}

TEST_F(ItensPedidoTest, ItemRecusadoPeloBancoMarcaOperacaoEOsOutrosFicam) {
    // An ERP whose product descriptions outgrow the item's NM_PRODUTO (VARCHAR(120)).
    banco.Executar("ALTER TABLE CAD_PRODUTO ALTER DS_PRODUTO_NF TYPE VARCHAR(200)");
    banco.Executar(
        "INSERT INTO CAD_PRODUTO (ID_PRODUTO, DS_PRODUTO_NF, ID_APP_FORCA_VENDA) VALUES (9, '" +
        std::string(150, 'D') + "', 'prod-longo')");

    ASSERT_TRUE(Importar(R"({"itens": [
        {"produto_id": "prod-501", "id_item": "it-1"},
        {"produto_id": "prod-longo", "id_item": "it-2"},
        {"produto_id": "prod-502", "id_item": "it-3"}]})"));

    EXPECT_EQ(Itens(), "1;1|3;2");
    EXPECT_EQ(Status(), "1");
    // The note carries the database's own message for the refused insert.
    const auto insercoes = Insercoes();
    ASSERT_EQ(insercoes.size(), 3u);
    std::string mensagem;
    try {
        db::Consulta consulta(conexao);
        db::ExecutarComando(consulta, insercoes[1], db::Confirmacao::Nenhuma);
    } catch (const ErroBancoDados& erro) {
        mensagem = erro.what();
    }
    EXPECT_THAT(mensagem, HasSubstr("truncation"));
    EXPECT_EQ(Notas(), "Item it-2 do APP não incluído: " + mensagem);
    EXPECT_THAT(avisos, ElementsAre("Item it-2 do APP não incluído: " + mensagem));
}

TEST_F(ItensPedidoTest, FalhaNaChaveDoItemEPassadaAdiante) {
    // A key procedure that gives no key: the error must not be taken for a refused insert.
    banco.Executar(
        "ALTER PROCEDURE SP_GEN_MOV_NF_COMERCIO_ITEM_ID RETURNS (ID INTEGER) AS BEGIN ID = NULL; "
        "END");

    EXPECT_THROW(Importar(R"({"itens": [{"produto_id": "prod-501", "id_item": "it-1"}]})"),
                 ErroBancoDados);
    TDadosItensOperacaoComercialApp item;
    item.ID_NF_COMERCIO = kOperacao;
    item.ID_PRODUTO = 1;
    EXPECT_THROW(static_cast<void>(IncluirItemOperacaoComercialApp(conexao, item)), ErroBancoDados);
    EXPECT_EQ(Itens(), "");
    EXPECT_EQ(Status(), "5");
    EXPECT_EQ(Notas(), std::nullopt);
}

TEST_F(ItensPedidoTest, InclusaoDiretaDaAChaveOuARecusaDoBanco) {
    TDadosItensOperacaoComercialApp item;
    item.ID_NF_COMERCIO = kOperacao;
    item.ID_PRODUTO = 1;
    item.NO_ITEM = 1;
    EXPECT_EQ(IncluirItemOperacaoComercialApp(conexao, item).Valor(), 5001);
    item.ID_NF_COMERCIO = 999;  // no such operation: the foreign key refuses the row
    const Resultado<int32_t> recusada = IncluirItemOperacaoComercialApp(conexao, item);
    ASSERT_FALSE(recusada.Aceito());
    EXPECT_THAT(recusada.Motivo(), HasSubstr("FOREIGN KEY"));
    EXPECT_EQ(Itens(), "1;1");
}

}  // namespace
}  // namespace tessora::importacao
