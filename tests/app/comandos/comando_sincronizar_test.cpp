// Runs the built executable in a temporary ERP installation against the substitute API.
#include "app/comandos/comando_sincronizar.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>

#include "api_substituta.h"
#include "app/servico/arquivo_lock.h"
#include "arquivos_teste.h"
#include "instalacao_erp_teste.h"
#include "programa_com_api.h"

namespace tessora::app {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class ComandoSincronizarTest : public ::testing::Test {
  protected:
    testes::InstalacaoErpTeste erp;
    testes::ApiSubstituta servidor{
        testes::LerArquivo(testes::PastaFontes() / "erp/demo/estado-api.json").value_or("")};

    void SetUp() override { testes::InstalarProgramaComApi(erp, servidor); }

    // Standard output without its time stamps ("dd/mm/yyyy hh:mm:ss - ").
    testes::SaidaPrograma Executar(const std::string& argumentos = "--sincronizar") const {
        testes::SaidaPrograma resultado = testes::ExecutarPrograma(erp, argumentos);
        for (std::string& linha : resultado.linhas) {
            if (linha.size() > 22) linha.erase(0, 22);
        }
        return resultado;
    }
};

// Reads through a UTF8 connection of isql, which shows that the texts were stored as
// Windows-1252 (the database's character set) and not as raw UTF-8 bytes.
std::string LerComIsqlUtf8(const std::string& banco, const std::string& consulta) {
    const std::string comando = "echo \"set heading off; " + consulta +
                                "\" | isql-fb -q -ch UTF8 -user SYSDBA '" + banco + "' 2>&1";
    FILE* saida = popen(comando.c_str(), "r");
    std::string texto;
    std::array<char, 4096> pedaco;
    while (size_t n = fread(pedaco.data(), 1, pedaco.size(), saida)) texto.append(pedaco.data(), n);
    pclose(saida);
    return texto;
}

TEST_F(ComandoSincronizarTest, ImportaOsNovosPedidosDaApiEAsConfirma) {
    const auto primeira = Executar();
    EXPECT_EQ(primeira.codigo, 0) << primeira.erros;
    // ped-3002 names a product the ERP lacks.
    EXPECT_EQ(primeira.erros, "Pedidos: 2 incluído(s) (1 com aviso), 0 com falha, 0 adiado(s).\n");
    EXPECT_THAT(primeira.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: ped-3001",
                            "Pedido incluído no sistema.", "Lendo pedido: ped-3002",
                            "Pedido incluído no sistema.", "Encerrando processamento..."));
    const auto requisicoes = servidor.Requisicoes();
    ASSERT_FALSE(requisicoes.empty());
    EXPECT_EQ(requisicoes[0].caminho, "/api/pedidos");
    EXPECT_EQ(requisicoes[0].Cabecalho("Authorization"), "Bearer token-demonstracao");
    EXPECT_FALSE(std::filesystem::exists(erp.PastaDados() / "tessoraService.lock"));

    const auto& banco = erp.Banco();
    EXPECT_EQ(banco.Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "2");
    EXPECT_EQ(banco.Ler("select count(*) as N from MOV_NF_COMERCIO_ITEM", "N"), "5");
    // The new customer was registered; the unknown product marked its operation.
    EXPECT_EQ(
        banco.Ler("select count(*) as N from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-2002'",
                  "N"),
        "1");
    EXPECT_EQ(
        banco.Ler("select ID_ST_NF from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = 'ped-3002'",
                  "ID_ST_NF"),
        "1");
    const std::string texto = LerComIsqlUtf8(
        banco.Nome(),
        "select DS_MENSAGEM_API_APP from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-2002'; "
        "select TX_USO_INTERNO from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = 'ped-3002';");
    EXPECT_THAT(texto, HasSubstr("Incluído pelo representante"));
    EXPECT_THAT(texto, HasSubstr("Produto ped-3002-3 do APP não encontrado"));

    // Both were acknowledged: the next run finds nothing new and writes nothing.
    const auto segunda = Executar();
    EXPECT_EQ(segunda.codigo, 0) << segunda.erros;
    EXPECT_THAT(segunda.linhas,
                ElementsAre("Iniciando processamento...", "Nenhum novo pedido encontrado.",
                            "Encerrando processamento..."));
    EXPECT_EQ(banco.Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "2");
}

// A retry of one order: that order alone, as a run would import it, and nothing else.
TEST_F(ComandoSincronizarTest, UmPedidoSoSemAListagem) {
    const auto unico = Executar("--sincronizar --pedido ped-3002");
    EXPECT_EQ(unico.codigo, 0) << unico.erros;
    EXPECT_THAT(unico.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: ped-3002",
                            "Pedido incluído no sistema.", "Encerrando processamento..."));
    const auto requisicoes = servidor.Requisicoes();
    EXPECT_TRUE(std::none_of(requisicoes.begin(), requisicoes.end(),
                             [](const auto& r) { return r.caminho == "/api/pedidos"; }));
    const auto& banco = erp.Banco();
    EXPECT_EQ(banco.Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "1");

    // Acknowledged: the next run imports only the other new order.
    const auto seguinte = Executar();
    EXPECT_THAT(seguinte.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: ped-3001",
                            "Pedido incluído no sistema.", "Encerrando processamento..."));
    // Once more: already in the ERP, nothing written twice.
    const auto denovo = Executar("--sincronizar --pedido ped-3002");
    EXPECT_THAT(denovo.linhas, ::testing::Contains("Pedido já incluído no sistema."));
    EXPECT_EQ(banco.Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "2");
    EXPECT_EQ(Executar("--sincronizar --pedido").codigo, 2);
}

