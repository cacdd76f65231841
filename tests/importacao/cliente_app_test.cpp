#include "importacao/cliente_app.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "api_substituta.h"
#include "banco_teste.h"
#include "comum/erros.h"
#include "db/conexao_erp.h"
#include "db/consulta.h"
#include "db/leitura_coluna.h"
#include "db/unidade_de_trabalho.h"

namespace tessora::importacao {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Optional;

class ClienteAppTest : public ::testing::Test {
  protected:
    ClienteAppTest() { conexao.Abrir(); }

    // The app's customer "c1" with these members besides its id (JSON members, no braces).
    void DefinirCliente(std::string_view membros) {
        servidor.DefinirEstado(R"({"token":"tk","pedidos":[],"clientes":[{"id":"c1")" +
                               std::string(membros.empty() ? "" : ",") + std::string(membros) +
                               "}]}");
    }

    // Registers the customer in a unit of work of its own, committed whatever the result: its
    // ID_PESSOA, or 0 when it was not registered.
    int32_t Importar(const std::string& id = "c1") {
        db::UnidadeDeTrabalho unidade(conexao);
        const Resultado<int32_t> registro = ImportarClienteApp(conexao, cliente, id);
        unidade.Confirmar();
        return registro.Aceito() ? registro.Valor() : 0;
    }

    int32_t Registrar(std::string_view membros) {
        DefinirCliente(membros);
        return Importar();
    }

    // The rows that match, one text per row: the columns joined by "|", NULL as "~".
    std::vector<std::string> Linhas(std::string_view tabela, std::string_view onde,
                                    std::string_view ordem, std::vector<std::string_view> colunas) {
        std::string expressao;
        for (const auto coluna : colunas) {
            if (!expressao.empty()) expressao += " || '|' || ";
            expressao += "coalesce(cast(" + std::string(coluna) + " as varchar(200)), '~')";
        }
        std::vector<std::string> linhas;
        for (int n = 1;; ++n) {
            db::Consulta consulta(conexao);
            db::AbrirConsulta(consulta, "select " + expressao + " as V from " +
                                            std::string(tabela) + " where " + std::string(onde) +
                                            " order by " + std::string(ordem) + " rows " +
                                            std::to_string(n) + " to " + std::to_string(n));
            if (!consulta.TemLinha()) return linhas;
            linhas.push_back(db::LerTexto(consulta, "V"));
        }
    }

    std::vector<std::string> Enderecos(int32_t idPessoa) {
        return Linhas("CAD_END_PESSOA", "ID_PESSOA = " + std::to_string(idPessoa), "ID_END_PESSOA",
                      {"NO_CEP", "NM_LOGRADOURO", "DS_NUMERO", "DS_COMPLEMENTO", "NM_BAIRRO",
                       "ID_CIDADE", "ST_FATURA || ST_ENTREGA || ST_COBRANCA || ST_CORRESP"});
    }

    std::vector<std::string> Contatos(int32_t idPessoa) {
        return Linhas("CAD_CONTATO_PESSOA", "ID_PESSOA = " + std::to_string(idPessoa),
                      "ID_CONTATO_PESSOA",
                      {"NO_FONE", "NM_CONTATO", "NM_E_MAIL",
                       "ST_FONE_PRINCIPAL || ST_EMAIL_PRINCIPAL || ST_CONTATO_COBRANCA || "
                       "ST_CONTATO_COMERCIAL || ST_CONTATO_ENTREGA || ST_EMAIL_NFE"});
    }

    int32_t Contar(std::string_view tabela) {
        return db::ConsultarInteiro(conexao, "select count(*) as N from " + std::string(tabela),
                                    "N");
    }

