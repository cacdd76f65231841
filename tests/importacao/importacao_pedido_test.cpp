#include "importacao/importacao_pedido.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>

#include "api/caminho_api.h"
#include "api_substituta.h"
#include "banco_teste.h"
#include "comum/erros.h"
#include "db/consulta.h"
#include "db/guarda_importacao.h"

namespace tessora::importacao {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// A new customer of the app, for orders that name "cli-9".
constexpr const char* kClienteNovo =
    R"({"id":"cli-9","razao_social":"Padaria D'Ouro","cnpj":"12.345.678/0001-95",
    "cep":"01310-100","rua":"Av. Paulista","numero":"1000","bairro":"Bela Vista","cidade":"Belo Horizonte","uf":"MG",
    "responsavel":"Ana","email":"ana@padaria.example"})";

std::string Pedido(const std::string& id, const std::string& membros) {
    return R"({"id":")" + id + R"(","tipo":"Pedido","registrado_erp_em":null)" +
           (membros.empty() ? "" : ",") + membros + "}";
}

class ImportacaoPedidoTest : public ::testing::Test {
  protected:
    testes::PastaTemporaria pasta{"tessora-pedido"};
    testes::BancoTeste banco{pasta.Caminho() / "ERP.FDB"};
    testes::ApiSubstituta servidor{R"({"token":"token-demonstracao","pedidos":[],"clientes":[]})"};
    db::ConexaoErp conexao{banco.Nome()};
    api::ClienteHttp cliente{
        {servidor.UrlBase(), servidor.ArquivoCertificado(), [] { return "token-demonstracao"; }}};
    std::vector<std::string> rastro;

    void SetUp() override {
        conexao.Abrir();
        conexao.DefinirRastro([&](std::string_view comando) { rastro.emplace_back(comando); });
    }
    void TearDown() override { conexao.Fechar(); }

    void Estado(const std::vector<std::string>& pedidos) {
        std::string lista;
        for (const auto& pedido : pedidos) lista += (lista.empty() ? "" : ",") + pedido;
        servidor.DefinirEstado(R"({"token":"token-demonstracao","pedidos":[)" + lista +
                               "],\"clientes\":[" + kClienteNovo + "]}");
    }
    std::string Ler(const std::string& comando, const std::string& coluna) const {
        return banco.Ler(comando, coluna).value_or("<null>");
    }
    std::string Cabecalho(const std::string& id, const std::string& coluna) const {
        return Ler(
            "select " + coluna + " from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = '" + id + "'",
            coluna);
    }
    // Rows of every table a customer registration writes.
    std::string LinhasDeClientes() const {
        return Ler(
            "select (select count(*) from CAD_PESSOA) || '/' || (select count(*) from "
            "CAD_END_PESSOA) "
            "|| '/' || (select count(*) from CAD_CONTATO_PESSOA) || '/' || (select count(*) from "
            "TAB_CIDADE) "
            "as N from RDB$DATABASE",
            "N");
    }
    int Requisicoes(const std::string& metodo, const std::string& caminho) const {
        int n = 0;
        for (const auto& r : servidor.Requisicoes())
            n += r.metodo == metodo && r.caminho == caminho;
        return n;
    }
    // The failure of an import whose order the API did not give.
    std::string NaoObtido(const std::string& id) {
        const ResultadoImportacao resultado = ImportarPedido(conexao, cliente, id);
        EXPECT_EQ(resultado.desfecho, DesfechoImportacao::PedidoNaoObtido) << id;
        return resultado.motivo;
    }
    int Confirmacoes(const std::string& id) const {
        return Requisicoes("PATCH", "/api" + api::CaminhoPedido(id) + "/erp-registro");
    }
    std::string InsercaoCabecalho() const {
        for (const auto& comando : rastro) {
            if (comando.rfind(" INSERT INTO MOV_NF_COMERCIO(", 0) == 0) return comando;
        }
        return {};
    }
};