// The API goes away after the listing: the order whose new customer cannot be fetched fails
// with the reason in its line and is not acknowledged; the next run registers the customer.
TEST_F(ComandoSincronizarTest, ClienteQueNaoPodeSerObtidoFalhaOPedidoAteAProximaExecucao) {
    servidor.DefinirRegra(
        {.metodo = "GET", .caminho = "/api/clientes/cli-2002", .derrubarConexao = true});
    const auto primeira = Executar();
    EXPECT_EQ(primeira.codigo, kSaidaPedidosComFalha);
    EXPECT_EQ(primeira.erros, "Pedidos: 1 incluído(s) (0 com aviso), 1 com falha, 0 adiado(s).\n");
    ASSERT_EQ(primeira.linhas.size(), 6u);
    EXPECT_EQ(primeira.linhas[2], "Pedido incluído no sistema.");
    EXPECT_THAT(primeira.linhas[4],
                StartsWith("Não foi possível incluir o pedido: ped-3002 no sistema: não foi "
                           "possível obter o cliente cli-2002 da API: "));
    const auto& banco = erp.Banco();
    EXPECT_EQ(banco.Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "1");
    EXPECT_EQ(
        banco.Ler("select count(*) as N from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-2002'",
                  "N"),
        "0");
    for (const auto& r : servidor.Requisicoes()) {
        EXPECT_NE(r.caminho, "/api/pedidos/ped-3002/erp-registro");
    }

    servidor.RemoverRegras();
    const auto segunda = Executar();
    EXPECT_THAT(segunda.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: ped-3002",
                            "Pedido incluído no sistema.", "Encerrando processamento..."));
    EXPECT_EQ(banco.Ler("select ID_DESTINATARIO_REMETENTE as P from MOV_NF_COMERCIO where "
                        "ID_APP_FORCA_VENDA = 'ped-3002'",
                        "P"),
              banco.Ler("select ID_PESSOA from CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-2002'",
                        "ID_PESSOA"));
}

// A listing that cannot be had is said in the log and in the exit status; a day without
// orders is not a failure.
TEST_F(ComandoSincronizarTest, ListagemQueNaoPodeSerObtidaNaoPassaPorDiaSemPedidos) {
    const auto linhasCom = [](const std::string& meio) {
        return ElementsAre("Iniciando processamento...", meio, "Encerrando processamento...");
    };
    const std::string falha = "Não foi possível obter a lista de novos pedidos: ";
    struct Caso {
        const char* descricao;
        std::function<void()> preparar;
        int codigo;
        ::testing::Matcher<std::vector<std::string>> linhas;
    };
    const Caso casos[] = {
        {"token refused",
         [&] {
             erp.Banco().Executar("update TAB_PARAMETRO set DS_TOKEN_APP_FORCA_VENDA = 'velho'");
         },
         kSaidaSemListagem, linhasCom(falha + "HTTP/1.1 401 Unauthorized: Token invalido")},
        {"error status with a JSON body",
         [&] {
             servidor.DefinirRegra(
                 {.metodo = "GET",
                  .caminho = "/api/pedidos",
                  .status = 500,
                  .corpo = R"({"success":false,"message":"Falha no banco da API"})"});
         },
         kSaidaSemListagem,
         linhasCom(falha + "HTTP/1.1 500 Internal Server Error: Falha no banco da API")},
        {"error status with an HTML body",
         [&] {
             servidor.DefinirRegra({.metodo = "GET",
                                    .caminho = "/api/pedidos",
                                    .status = 503,
                                    .tipoConteudo = "text/html",
                                    .corpo = "<html>manutenção</html>"});
         },
         kSaidaSemListagem, linhasCom(falha + "HTTP/1.1 503 Service Unavailable")},
        {"success false",
         [&] {
             servidor.DefinirRegra(
                 {.metodo = "GET",
                  .caminho = "/api/pedidos",
                  .corpo = R"({"success":false,"data":[{"id":"x","tipo":"Pedido"}]})"});
         },
         kSaidaSemListagem, linhasCom(falha + "a API não confirmou o sucesso da consulta")},
        {"an array instead of an object",
         [&] {
             servidor.DefinirRegra({.metodo = "GET",
                                    .caminho = "/api/pedidos",
                                    .corpo = R"([{"id":"x","tipo":"Pedido"}])"});
         },
         kSaidaSemListagem, linhasCom(falha + "a resposta da API não traz a lista de pedidos")},
        {"a null among the orders",
         [&] {
             servidor.DefinirRegra(
                 {.metodo = "GET",
                  .caminho = "/api/pedidos",
                  .corpo = R"({"success":true,"data":[{"id":"x","tipo":"Pedido"},null]})"});
         },
         kSaidaSemListagem, linhasCom(falha + "a resposta da API não traz a lista de pedidos")},
        {"a truly empty listing",
         [&] {
             servidor.DefinirRegra({.metodo = "GET",
                                    .caminho = "/api/pedidos",
                                    .corpo = R"({"success":true,"data":[]})"});
         },
         0, linhasCom("Nenhum novo pedido encontrado.")},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.descricao);
        erp.Banco().Executar(
            "update TAB_PARAMETRO set DS_TOKEN_APP_FORCA_VENDA = 'token-demonstracao'");
        servidor.RemoverRegras();
        caso.preparar();
        const auto resultado = Executar();
        EXPECT_EQ(resultado.codigo, caso.codigo) << resultado.erros;
        EXPECT_THAT(resultado.linhas, caso.linhas);
        EXPECT_THAT(resultado.linhas, Each(Not(HasSubstr("velho"))));  // never the token
    }
    EXPECT_EQ(erp.Banco().Ler("select count(*) as N from MOV_NF_COMERCIO", "N"), "0");
}

