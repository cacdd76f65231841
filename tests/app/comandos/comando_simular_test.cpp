// Runs the built executable with --simular in a temporary ERP installation against the
// substitute API, and then a real run, whose outcome the preview must have foretold.
#include "app/comandos/comando_simular.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "api_substituta.h"
#include "app/comandos/comando_sincronizar.h"
#include "arquivos_teste.h"
#include "instalacao_erp_teste.h"
#include "programa_com_api.h"

namespace tessora::app {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

std::string Substituir(std::string texto, const std::string& de, const std::string& para) {
    const size_t posicao = texto.find(de);
    EXPECT_NE(posicao, std::string::npos) << de;
    if (posicao != std::string::npos) texto.replace(posicao, de.size(), para);
    return texto;
}

// An order of one coffee package.
std::string Pedido(const std::string& id, const std::string& cliente, const std::string& cnpj) {
    return R"({"id": ")" + id + R"(", "tipo": "Pedido", "registrado_erp_em": null,
      "numero_seq": 3100, "created_at": "2024-03-17", "cliente_id": ")" +
           cliente + R"(", "cliente_cnpj": ")" + cnpj +
           R"(", "vendedor_id": "vend-101", "valor_produtos": 24.9,
      "itens": [{"id_item": ")" +
           id + R"(-1", "produto_id": "prod-501", "quantidade": 1,
                 "valor_unitario": 24.9, "valor_produtos": 24.9}]},
    )";
}

// The demo's orders (a known customer; a new one with an unknown product), one of them with
// amounts that do not add up; before them two whose customer the API does not know (its
// document answers 404), after them one more of the new customer.
std::string EstadoApi() {
    std::string estado =
        testes::LerArquivo(testes::PastaFontes() / "erp/demo/estado-api.json").value_or("");
    estado = Substituir(estado, R"("valor_produtos": "44.10")", R"("valor_produtos": "44.20")");
    estado =
        Substituir(estado, R"("pedidos": [)",
                   R"("pedidos": [)" + Pedido("ped-3003", "cli-sem-cadastro", "30506070000187") +
                       Pedido("ped-3004", "cli-sem-cadastro", "99888777000166"));
    estado = Substituir(estado, R"({
      "id": "ped-2990")",
                        Pedido("ped-3005", "cli-2002", "") + R"({
      "id": "ped-2990")");
    return estado;
}

class ComandoSimularTest : public ::testing::Test {
  protected:
    testes::InstalacaoErpTeste erp;
    testes::ApiSubstituta servidor{EstadoApi()};

    void SetUp() override { testes::InstalarProgramaComApi(erp, servidor); }

    testes::SaidaPrograma Executar(const std::string& argumento) const {
        return testes::ExecutarPrograma(erp, argumento);
    }

    // Row counts of every table and the value of every generator.
    std::map<std::string, std::string> EstadoBanco() const {
        const auto& banco = erp.Banco();
        std::map<std::string, std::string> estado;
        const auto nomes = [&](const std::string& consulta) {
            std::vector<std::string> lista;
            std::stringstream texto(banco.Ler(consulta, "L").value_or(""));
            for (std::string nome; std::getline(texto, nome, ',');) lista.push_back(nome);
            return lista;
        };
        for (const auto& tabela :
             nomes("select list(trim(RDB$RELATION_NAME)) as L from RDB$RELATIONS "
                   "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 and RDB$VIEW_BLR is null")) {
            estado[tabela] = banco.Ler("select count(*) as N from " + tabela, "N").value();
        }
        for (const auto& gerador :
             nomes("select list(trim(RDB$GENERATOR_NAME)) as L from RDB$GENERATORS "
                   "where coalesce(RDB$SYSTEM_FLAG, 0) = 0")) {
            estado[gerador] =
                banco.Ler("select gen_id(" + gerador + ", 0) as V from RDB$DATABASE", "V").value();
        }
        return estado;
    }

    std::string SituacaoGravada(const std::string& pedido) const {
        return erp.Banco()
            .Ler("select ID_ST_NF from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = '" + pedido + "'",
                 "ID_ST_NF")
            .value_or("<nenhum>");
    }
};