TEST_F(ImportacaoPedidoTest, ClienteConhecidoViraOperacaoComItensNotasEConfirmacao) {
    Estado({Pedido("p1", R"("cliente_id":"cli-2001","vendedor_id":"vend-101","numero_seq":77,
        "created_at":"2024-03-15T14:32:05-03:00","tipo_frete":"CIF","dias_validade":"10",
        "valor_produtos":"100.00","valor_ipi":"10,5","valor_icms":2.25,
        "anotacoes":[{"texto":"Entregar de manhã"},{"texto":"Portão d'água"}],
        "itens":[{"id_item":"i1","produto_id":"prod-501","quantidade":1,"valor_unitario":100,"valor_produtos":100}])")});
    const auto resultado = ImportarPedido(conexao, cliente, "p1");
    EXPECT_EQ(resultado.desfecho, DesfechoImportacao::Incluido);
    // Answers are folded to ASCII before they are parsed: "manhã" arrives as "manha".

    EXPECT_EQ(
        InsercaoCabecalho(),
        " INSERT INTO MOV_NF_COMERCIO(ID_NF_COMERCIO, ID_EMPRESA, ID_ST_NF, "
        "ID_DESTINATARIO_REMETENTE, "
        "DT_EMISSAO, ID_NAT_OPERACAO, ID_TP_MOV_ESTOQUE, NR_NOTA_FISCAL, DS_SERIE_NF, "
        "DT_SAIDA_ENTRADA, "
        "ID_PLANO_PAGTO, VL_TOTAL_NF, ID_VENDEDOR, ID_TP_PAGTO, TX_OBS_NF, ID_APP_FORCA_VENDA, "
        "VL_IPI, "
        "VL_PRODUTOS, ID_END_FATURAMENTO, ID_END_ENTREGA, SG_ESTADO, SG_ESTADO_ENTREGA, "
        "ID_TP_FRETE, ID_CIDADE, "
        "ID_CIDADE_ENTREGA, VL_BASE_ICMS, VL_ICMS, VL_BASE_ICMS_SUBST, VL_ICMS_SUBST, VL_FRETE, "
        "VL_SEGURO, "
        "VL_OUT_DESPESAS, VL_SERVICO, VL_DESCONTO, CT_CALCULAR_PESO, QT_DIAS_VALIDADE) VALUES "
        "(1001,1,3,4,"
        "'15.03.2024',1,2,77,'PV1','15.03.2024',2,112.75,2,1,'Entregar de manha\r\n\r\nPortao "
        "d''agua','p1',"
        "10.50,100.00,2,3,'RJ','RJ',1,2,3,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0.00,'N',10)");
    EXPECT_EQ(
        Ler("select count(*) as N from MOV_NF_COMERCIO_ITEM where ID_NF_COMERCIO = 1001", "N"),
        "1");
    EXPECT_THAT(Cabecalho("p1", "TX_USO_INTERNO"), StartsWith("Pedido capturado do APP em "));
    EXPECT_TRUE(std::regex_match(
        Cabecalho("p1", "TX_USO_INTERNO"),
        std::regex(R"(Pedido capturado do APP em \d\d/\d\d/\d{4} \d\d:\d\d:\d\d)")));
    EXPECT_EQ(Confirmacoes("p1"), 1);
}

TEST_F(ImportacaoPedidoTest, ValoresAusentesEDesconhecidos) {
    Estado(
        {Pedido("p2", R"("cliente_id":"cli-2001","vendedor_id":"vend-999","tipo_frete":"Avião")")});
    banco.Executar(
        "update CAD_PESSOA set ID_TP_PAGTO = null, ID_PLANO_PAGTO = null where ID_PESSOA = 4");
    EXPECT_EQ(ImportarPedido(conexao, cliente, "p2").desfecho, DesfechoImportacao::Incluido);
    // Unknown representative and freight: null; no payment type: 0; no date: day 0.
    EXPECT_THAT(
        InsercaoCabecalho(),
        HasSubstr(
            "VALUES (1001,1,3,4,'30.12.1899',1,2,0,'','30.12.1899',null,0.00,null,0,'','p2',"));
    EXPECT_THAT(InsercaoCabecalho(), HasSubstr(",'RJ','RJ',null,2,3,"));
}

TEST_F(ImportacaoPedidoTest, ClienteNaoEncontradoFicaComAEmpresaEPendencia) {
    struct Caso {
        std::string cnpj, observacao;
    };
    const Caso casos[] = {{"99.999.999/0001-99", "; Cliente do APP não encontrado"},
                          {"", "; Cliente do APP não encontrado"}};
    int n = 0;
    for (const auto& caso : casos) {
        const std::string id = "sem-cliente-" + std::to_string(++n);
        Estado(
            {Pedido(id, R"("cliente_id":"cli-inexistente","cliente_cnpj":")" + caso.cnpj + "\"")});
        EXPECT_EQ(ImportarPedido(conexao, cliente, id).desfecho, DesfechoImportacao::Incluido);
        EXPECT_EQ(Cabecalho(id, "ID_DESTINATARIO_REMETENTE"), "1");
        EXPECT_EQ(Cabecalho(id, "ID_ST_NF"), "1");
        EXPECT_EQ(Cabecalho(id, "TX_OBS_NF"), caso.observacao);
    }
    // A CNPJ that the ERP knows: the company stays the customer, without the note.
    const std::string cnpjConhecido =
        Ler("select NO_CNPJ_CPF from CAD_PESSOA where ID_PESSOA = 5", "NO_CNPJ_CPF");
    Estado({Pedido("com-cnpj",
                   R"("cliente_id":"cli-inexistente","cliente_cnpj":")" + cnpjConhecido + "\"")});
    EXPECT_EQ(ImportarPedido(conexao, cliente, "com-cnpj").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(Cabecalho("com-cnpj", "ID_ST_NF"), "1");
    EXPECT_EQ(Cabecalho("com-cnpj", "TX_OBS_NF"), "");
}

TEST_F(ImportacaoPedidoTest, NaturezaQueNaoImprimeNotaDaStatus5) {
    for (const std::string flag : {"'s'", "'N'", "null"}) {
        banco.Executar("update TAB_NAT_OPERACAO set ST_IMPRIME_NOTA = " + flag +
                       " where ID_NAT_OPERACAO = 1");
        const std::string id = "nat-" + std::to_string(rastro.size());
        Estado({Pedido(id, R"("cliente_id":"cli-2001")")});
        EXPECT_EQ(ImportarPedido(conexao, cliente, id).desfecho, DesfechoImportacao::Incluido);
        EXPECT_EQ(Cabecalho(id, "ID_ST_NF"), "5") << flag;
    }
}

TEST_F(ImportacaoPedidoTest, PedidoJaIncluidoSoEhConfirmadoDeNovo) {
    Estado({Pedido("p3", R"("cliente_id":"cli-2001")")});
    EXPECT_EQ(ImportarPedido(conexao, cliente, "p3").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(ImportarPedido(conexao, cliente, "p3").desfecho, DesfechoImportacao::JaIncluido);
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = 'p3'", "N"),
              "1");
    EXPECT_EQ(Confirmacoes("p3"), 2);
}

TEST_F(ImportacaoPedidoTest, CabecalhoRecusadoDesfazTudoDoPedido) {
    // A new customer is registered first; the header then fails (observations too long).
    Estado({Pedido("p4", R"("cliente_id":"cli-9","anotacoes":[{"texto":")" +
                             std::string(5000, 'x') + "\"}]")});
    const auto recusado = ImportarPedido(conexao, cliente, "p4");
    EXPECT_EQ(recusado.desfecho, DesfechoImportacao::CabecalhoRecusado);
    EXPECT_THAT(recusado.motivo, HasSubstr("string right truncation"));
    EXPECT_EQ(Ler("select count(*) as N from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-9'", "N"),
              "0");
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "0");
    EXPECT_EQ(Confirmacoes("p4"), 0);
}