    testes::PastaTemporaria pasta{"tessora-cliente-app"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    db::ConexaoErp conexao{banco.Nome()};
    testes::ApiSubstituta servidor{R"({"token":"tk","pedidos":[],"clientes":[]})"};
    api::ClienteHttp cliente{
        {servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return "tk"; }}};
};

TEST_F(ClienteAppTest, RegistraPessoaEnderecosCidadeEContatos) {
    // Accents reach the program only as \u escapes (the answer is folded to ASCII otherwise).
    DefinirCliente(R"(
        "razao_social": "Emporio Conceicao Ltda", "nome_fantasia": "Emporio",
        "cnpj": "61.524.387/0001-70", "cpf": "", "inscricao_estadual": "0620384570089",
        "icms_sn": "S", "uso_produtos": "r",
        "cep": "30.130-010", "rua": "Avenida Afonso Pena", "numero": "1500",
        "complemento": "Loja 2", "bairro": "Centro", "cidade": "belo horizonte", "uf": "mg",
        "cep_entrega": "35860-000", "rua_entrega": "Rua Direita", "numero_entrega": 45,
        "complemento_entrega": "", "bairro_entrega": "Centro",
        "cidade_entrega": "Concei\u00e7\u00e3o do Mato Dentro", "uf_entrega": "MG",
        "responsavel": "Maria", "contato_responsavel": "(31) 3222-1100",
        "whatsapp": " (31) 98877-6655", "email": "compras@emporio.com.br",
        "nome_financeiro": "Jose", "whats_financeiro": "(31) 99911-2233",
        "email_financeiro": "fin@emporio.com.br")");
    ASSERT_EQ(Importar(), 6);

    EXPECT_THAT(
        Linhas("CAD_PESSOA", "ID_PESSOA = 6", "ID_PESSOA",
               {"CD_PESSOA", "NM_PESSOA", "NM_PESQUISA", "NO_CNPJ_CPF", "NO_IE_RG", "TP_PESSOA",
                "CT_CONTRIBUINTE_ICMS", "CT_CATEGORIA", "CT_CLIENTE", "ID_APP_FORCA_VENDA",
                "ID_VENDEDOR", "DT_CADASTRO = current_date"}),
        ElementsAre("6|Emporio Conceicao Ltda|Emporio|61524387000170|0620384570089|J|S|R|S|c1|~|"
                    "TRUE"));
    EXPECT_THAT(Enderecos(6), ElementsAre("30130010|Avenida Afonso Pena|1500|Loja 2|Centro|5|SNSS",
                                          "35860000|Rua Direita|45||Centro|6|NSNN"));
    EXPECT_EQ(
        banco.Ler("select NM_CIDADE || '/' || SG_ESTADO as V from TAB_CIDADE where ID_CIDADE = 6",
                  "V"),
        "Conceição do Mato Dentro/MG");
    // WhatsApp wins over the phone, untrimmed; the financial contact takes the collection role.
    EXPECT_THAT(Contatos(6), ElementsAre(" (31) 98877-6655|Maria|compras@emporio.com.br|SSNSSS",
                                         "(31) 99911-2233|Jose|fin@emporio.com.br|NNSNNN"));

    const auto requisicoes = servidor.Requisicoes();
    ASSERT_EQ(requisicoes.size(), 1u);
    EXPECT_EQ(requisicoes[0].metodo, "GET");
    EXPECT_EQ(requisicoes[0].caminho, "/api/clientes/c1");
    EXPECT_THAT(requisicoes[0].Cabecalho("Authorization"), Optional(std::string("Bearer tk")));
}

TEST_F(ClienteAppTest, DadosDaPessoaPelasRegras) {
    const struct {
        std::string membros;
        std::string esperado;  // TP_PESSOA|NO_CNPJ_CPF|CT_CONTRIBUINTE_ICMS|CT_CATEGORIA
    } casos[] = {
        {R"("cnpj":"12.345.678/0001-95","cpf":"123.456.789-09","icms_sn":"s","uso_produtos":"i")",
         "J|12345678000195|s|I"},
        {R"("cnpj":" \t","cpf":" 123.456.789-09 ","icms_sn":"N","uso_produtos":"I")",
         "F|12345678909|N|I"},
        {R"("cnpj":"","icms_sn":" S","uso_produtos":"x")", "F||N|C"},
        {R"("icms_sn":"x","uso_produtos":"")", "F||N|C"},
        {R"("cpf":"529.982.247-25","icms_sn":true,"uso_produtos":"R")", "F|52998224725|N|R"},
        {"", "F||N|C"},
    };
    for (const auto& caso : casos) {
        const int32_t id = Registrar(caso.membros);
        ASSERT_GT(id, 0) << caso.membros;
        EXPECT_THAT(Linhas("CAD_PESSOA", "ID_PESSOA = " + std::to_string(id), "ID_PESSOA",
                           {"TP_PESSOA", "NO_CNPJ_CPF", "CT_CONTRIBUINTE_ICMS", "CT_CATEGORIA"}),
                    ElementsAre(caso.esperado))
            << caso.membros;
    }
}

TEST_F(ClienteAppTest, EnderecoDeEntregaSoQuandoInformado) {
    const struct {
        std::string membros;
        std::vector<std::string> enderecos;
    } casos[] = {
        {R"("cep":" 01.310 - 100 ","rua":"Av. Paulista","cidade":"Curitiba","uf":"pr",
            "cep_entrega":" ","rua_entrega":"","cidade_entrega":"\t","uf_entrega":null)",
         {"01310100|Av. Paulista||||4|SSSS"}},
        // Without its state the delivery city is not looked up: the address has none.
        {R"("rua":"Rua A","cidade_entrega":"Curitiba")", {"|Rua A||||~|SNSS", "|||||~|NSNN"}},
        // An unknown state inserts no city.
        {R"("cidade":"Lugar Nenhum","uf":"XX","bairro_entrega":"Centro")",
         {"|||||~|SNSS", "||||Centro|~|NSNN"}},
    };
    for (const auto& caso : casos) {
        const int32_t id = Registrar(caso.membros);
        ASSERT_GT(id, 0) << caso.membros;
        EXPECT_EQ(Enderecos(id), caso.enderecos) << caso.membros;
    }
    EXPECT_EQ(Contar("TAB_CIDADE"), 5);
}