TEST_F(ComandoSimularTest, MostraOQueUmaSincronizacaoFariaSemGravarNadaEAcertaOQueElaFaz) {
    const auto bancoAntes = EstadoBanco();
    ASSERT_GT(bancoAntes.size(), 10u);
    const std::string apiAntes = servidor.LerEstado();

    const auto previa = Executar("--simular");
    EXPECT_EQ(previa.codigo, 0) << previa.erros;
    EXPECT_THAT(
        previa.linhas,
        ElementsAreArray({
            "Pedido ped-3003",
            "  Ainda não incluído no sistema; número 3100",
            "  Cliente: a empresa (pessoa 1), pois o cliente cli-sem-cadastro do APP não pode ser "
            "cadastrado: HTTP/1.1 404 Not Found",
            "  CNPJ/CPF 30506070000187: da pessoa 5, mas o pedido ficaria com a empresa",
            "  Natureza de operação: 1",
            "  Item 1 (ped-3003-1): produto prod-501 é o produto 1 do sistema, CAFÉ TORRADO E "
            "MOÍDO 500G",
            "  Situação: 1 (a empresa como cliente)",
            "  Totais: conferem (produtos 24,90, soma dos itens 24,90)",
            "Pedido ped-3004",
            "  Ainda não incluído no sistema; número 3100",
            "  Cliente: a empresa (pessoa 1), pois o cliente cli-sem-cadastro do APP não pode ser "
            "cadastrado: HTTP/1.1 404 Not Found",
            "  CNPJ/CPF 99888777000166: de nenhuma pessoa do sistema; as observações terminariam "
            "com \"; Cliente do APP não encontrado\"",
            "  Natureza de operação: 1",
            "  Item 1 (ped-3004-1): produto prod-501 é o produto 1 do sistema, CAFÉ TORRADO E "
            "MOÍDO 500G",
            "  Situação: 1 (a empresa como cliente)",
            "  Totais: conferem (produtos 24,90, soma dos itens 24,90)",
            "Pedido ped-3001",
            "  Ainda não incluído no sistema; número 3001",
            "  Cliente: pessoa 4, encontrada pelo id do APP cli-2001",
            "  Natureza de operação: 1",
            "  Item 1 (ped-3001-1): produto prod-501 é o produto 1 do sistema, CAFÉ TORRADO E "
            "MOÍDO 500G",
            "  Item 2 (ped-3001-2): produto prod-503 é o produto 3 do sistema, FEIJÃO CARIOCA "
            "TIPO 1 1KG",
            "  Situação: 3",
            "  Totais: conferem (produtos 291,25, soma dos itens 291,25)",
            "Pedido ped-3002",
            "  Ainda não incluído no sistema; número 3002",
            "  Cliente: cli-2002 seria cadastrado a partir do APP",
            "  Natureza de operação: 1",
            "  Item 1 (ped-3002-1): produto prod-502 é o produto 2 do sistema, AÇÚCAR CRISTAL 1KG",
            "  Item 2 (ped-3002-2): produto prod-504 é o produto 4 do sistema, ÓLEO DE SOJA 900ML",
            "  Item 3 (ped-3002-3): produto prod-999 não encontrado; seria gravado como o "
            "produto -99",
            "  Situação: 1 (produto não encontrado)",
            "  Totais: não conferem (produtos 116,58, soma dos itens 116,68); item 2 "
            "(ped-3002-2): 6 x 7,35 = 44,10, total informado 44,20",
            "Pedido ped-3005",
            "  Ainda não incluído no sistema; número 3100",
            "  Cliente: cli-2002, cadastrado por um pedido anterior",
            "  Natureza de operação: 1",
            "  Item 1 (ped-3005-1): produto prod-501 é o produto 1 do sistema, CAFÉ TORRADO E "
            "MOÍDO 500G",
            "  Situação: 3",
            "  Totais: conferem (produtos 24,90, soma dos itens 24,90)",
            "Resumo: 5 pedido(s); 0 já incluído(s); 0 não lido(s); 0 recusado(s); 1 cliente(s) a "
            "cadastrar; 2 com a empresa como cliente; 1 com produto não encontrado; 1 com totais "
            "que não conferem",
        }));

    // Nothing written to the ERP, no key drawn, nothing acknowledged.
    EXPECT_EQ(EstadoBanco(), bancoAntes);
    EXPECT_EQ(servidor.LerEstado(), apiAntes);
    for (const auto& requisicao : servidor.Requisicoes()) {
        EXPECT_EQ(requisicao.metodo, "GET") << requisicao.caminho;
    }

    // A real run does what the preview said.
    const auto execucao = Executar("--sincronizar");
    EXPECT_EQ(execucao.codigo, 0) << execucao.erros;
    EXPECT_EQ(SituacaoGravada("ped-3003"), "1");
    EXPECT_EQ(SituacaoGravada("ped-3004"), "1");
    EXPECT_EQ(SituacaoGravada("ped-3001"), "3");
    EXPECT_EQ(SituacaoGravada("ped-3002"), "1");
    EXPECT_EQ(SituacaoGravada("ped-3005"), "3");
    EXPECT_EQ(erp.Banco().Ler("select count(*) as N from CAD_PESSOA where ID_APP_FORCA_VENDA = "
                              "'cli-2002'",
                              "N"),
              "1");
    // Its history keeps the totals that do not agree, which the processing log never shows.
    EXPECT_THAT(execucao.linhas, Each(Not(HasSubstr("Totais"))));
    const auto historico = Executar("--historico --formato csv");
    EXPECT_THAT(historico.linhas,
                Contains(AllOf(HasSubstr(",ped-3002,incluido_com_aviso,"),
                               EndsWith(",\"Produto ped-3002-3 do APP não encontrado; Totais "
                                        "não conferem (produtos 116,58, soma dos itens "
                                        "116,68); item 2 (ped-3002-2): 6 x 7,35 = 44,10, total "
                                        "informado 44,20\"\r"))));
    EXPECT_THAT(historico.linhas,
                Contains(AllOf(HasSubstr(",ped-3001,incluido,"), EndsWith(",0,\r"))));

    // Orders listed again once in the ERP are only to be acknowledged again.
    servidor.DefinirEstado(apiAntes);
    const auto depois = EstadoBanco();
    const auto repetida = Executar("--simular");
    EXPECT_EQ(repetida.codigo, 0) << repetida.erros;
    ASSERT_EQ(repetida.linhas.size(), 11u);
    EXPECT_EQ(repetida.linhas[0], "Pedido ped-3003");
    EXPECT_EQ(repetida.linhas[1],
              "  Já incluído no sistema: nada seria gravado, só a confirmação à API");
    EXPECT_EQ(repetida.linhas[10],
              "Resumo: 5 pedido(s); 5 já incluído(s); 0 não lido(s); 0 recusado(s); 0 cliente(s) a "
              "cadastrar; 0 "
              "com a empresa como cliente; 0 com produto não encontrado; 0 com totais que não "
              "conferem");
    EXPECT_EQ(EstadoBanco(), depois);
}