TEST_F(ImportacaoPedidoTest, ErroDepoisDoCabecalhoDesfazOPedidoENaoConfirma) {
    Estado({Pedido(
        "p5", R"("cliente_id":"cli-9","itens":[{"id_item":"a","produto_id":"prod-501"},null])")});
    EXPECT_THROW(static_cast<void>(ImportarPedido(conexao, cliente, "p5")), ErroTipoInvalido);
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "0");
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO_ITEM", "N"), "0");
    EXPECT_EQ(Ler("select count(*) as N from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-9'", "N"),
              "0");
    EXPECT_EQ(Confirmacoes("p5"), 0);
    // The next attempt starts clean and succeeds.
    Estado({Pedido("p5",
                   R"("cliente_id":"cli-9","itens":[{"id_item":"a","produto_id":"prod-501"}])")});
    EXPECT_EQ(ImportarPedido(conexao, cliente, "p5").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(Cabecalho("p5", "ID_ST_NF"), "3");
}

TEST_F(ImportacaoPedidoTest, RespostasQueNaoTrazemPedido) {
    Estado({});
    EXPECT_EQ(NaoObtido("nao-existe"), R"({"success":false,"message":"Pedido não encontrado"})");
    servidor.DefinirRegra(
        {.metodo = "GET", .caminho = "/api/pedidos/x", .corpo = R"({"success":false,"data":{}})"});
    EXPECT_EQ(NaoObtido("x"), "");
    servidor.DefinirRegra(
        {.metodo = "GET", .caminho = "/api/pedidos/x", .corpo = R"({"success":true})"});
    EXPECT_EQ(NaoObtido("x"), "");
    servidor.DefinirRegra(
        {.metodo = "GET", .caminho = "/api/pedidos/x", .corpo = R"({"success":true,"data":[]})"});
    EXPECT_THROW(static_cast<void>(ImportarPedido(conexao, cliente, "x")), ErroTipoInvalido);
    servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/pedidos/x", .derrubarConexao = true});
    EXPECT_FALSE(NaoObtido("x").empty());
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "0");
}