TEST_F(ClienteAppTest, ContatosConformeOsDadosDoApp) {
    const struct {
        std::string membros;
        std::vector<std::string> contatos;
    } casos[] = {
        {R"("responsavel":"Ana","contato_responsavel":"(11) 1111","whatsapp":"  ","email":"a@x")",
         {"(11) 1111|Ana|a@x|SSSSSS"}},
        {R"("responsavel":" ","contato_responsavel":"","whatsapp":"","email":"\t")", {}},
        {R"("whatsapp":"(11) 9999")", {"(11) 9999|||SSSSSS"}},
        // A financial e-mail alone makes a financial contact and takes the collection role.
        {R"("responsavel":"Ana","email_financeiro":"fin@x")", {"|Ana||SSNSSS", "||fin@x|NNSNNN"}},
        {R"("whats_financeiro":"(11) 2222")", {"(11) 2222|||NNSNNN"}},
    };
    for (const auto& caso : casos) {
        const int32_t id = Registrar(caso.membros);
        ASSERT_GT(id, 0) << caso.membros;
        EXPECT_EQ(Contatos(id), caso.contatos) << caso.membros;
        EXPECT_EQ(Enderecos(id).size(), 1u) << caso.membros;
    }
}

// The API's word that there is no such customer gives no registration; a document that could
// not be had (no answer, an unreadable one, another error status) raises, for the order to
// wait for the next run instead of going to the company.
TEST_F(ClienteAppTest, SemCadastroQuandoAApiNaoEntregaOCliente) {
    const struct {
        int status;
        std::string corpo;
        bool derrubar = false;
        bool indisponivel = false;
    } casos[] = {
        {404, R"({"success":false,"message":"Cliente não encontrado"})"},
        {500, R"({"success":true,"data":{"id":"c1"}})", false, true},
        {503, "", false, true},
        {200, "", true, true},  // no answer at all
        {200, "<html>manutenção</html>", false, true},
        {200, R"({"success":false,"data":{"id":"c1"}})"},
        {200, R"({"data":{"id":"c1"}})"},
        {200, R"({"success":"yes","data":{"id":"c1"}})"},
        {200, R"({"success":1,"data":{"id":"c1"}})"},
        {200, R"({"success":true})"},
        {200, R"({"success":true,"data":[{"id":"c1"}]})"},
        {200, R"({"success":true,"data":"c1"})"},
    };
    for (const auto& caso : casos) {
        servidor.DefinirRegra({.metodo = "GET",
                               .caminho = "/api/clientes/c1",
                               .status = caso.status,
                               .corpo = caso.corpo,
                               .derrubarConexao = caso.derrubar});
        if (caso.indisponivel) {
            EXPECT_THROW(Importar(), ErroClienteIndisponivel) << caso.status << " " << caso.corpo;
        } else {
            EXPECT_EQ(Importar(), 0) << caso.status << " " << caso.corpo;
        }
    }
    // "success" as text in any letter case counts.
    servidor.DefinirRegra({.metodo = "GET",
                           .caminho = "/api/clientes/c1",
                           .corpo = R"({"SUCCESS":"tRuE","data":{"id":"c1"}})"});
    EXPECT_EQ(Importar(), 6);

    // A JSON answer that is no object is the caller's problem.
    servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/clientes/c1", .corpo = "[]"});
    EXPECT_THROW(Importar(), ErroTipoInvalido);

    EXPECT_EQ(Contar("CAD_PESSOA"), 6);
    EXPECT_EQ(Contar("CAD_END_PESSOA"), 5);
}