// The exit status says what could not be read: the listing (3), the database (1), an order (1).
TEST_F(ComandoSimularTest, OQueNaoPodeSerLidoDaUmaSaidaDeFalha) {
    servidor.DefinirRegra({.metodo = "GET",
                           .caminho = "/api/pedidos/ped-3001",
                           .status = 500,
                           .corpo = R"({"success":false,"message":"Falha"})"});
    auto resultado = Executar("--simular");
    EXPECT_EQ(resultado.codigo, 1);
    EXPECT_THAT(resultado.linhas, Contains("  Não foi possível ler o pedido: HTTP/1.1 "
                                           "500 Internal Server Error"));
    EXPECT_THAT(resultado.linhas.back(), HasSubstr("; 1 não lido(s);"));

    servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/pedidos", .status = 503});
    resultado = Executar("--simular");
    EXPECT_EQ(resultado.codigo, kSaidaSemListagem);
    EXPECT_THAT(resultado.linhas, ElementsAre("Não foi possível obter a lista de novos pedidos: "
                                              "HTTP/1.1 503 Service Unavailable"));

    erp.DefinirBanco("", erp.PastaDados().string() + "/", "NAO_EXISTE.FDB");
    resultado = Executar("--simular");
    EXPECT_EQ(resultado.codigo, 1);
    EXPECT_TRUE(resultado.linhas.empty());
    EXPECT_THAT(resultado.erros, HasSubstr("Não foi possível conectar ao banco de dados: "));
}

// An order that a run would refuse: its id, or its customer's, that the ERP cannot hold
// exactly, or a customer whose document cannot be had.
TEST_F(ComandoSimularTest, PedidosQueAExecucaoRecusariaDaoUmaSaidaDeFalha) {
    std::string estado = servidor.LerEstado();
    const auto trocar = [&](const std::string& de, const std::string& para) {
        const size_t pos = estado.find(de);
        ASSERT_NE(pos, std::string::npos) << de;
        estado.replace(pos, de.size(), para);
    };
    trocar(R"("id": "ped-3001")", R"("id": "ped-\u0141")");
    servidor.DefinirEstado(estado);
    servidor.DefinirRegra({.metodo = "GET", .caminho = "/api/clientes/cli-2002", .status = 502});
    const auto resultado = Executar("--simular");
    EXPECT_EQ(resultado.codigo, 1);
    EXPECT_THAT(resultado.linhas,
                Contains("  Não seria incluído nem confirmado à API: o id do pedido não cabe "
                         "exatamente no banco de dados: tem caracteres que o banco de dados não "
                         "guarda (fora do Windows-1252)"));
    EXPECT_THAT(resultado.linhas,
                Contains("  Não seria incluído nem confirmado à API: não foi possível obter o "
                         "cliente cli-2002 da API: HTTP/1.1 502 Bad Gateway"));
    // ped-3005 names the same customer.
    EXPECT_THAT(resultado.linhas.back(), HasSubstr("; 0 não lido(s); 3 recusado(s);"));
}

// Like a run, the preview does not contact the API while the integration is off.
TEST_F(ComandoSimularTest, IntegracaoDesligadaNaoConsultaAApi) {
    erp.Banco().Executar("update TAB_PARAMETRO set ST_SINCRONIZAR_APP_FORCA_VENDA = 'N'");
    const auto resultado = Executar("--simular");
    EXPECT_EQ(resultado.codigo, 0) << resultado.erros;
    EXPECT_THAT(resultado.linhas,
                ElementsAre("Processo não executado. O APP Força de Vendas não está habilitado"));
    EXPECT_TRUE(servidor.Requisicoes().empty());
}

}  // namespace
}  // namespace tessora::app