TEST_F(ImportacaoPedidoTest, EmpresaNulaNosParametrosFalhaAntesDeEscrever) {
    banco.Executar("update TAB_PARAMETRO set ID_EMPRESA_APP_FORCA_VENDA = null");
    Estado({Pedido("p6", R"("cliente_id":"cli-9")")});
    EXPECT_THROW(static_cast<void>(ImportarPedido(conexao, cliente, "p6")), ErroConversao);
    EXPECT_EQ(Ler("select count(*) as N from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-9'", "N"),
              "0");
}

TEST_F(ImportacaoPedidoTest, ValorQueOErpNaoComportaRecusaOPedidoInteiro) {
    const std::string item =
        R"("itens":[{"id_item":"i1","produto_id":"prod-501","quantidade":1,"valor_unitario":)";
    struct Caso {
        std::string membros, mensagem;
    };
    const Caso casos[] = {
        {R"("valor_produtos":9e14,"valor_ipi":9e14)",
         R"(Valor de "valor_ipi" fora do limite do ERP: 900000000000000)"},
        {R"("valor_produtos":"9999999999999.99","valor_ipi":"0.01")",
         "Valor total do pedido fora do limite do ERP: 10000000000000,00"},
        {R"("valor_icms":"-9999999999999.995")",
         R"(Valor de "valor_icms" fora do limite do ERP: -9999999999999.995)"},
        {R"("valor_produtos":"1e20")", R"(Valor de "valor_produtos" fora do limite do ERP: 1e20)"},
        {item + R"("99999999999.99995"}])",
         R"(Valor de "valor_unitario" fora do limite do ERP: 99999999999.99995)"},
    };
    int n = 0;
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.membros);
        const std::string id = "grande-" + std::to_string(++n);
        Estado({Pedido(id, R"("cliente_id":"cli-9",)" + caso.membros)});
        try {
            static_cast<void>(ImportarPedido(conexao, cliente, id));
            ADD_FAILURE() << "sem erro";
        } catch (const ErroConversao& erro) {
            EXPECT_EQ(std::string(erro.what()), caso.mensagem);
        }
        EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "0");
        EXPECT_EQ(
            Ler("select count(*) as N from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-9'", "N"),
            "0");
        EXPECT_EQ(Confirmacoes(id), 0);
    }
    // The largest amounts the columns hold are written as they are.
    Estado({Pedido("no-limite", R"("cliente_id":"cli-2001","valor_produtos":"9999999999999.99",)" +
                                    item + R"("99999999999.9999"}])")});
    EXPECT_EQ(ImportarPedido(conexao, cliente, "no-limite").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(Cabecalho("no-limite", "VL_TOTAL_NF"), "9999999999999.99");
    EXPECT_EQ(Ler("select VL_UNITARIO from MOV_NF_COMERCIO_ITEM", "VL_UNITARIO"),
              "99999999999.9999");
}

TEST_F(ImportacaoPedidoTest, NaturezaNulaDepoisDeClienteNovoDesfazOCliente) {
    banco.Executar("update TAB_PARAMETRO set ID_NAT_OPER_SUG_OP_COM_APP_VEND = null");
    Estado({Pedido("p7", R"("cliente_id":"cli-9")")});
    const std::string antes = LinhasDeClientes();
    EXPECT_THROW(static_cast<void>(ImportarPedido(conexao, cliente, "p7")), ErroConversao);
    EXPECT_EQ(Requisicoes("GET", "/api/clientes/cli-9"), 1);  // registered, then undone
    EXPECT_EQ(LinhasDeClientes(), antes);
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "0");
    EXPECT_EQ(Confirmacoes("p7"), 0);
}

