#include "app/execucao/execucao_sincronizacao.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <regex>
#include <stdexcept>

#include "arquivos_teste.h"
#include "avisos_gravados.h"
#include "comum/erros.h"
#include "instalacao_erp_teste.h"
#include "painel_gravado.h"

namespace tessora::app {
namespace {

using testes::PainelGravado;
using ::testing::ElementsAre;

class PedidosFalsos : public PedidosAppForcaVenda {
  public:
    api::ListagemPedidos ListarPedidosNovos(ContextoSincronizacao& contexto) override {
        listou = true;
        token = contexto.api.obterToken();
        urlBase = contexto.api.urlBase;
        if (erroListagem) throw ErroBancoDados("falha ao ler o token");
        if (falhaListagem) return *falhaListagem;
        return lista;
    }
    importacao::ResultadoImportacao ImportarPedido(ContextoSincronizacao&, const std::string& id,
                                                   const importacao::DocumentoPedido&) override {
        const auto resultado = resultados.at(id);
        if (resultado == "lancar") throw ErroBancoDados("violation of PRIMARY or UNIQUE KEY");
        if (resultado == "OK") return {importacao::DesfechoImportacao::Incluido};
        if (resultado == "ja") return {importacao::DesfechoImportacao::JaIncluido};
        return {importacao::DesfechoImportacao::CabecalhoRecusado, resultado};
    }

    std::vector<std::string> lista;
    std::map<std::string, std::string> resultados;
    bool erroListagem = false;
    std::optional<api::FalhaListagem> falhaListagem;
    bool listou = false;
    std::string token, urlBase;
};

class ExecucaoSincronizacaoTest : public ::testing::Test {
  protected:
    testes::InstalacaoErpTeste erp;
    testes::AvisosGravados avisos;
    PainelGravado painel;
    PedidosFalsos pedidos;
    db::CaminhosAtualizacao caminhos;

    ResumoExecucao resumo;

