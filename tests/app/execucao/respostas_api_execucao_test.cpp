// Whole runs against the substitute API whose answers are unusual: a byte order mark in front,
// amounts the ERP cannot hold.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "api_substituta.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/execucao/pedidos_via_api.h"
#include "avisos_gravados.h"
#include "instalacao_erp_teste.h"
#include "painel_gravado.h"

namespace tessora::app {
namespace {

using testes::PainelGravado;
using ::testing::ElementsAre;

constexpr std::string_view kMarcaOrdemBytes = "\xEF\xBB\xBF";

std::string Pedido(const std::string& id, const std::string& valores) {
    return R"({"id":")" + id +
           R"(","tipo":"Pedido","registrado_erp_em":null,"cliente_id":"cli-2001",)" + valores +
           R"(,"itens":[{"id_item":")" + id +
           R"(-1","produto_id":"prod-501","quantidade":1,"valor_unitario":10,"valor_produtos":10}]})";
}

class RespostasApiExecucaoTest : public ::testing::Test {
  protected:
    testes::InstalacaoErpTeste erp;
    testes::ApiSubstituta servidor{R"({"token":"token-demonstracao","pedidos":[],"clientes":[]})"};
    testes::AvisosGravados avisos;
    PainelGravado painel;
    PedidosViaApi pedidos;
    db::CaminhosAtualizacao caminhos;

    void Estado(const std::vector<std::string>& lista) {
        std::string json;
        for (const std::string& pedido : lista) json += (json.empty() ? "" : ",") + pedido;
        servidor.DefinirEstado(R"({"token":"token-demonstracao","pedidos":[)" + json +
                               R"(],"clientes":[]})");
    }
    void Executar() {
        const AmbienteExecucao ambiente{
            erp.Executavel(), {servidor.UrlBase(), servidor.ArquivoCertificado()},
            avisos,           painel,
            pedidos,          caminhos};
        EXPECT_TRUE(ProcessarAppForcaVenda(ambiente).Normal());
    }
    std::string Operacoes(const std::string& id) const {
        return erp.Banco()
            .Ler(
                "select count(*) as N from MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = '" + id + "'",
                "N")
            .value_or("");
    }
    int Confirmacoes(const std::string& id) const {
        int patches = 0;
        for (const auto& r : servidor.Requisicoes()) {
            if (r.metodo == "PATCH" && r.caminho == "/api/pedidos/" + id + "/erp-registro")
                ++patches;
        }
        return patches;
    }
};

TEST_F(RespostasApiExecucaoTest, MarcaDeOrdemDeBytesNaFrenteDaRespostaEhIgnorada) {
    const std::string pedido = Pedido("com-marca", R"("valor_produtos":10)");
    Estado({pedido});
    servidor.DefinirRegra(
        {.metodo = "GET",
         .caminho = "/api/pedidos",
         .corpo = std::string(kMarcaOrdemBytes) + R"({"success":true,"data":[)" + pedido + "]}"});
    servidor.DefinirRegra(
        {.metodo = "GET",
         .caminho = "/api/pedidos/com-marca",
         .tipoConteudo = "application/json",
         .corpo = std::string(kMarcaOrdemBytes) + R"({"success":true,"data":)" + pedido + "}"});
    Executar();
    EXPECT_THAT(painel.linhas,
                ElementsAre("Iniciando processamento...", "Lendo pedido: com-marca",
                            "Pedido incluído no sistema.", "Encerrando processamento..."));
    EXPECT_EQ(Operacoes("com-marca"), "1");
    EXPECT_EQ(Confirmacoes("com-marca"), 1);
}

TEST_F(RespostasApiExecucaoTest, ValorQueOErpNaoComportaRecusaSoAquelePedido) {
    Estado({Pedido("grande", R"("valor_produtos":9e14,"valor_ipi":9e14)"),
            Pedido("normal", R"("valor_produtos":10)")});
    Executar();
    EXPECT_THAT(
        painel.linhas,
        ElementsAre("Iniciando processamento...", "Lendo pedido: grande",
                    "Erro na leitura do pedido: grande Erro: Valor de \"valor_ipi\" fora do "
                    "limite do ERP: 900000000000000",
                    "Lendo pedido: normal", "Pedido incluído no sistema.",
                    "Encerrando processamento..."));
    EXPECT_EQ(Operacoes("grande"), "0");
    EXPECT_EQ(Confirmacoes("grande"), 0);
    EXPECT_EQ(Operacoes("normal"), "1");
}

}  // namespace
}  // namespace tessora::app