TEST_F(ImportacaoPedidoTest, CommitRecusadoNaoGravaNemConfirma) {
    banco.Executar("create exception E_COMMIT_RECUSADO 'commit recusado'");
    banco.Executar(
        "create trigger TG_COMMIT_RECUSADO on transaction commit as begin "
        "if (exists(select 1 from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = 'recusado')) then "
        "exception E_COMMIT_RECUSADO; end");
    // Database triggers are loaded when a connection attaches.
    conexao.Fechar();
    conexao.Abrir();
    Estado({Pedido("recusado",
                   R"("cliente_id":"cli-9","itens":[{"id_item":"a","produto_id":"prod-501"}])"),
            Pedido("aceito", R"("cliente_id":"cli-2001")")});
    const std::string antes = LinhasDeClientes();
    EXPECT_THROW(static_cast<void>(ImportarPedido(conexao, cliente, "recusado")), ErroBancoDados);
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "0");
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO_ITEM", "N"), "0");
    EXPECT_EQ(LinhasDeClientes(), antes);
    EXPECT_EQ(Confirmacoes("recusado"), 0);
    // The connection goes on with the next order.
    EXPECT_EQ(ImportarPedido(conexao, cliente, "aceito").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "1");
}

TEST_F(ImportacaoPedidoTest, ConfirmacaoQueNaoEhObjetoDeixaOPedidoParaSerSoConfirmado) {
    int n = 0;
    for (const std::string corpo : {"[]", R"("registrado")", "42", "null"}) {
        const std::string id = "ack-" + std::to_string(++n);
        Estado({Pedido(id, R"("cliente_id":"cli-2001")")});
        servidor.DefinirRegra(
            {.metodo = "PATCH", .caminho = "/api/pedidos/" + id + "/erp-registro", .corpo = corpo});
        EXPECT_THROW(static_cast<void>(ImportarPedido(conexao, cliente, id)), ErroTipoInvalido)
            << corpo;
        EXPECT_EQ(
            Ler("select count(*) as N from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = '" + id + "'",
                "N"),
            "1");
        servidor.RemoverRegras();
        const auto seguinte = ImportarPedido(conexao, cliente, id);
        EXPECT_EQ(seguinte.desfecho, DesfechoImportacao::JaIncluido) << corpo;
        EXPECT_EQ(
            Ler("select count(*) as N from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = '" + id + "'",
                "N"),
            "1");
        EXPECT_EQ(Confirmacoes(id), 2);
    }
}

TEST_F(ImportacaoPedidoTest, OutraCopiaImportandoDeixaOPedidoSemLerNemGravar) {
    Estado({Pedido("p8", R"("cliente_id":"cli-9")")});
    // Another copy's import connection, attached before this one.
    conexao.Fechar();
    db::ConexaoErp outraCopia(banco.Nome());
    outraCopia.DefinirProcesso(std::string(db::kProcessoImportacao));
    outraCopia.Abrir();
    conexao.Abrir();
    const std::string antes = LinhasDeClientes();
    const auto resultado = ImportarPedido(conexao, cliente, "p8");
    EXPECT_EQ(resultado.desfecho, DesfechoImportacao::OutraCopiaImportando);
    EXPECT_EQ(resultado.motivo, "processo " + std::to_string(getpid()));
    EXPECT_TRUE(servidor.Requisicoes().empty());
    EXPECT_EQ(LinhasDeClientes(), antes);
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "0");

    outraCopia.Fechar();
    EXPECT_EQ(ImportarPedido(conexao, cliente, "p8").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(Confirmacoes("p8"), 1);
}