    std::optional<FimExecucao> Executar() {
        const AmbienteExecucao ambiente{
            erp.Executavel(), {"https://127.0.0.1:1/api", ""}, avisos, painel, pedidos, caminhos};
        resumo = ProcessarAppForcaVenda(ambiente);
        return resumo.fim;
    }
    void DefinirFlag(const std::string& literal) {
        erp.Banco().Executar("update TAB_PARAMETRO set ST_SINCRONIZAR_APP_FORCA_VENDA = " +
                             literal);
    }
};

TEST_F(ExecucaoSincronizacaoTest, FlagDiferenteDeSNaoConsultaAApi) {
    for (const std::string literal : {"'N'", "'s'", "''", "null"}) {
        DefinirFlag(literal);
        EXPECT_EQ(Executar(), FimExecucao::Concluida);
        EXPECT_THAT(painel.linhas,
                    ElementsAre("Iniciando processamento...",
                                "Processo não executado. O APP Força de Vendas não está habilitado",
                                "Encerrando processamento..."))
            << literal;
    }
    erp.Banco().Executar("delete from TAB_PARAMETRO");
    EXPECT_EQ(Executar(), FimExecucao::Concluida);
    EXPECT_EQ(painel.linhas.size(), 3u);
    EXPECT_FALSE(pedidos.listou);
    EXPECT_EQ(painel.limpezas, 5);  // every run clears the previous log
    EXPECT_TRUE(std::regex_match(painel.rotulo, std::regex(R"(\d\d/\d\d/\d{4} \d\d:\d\d)")))
        << painel.rotulo;
}

TEST_F(ExecucaoSincronizacaoTest, ListaVaziaDaTresLinhasEOContextoTrazTokenEEndereco) {
    EXPECT_EQ(Executar(), FimExecucao::Concluida);
    EXPECT_THAT(painel.linhas,
                ElementsAre("Iniciando processamento...", "Nenhum novo pedido encontrado.",
                            "Encerrando processamento..."));
    EXPECT_EQ(pedidos.token, "token-demonstracao");
    EXPECT_EQ(pedidos.urlBase, "https://127.0.0.1:1/api");
    EXPECT_EQ(caminhos.pastaMestre, (erp.PastaPrograma().parent_path() / "Update").string());
    EXPECT_EQ(caminhos.nomeExecutavel, "tessoraService");
    EXPECT_TRUE(avisos.mensagens.empty());
}

TEST_F(ExecucaoSincronizacaoTest, ErroDeUmPedidoNaoImpedeOsSeguintes) {
    pedidos.lista = {"101", "102", "103", "104", "", "105"};
    pedidos.resultados = {{"101", "OK"},  {"102", "lancar"}, {"103", "ok"},
                          {"104", "OK "}, {"", "OK"},        {"105", "ja"}};
    EXPECT_EQ(Executar(), FimExecucao::Concluida);
    EXPECT_THAT(
        painel.linhas,
        ElementsAre("Iniciando processamento...", "Lendo pedido: 101",
                    "Pedido incluído no sistema.", "Lendo pedido: 102",
                    "Erro na leitura do pedido: 102 Erro: violation of PRIMARY or UNIQUE KEY",
                    "Lendo pedido: 103", "Não foi possível incluir o pedido: 103 no sistema",
                    "Lendo pedido: 104", "Não foi possível incluir o pedido: 104 no sistema",
                    "Lendo pedido: ", "Pedido incluído no sistema.", "Lendo pedido: 105",
                    "Pedido já incluído no sistema.", "Encerrando processamento..."));
    EXPECT_TRUE(resumo.Normal());
    EXPECT_EQ(resumo.pedidosProcessados, 6);
    EXPECT_EQ(resumo.pedidosComFalha, 3);  // 102, 103 and 104
}

TEST_F(ExecucaoSincronizacaoTest, ListagemQueFalhouDizPorQueEAExecucaoNaoTerminaBem) {
    pedidos.falhaListagem = api::FalhaListagem{"HTTP/1.1 401 Unauthorized: Unauthenticated.",
                                               api::ProblemaListagem::TokenRecusado};
    EXPECT_EQ(Executar(), FimExecucao::SemListagem);
    EXPECT_THAT(painel.linhas, ElementsAre("Iniciando processamento...",
                                           "Não foi possível obter a lista de novos pedidos: "
                                           "HTTP/1.1 401 Unauthorized: Unauthenticated.",
                                           "Encerrando processamento..."));
    EXPECT_EQ(resumo.fim, FimExecucao::SemListagem);
    EXPECT_EQ(resumo.motivo, "HTTP/1.1 401 Unauthorized: Unauthenticated.");
    EXPECT_EQ(resumo.problema, ProblemaExecucao::TokenRecusado);
}

TEST_F(ExecucaoSincronizacaoTest, ErroForaDaGuardaEncerraAExecucaoDepoisDosPassosDeEncerramento) {
    pedidos.erroListagem = true;
    EXPECT_EQ(Executar(), std::nullopt);
    EXPECT_THAT(painel.linhas,
                ElementsAre("Iniciando processamento...", "Encerrando processamento..."));
    EXPECT_EQ(resumo.motivo, "falha ao ler o token");
}

TEST_F(ExecucaoSincronizacaoTest, AnexoRecusadoEncerraSoAExecucao) {
    erp.DefinirBanco("", erp.PastaDados().string() + "/", "NAO_EXISTE.FDB");
    const db::CaminhosAtualizacao antes = caminhos;
    EXPECT_EQ(Executar(), FimExecucao::SemConexao);
    ASSERT_EQ(painel.linhas.size(), 3u);
    EXPECT_EQ(painel.linhas[0], "Iniciando processamento...");
    EXPECT_THAT(painel.linhas[1],
                ::testing::StartsWith("Não foi possível conectar ao banco de dados: "));
    EXPECT_THAT(painel.linhas[1], ::testing::HasSubstr("NAO_EXISTE.FDB"));
    EXPECT_EQ(painel.linhas[2], "Encerrando processamento...");
    EXPECT_EQ(resumo.problema, ProblemaExecucao::BancoInacessivel);
    EXPECT_EQ(caminhos.pastaMestre, antes.pastaMestre);
    EXPECT_FALSE(pedidos.listou);

    // The next run tries again.
    erp.DefinirBanco("", erp.PastaDados().string() + "/", "ERP.FDB");
    EXPECT_EQ(Executar(), FimExecucao::Concluida);
}

TEST_F(ExecucaoSincronizacaoTest, IniServidorAusenteAvisaEPedeOFim) {
    std::filesystem::remove(erp.PastaDados() / "servidor.ini");
    EXPECT_EQ(Executar(), FimExecucao::SemConexao);
    EXPECT_EQ(avisos.mensagens,
              std::vector<std::string>{
                  "Aviso do Sistema|Não foi encontrado o arquivo de inicialização|erro"});
    EXPECT_EQ(avisos.encerramentos, 1);
}

}  // namespace
}  // namespace tessora::app