TEST_F(ComandoSincronizarTest, ServidorInalcancavelOuComCertificadoVencidoEhUmaFalha) {
    testes::ApiSubstituta vencida{
        testes::LerArquivo(testes::PastaFontes() / "erp/demo/estado-api.json").value_or(""),
        {.validade = {-std::chrono::hours(48), -std::chrono::hours(24)}}};
    const struct {
        std::string url;
        const char* causa;
        const char* problema;  // as --estado tells it, with what to check first
    } casos[] = {
        {vencida.UrlBase(), "expired",
         R"("problema":{"codigo":"certificado_fora_do_prazo","descricao":"certificado fora da )"
         R"(validade","proximo_passo":"Confira a data e a hora do PC."})"},
        {"https://127.0.0.1:1/api", "onnect",  // nothing listens on port 1
         R"("problema":{"codigo":"api_inacessivel","descricao":"API inacessível",)"
         R"("proximo_passo":"Confira a conexão com a internet."})"},
    };
    for (const auto& [url, causa, problema] : casos) {
        SCOPED_TRACE(url);
        testes::GravarArquivo(erp.PastaPrograma() / "tessoraService.ini",
                              "[AppForcaVendas]\r\nUrlBaseApi=" + url + "\r\nArquivoCertificados=" +
                                  vencida.ArquivoCertificado() + "\r\n");
        const auto resultado = Executar();
        EXPECT_EQ(resultado.codigo, kSaidaSemListagem);
        ASSERT_EQ(resultado.linhas.size(), 3u);
        EXPECT_THAT(resultado.linhas[1],
                    StartsWith("Não foi possível obter a lista de novos pedidos: "));
        EXPECT_THAT(resultado.linhas[1], HasSubstr(causa));
        EXPECT_THAT(resultado.erros, HasSubstr("não foi possível obter a lista de novos pedidos"));
        // Its JSON as written, apart from the log's time stamps that Executar strips.
        const auto arquivoEstado = erp.PastaPrograma() / "estado.json";
        EXPECT_EQ(Executar("--estado >'" + arquivoEstado.string() + "'").codigo, 1);
        EXPECT_THAT(testes::LerArquivo(arquivoEstado).value_or(""), HasSubstr(problema));
    }
    EXPECT_TRUE(vencida.Requisicoes().empty());  // refused before any byte of a request
}

TEST_F(ComandoSincronizarTest, OutraCopiaEmExecucaoImpedeARodada) {
    const auto lock = ArquivoLock::Adquirir(erp.Executavel(), erp.PastaDados().string() + "/");
    ASSERT_TRUE(lock);
    const auto resultado = Executar();
    EXPECT_EQ(resultado.codigo, 1);
    EXPECT_TRUE(resultado.linhas.empty());
    EXPECT_THAT(resultado.erros, HasSubstr(MensagemOutraCopia(erp.Executavel())));
    EXPECT_TRUE(servidor.Requisicoes().empty());
}

TEST_F(ComandoSincronizarTest, BancoInacessivelTerminaComErro) {
    erp.DefinirBanco("", erp.PastaDados().string() + "/", "NAO_EXISTE.FDB");
    const auto resultado = Executar();
    EXPECT_EQ(resultado.codigo, 1);
    // The engine's message spans several lines.
    ASSERT_GE(resultado.linhas.size(), 3u);
    EXPECT_THAT(resultado.linhas[1], HasSubstr("Não foi possível conectar ao banco de dados: "));
    EXPECT_EQ(resultado.linhas.back(), "Encerrando processamento...");
    EXPECT_FALSE(resultado.erros.empty());
}

}  // namespace
}  // namespace tessora::app