TEST_F(ImportacaoPedidoTest, EdicaoPendenteDosParametrosNoErpNaoAtrapalhaNemEhAtrapalhada) {
    Estado({Pedido("p9", R"("cliente_id":"cli-9")")});
    db::ConexaoErp erp(banco.Nome());
    erp.Abrir();
    db::Consulta edicao(erp);
    db::ExecutarComando(edicao, "update TAB_PARAMETRO set ST_SINCRONIZAR_APP_FORCA_VENDA = 'S'",
                        db::Confirmacao::Nenhuma);
    EXPECT_EQ(ImportarPedido(conexao, cliente, "p9").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(Confirmacoes("p9"), 1);
    // The ERP saves its parameters while the program has its connection open: no conflict.
    db::ExecutarComando(edicao, "update TAB_PARAMETRO set ST_SINCRONIZAR_APP_FORCA_VENDA = 'S'",
                        db::Confirmacao::Nenhuma);
    EXPECT_NO_THROW(erp.Confirmar());
}

// Ids compare exactly as the app sent them; one the ERP cannot hold exactly is refused before
// anything is read or written, and is not acknowledged.
TEST_F(ImportacaoPedidoTest, IdsComparadosExatamenteEIdsInexatosRecusados) {
    const std::string longo(51, 'x');
    Estado({Pedido("q-1", ""), Pedido("q-1 ", ""), Pedido("r-\u0141", ""), Pedido("r-\u0143", ""),
            Pedido("r-\u00e9", ""), Pedido(longo, ""), Pedido("s-1", R"("cliente_id":"c-\u0141")"),
            Pedido("s-2", R"("cliente_id":"cli-2001 ")")});
    EXPECT_EQ(ImportarPedido(conexao, cliente, "q-1").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(ImportarPedido(conexao, cliente, "q-1 ").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(ImportarPedido(conexao, cliente, "q-1 ").desfecho, DesfechoImportacao::JaIncluido);
    EXPECT_EQ(ImportarPedido(conexao, cliente, "r-\u00e9").desfecho, DesfechoImportacao::Incluido);
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "3");

    struct Caso {
        std::string id;
        DesfechoImportacao desfecho;
        std::string motivo;
    };
    const std::vector<Caso> casos{
        {"r-\u0141", DesfechoImportacao::IdInexato,
         "o id do pedido não cabe exatamente no banco de dados: tem caracteres que o banco de "
         "dados não guarda (fora do Windows-1252)"},
        {"r-\u0143", DesfechoImportacao::IdInexato, ""},
        {longo, DesfechoImportacao::IdInexato,
         "o id do pedido não cabe exatamente no banco de dados: tem 51 caracteres, mais que os 50 "
         "da coluna"},
        {"s-1", DesfechoImportacao::ClienteIndisponivel,
         "o id do cliente c-\u0141 não cabe exatamente no banco de dados: tem caracteres que o "
         "banco de dados não guarda (fora do Windows-1252)"},
    };
    for (const auto& caso : casos) {
        const size_t antes = servidor.Requisicoes().size();
        const auto resultado = ImportarPedido(conexao, cliente, caso.id);
        EXPECT_EQ(resultado.desfecho, caso.desfecho) << caso.id;
        if (!caso.motivo.empty()) {
            EXPECT_EQ(resultado.motivo, caso.motivo) << caso.id;
        }
        EXPECT_FALSE(RegistrarNaApi(resultado)) << caso.id;
        EXPECT_EQ(Confirmacoes(caso.id), 0) << caso.id;
        if (caso.desfecho == DesfechoImportacao::IdInexato) {
            EXPECT_EQ(servidor.Requisicoes().size(), antes) << caso.id;
        }
    }
    EXPECT_EQ(Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "3");

    // A trailing blank makes another customer: not the seed's person "cli-2001".
    EXPECT_EQ(ImportarPedido(conexao, cliente, "s-2").desfecho, DesfechoImportacao::Incluido);
    EXPECT_NE(
        Cabecalho("s-2", "ID_DESTINATARIO_REMETENTE"),
        Ler("select ID_PESSOA from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-2001'", "ID_PESSOA"));
}

// A customer document that could not be had fails the order, which the next run imports with
// its customer; the company stands in only when the API says there is no such customer.
TEST_F(ImportacaoPedidoTest, ClienteQueNaoVeioDaApiFalhaOPedidoEmVezDeUsarAEmpresa) {
    struct Caso {
        const char* nome;
        testes::RegraApiSubstituta regra;
        DesfechoImportacao desfecho;
        std::string motivo;  // its start
    };
    const std::string caminho = "/api/clientes/cli-9";
    // The customer is new to the ERP for every case.
    const auto semCliente = [this] {
        for (const char* tabela : {"CAD_CONTATO_PESSOA", "CAD_END_PESSOA"}) {
            banco.Executar(std::string("delete from ") + tabela +
                           " where ID_PESSOA in (select ID_PESSOA from CAD_PESSOA where "
                           "ID_APP_FORCA_VENDA = 'cli-9')");
        }
        banco.Executar("delete from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-9'");
    };
    const std::vector<Caso> casos{
        {"conexão derrubada",
         {"GET", caminho, 200, {}, {}, {}, {}, true},
         DesfechoImportacao::ClienteIndisponivel,
         "não foi possível obter o cliente cli-9 da API: "},
        {"status 503",
         {"GET", caminho, 503, "text/html", "<html>down</html>"},
         DesfechoImportacao::ClienteIndisponivel,
         "não foi possível obter o cliente cli-9 da API: HTTP/1.1 503"},
        {"resposta ilegível",
         {"GET", caminho, 200, "application/json", R"({"success":tr)"},
         DesfechoImportacao::ClienteIndisponivel,
         "não foi possível obter o cliente cli-9 da API: a resposta da API não é um JSON legível"},
        {"404: o cliente não existe",
         {"GET", caminho, 404, "application/json", R"({"success":false})"},
         DesfechoImportacao::Incluido,
         ""},
    };
    int n = 0;
    for (const auto& caso : casos) {
        const std::string id = "pc-" + std::to_string(++n);
        semCliente();
        Estado({Pedido(id, R"("cliente_id":"cli-9")")});
        servidor.DefinirRegra(caso.regra);
        const std::string antes = LinhasDeClientes();
        const auto resultado = ImportarPedido(conexao, cliente, id);
        EXPECT_EQ(resultado.desfecho, caso.desfecho) << caso.nome;
        EXPECT_THAT(resultado.motivo, StartsWith(caso.motivo)) << caso.nome;
        if (caso.desfecho == DesfechoImportacao::Incluido) {
            EXPECT_EQ(Cabecalho(id, "ID_ST_NF"), "1") << caso.nome;  // the company stands in
            EXPECT_EQ(Confirmacoes(id), 1) << caso.nome;
            continue;
        }
        EXPECT_EQ(LinhasDeClientes(), antes) << caso.nome;
        EXPECT_EQ(Cabecalho(id, "ID_NF_COMERCIO"), "<null>") << caso.nome;
        EXPECT_EQ(Confirmacoes(id), 0) << caso.nome;

        // The API is back: the next run registers the customer with the order.
        servidor.RemoverRegras();
        const auto seguinte = ImportarPedido(conexao, cliente, id);
        ASSERT_EQ(seguinte.desfecho, DesfechoImportacao::Incluido) << caso.nome;
        EXPECT_TRUE(seguinte.operacao->clienteCadastrado) << caso.nome;
        EXPECT_EQ(Confirmacoes(id), 1) << caso.nome;
    }
}

// Integer members: an optional sign and decimal digits after optional blanks, within 32 bits;
// a JSON number counts when it is integral. Anything else is 0, never a wrapped value.
TEST_F(ImportacaoPedidoTest, NumeroEDiasDeValidadeInteirosOuZero) {
    const std::pair<std::string, std::string> casos[] = {
        {R"("12")", "12"},
        {"12", "12"},
        {"-7", "-7"},
        {R"("+7")", "7"},
        {R"(" 7")", "7"},
        {R"("\t-7")", "-7"},
        {R"("2147483647")", "2147483647"},
        {R"("-2147483648")", "-2147483648"},
        // Integral JSON numbers.
        {"12.0", "12"},
        {"1e2", "100"},
        // Not an integer.
        {R"("12.0")", "0"},
        {R"("1e2")", "0"},
        {R"("7 ")", "0"},
        {R"("+-7")", "0"},
        {R"("- 7")", "0"},
        {R"("0x1A")", "0"},
        {R"("")", "0"},
        {"12.5", "0"},
        {"true", "0"},
        // Beyond 32 bits: never the value cut to fit.
        {R"("2147483648")", "0"},
        {R"("-2147483649")", "0"},
        {R"("4294967303")", "0"},
        {"4294967303", "0"},
        {"1e10", "0"},
    };
    int n = 0;
    for (const auto& [valor, esperado] : casos) {
        const std::string id = "num-" + std::to_string(++n);
        Estado({Pedido(id, R"("cliente_id":"cli-2001","numero_seq":)" + valor +
                               R"(,"dias_validade":)" + valor)});
        ASSERT_EQ(ImportarPedido(conexao, cliente, id).desfecho, DesfechoImportacao::Incluido)
            << valor;
        EXPECT_EQ(Cabecalho(id, "NR_NOTA_FISCAL"), esperado) << valor;
        EXPECT_EQ(Cabecalho(id, "QT_DIAS_VALIDADE"), esperado) << valor;
    }
}

}  // namespace
}  // namespace tessora::importacao