TEST_F(ClienteAppTest, IdEmBrancoNaoFazRequisicao) {
    for (const std::string id : {"", "  \t"}) EXPECT_EQ(Importar(id), 0);
    EXPECT_THAT(servidor.Requisicoes(), IsEmpty());
}

TEST_F(ClienteAppTest, InsercaoRecusadaNaoDeixaNadaDoCliente) {
    DefinirCliente(R"("razao_social":"Cliente","cidade":"Cidade Nova","uf":"SP",
        "rua_entrega":"Rua B","cidade_entrega":"Outra Cidade","uf_entrega":"RJ",
        "responsavel":"Ana","email_financeiro":"fin@x",
        "whats_financeiro":"(11) 99999-9999 ramal 1234567890")");  // NO_FONE holds 30

    std::optional<Resultado<int32_t>> resultado;
    {
        db::UnidadeDeTrabalho unidade(conexao);
        // Earlier work of the same order stays.
        db::Consulta consulta(conexao);
        db::ExecutarComando(consulta,
                            "update CAD_PESSOA set NM_PESQUISA = 'antes' where ID_PESSOA = 5",
                            db::Confirmacao::Nenhuma);
        resultado = ImportarClienteApp(conexao, cliente, "c1");
        unidade.Confirmar();
    }
    ASSERT_FALSE(resultado->Aceito());
    EXPECT_THAT(resultado->Motivo(), HasSubstr("string right truncation"));
    EXPECT_EQ(Contar("CAD_PESSOA"), 5);
    EXPECT_EQ(Contar("CAD_END_PESSOA"), 4);
    EXPECT_EQ(Contar("CAD_CONTATO_PESSOA"), 2);
    EXPECT_EQ(Contar("TAB_CIDADE"), 5);
    EXPECT_EQ(banco.Ler("select NM_PESQUISA from CAD_PESSOA where ID_PESSOA = 5", "NM_PESQUISA"),
              "antes");
}

TEST_F(ClienteAppTest, ErroDuranteOCadastroDesfazOQueEleGravou) {
    banco.Executar(
        "ALTER PROCEDURE SP_GEN_CAD_PESSOA_CD_PESSOA RETURNS (ID INTEGER) AS BEGIN ID = 1; END");
    DefinirCliente(R"("razao_social":"Cliente","cidade":"Cidade Nova","uf":"SP")");
    {
        db::UnidadeDeTrabalho unidade(conexao);
        EXPECT_THROW(static_cast<void>(ImportarClienteApp(conexao, cliente, "c1")), ErroBancoDados);
        // Even a caller that carries on and commits gets none of the customer's rows.
        unidade.Confirmar();
    }
    EXPECT_EQ(Contar("TAB_CIDADE"), 5);
    EXPECT_EQ(Contar("CAD_PESSOA"), 5);
}

}  // namespace
}  // namespace tessora::importacao
