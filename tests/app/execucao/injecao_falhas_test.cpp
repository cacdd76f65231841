// Synchronisation runs against an API that fails a fixed-seed random share of its answers and a
// database that refuses some item inserts for good and, now and then, a header insert or an item
// key, while new orders keep arriving between the runs. Whatever fails along the way, in the end
// every order is in the ERP exactly once, with all its items or marked for each missing one, every
// new customer is registered at most once, and every order is acknowledged.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "api/json_consulta.h"
#include "api/json_leitura.h"
#include "api_substituta.h"
#include "app/configuracoes/leitura_configuracoes.h"
#include "app/execucao/execucao_sincronizacao.h"
#include "app/execucao/pedidos_via_api.h"
#include "app/historico/historico_execucoes.h"
#include "app/historico/leitura_historico.h"
#include "avisos_gravados.h"
#include "db/consulta.h"
#include "instalacao_erp_teste.h"

namespace tessora::app {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;

constexpr uint32_t kSementeDados = 4242;
constexpr uint64_t kSementeFalhas = 20240315;
constexpr int kPedidos = 30;
constexpr int kClientesNovos = 6;
constexpr int kExecucoesComFalhas = 20;
// Late answers come well after the client has given up on them.
constexpr auto kLimiteLeitura = 400ms;
constexpr auto kAtrasoRespostaTardia = 1000ms;

// Its invoice description does not fit the item's NM_PRODUTO, so every item insert that names it
// is refused by the database.
constexpr const char* kProdutoRecusado = "prod-666";
// Unknown to the ERP: written with the placeholder product, not refused.
constexpr const char* kProdutoDesconhecido = "prod-999";

struct ItemGerado {
    std::string idItem;
    std::string produto;
};

struct PedidoGerado {
    std::string id;
    std::string cliente;
    std::vector<ItemGerado> itens;
};

std::vector<PedidoGerado> GerarPedidos() {
    std::mt19937 gerador(kSementeDados);
    const auto sortear = [&gerador](uint32_t n) { return static_cast<uint32_t>(gerador() % n); };
    std::vector<PedidoGerado> pedidos;
    for (int i = 1; i <= kPedidos; ++i) {
        PedidoGerado pedido{"inj-" + std::to_string(i), "cli-2001", {}};
        if (sortear(3) != 0) pedido.cliente = "cli-n" + std::to_string(1 + sortear(kClientesNovos));
        const uint32_t itens = 1 + sortear(4);
        for (uint32_t n = 1; n <= itens; ++n) {
            const uint32_t sorte = sortear(10);
            const std::string produto = sorte < 2    ? kProdutoRecusado
                                        : sorte == 2 ? kProdutoDesconhecido
                                                     : "prod-50" + std::to_string(1 + sortear(4));
            pedido.itens.push_back({pedido.id + "-" + std::to_string(n), produto});
        }
        pedidos.push_back(std::move(pedido));
    }
    return pedidos;
}

std::string PedidoJson(const PedidoGerado& pedido, int numero) {
    std::string json =
        R"({"id":")" + pedido.id + R"(","tipo":"Pedido","registrado_erp_em":null,"numero_seq":)" +
        std::to_string(numero) + R"(,"created_at":"2024-03-15T14:32:05-03:00","cliente_id":")" +
        pedido.cliente + R"(","cliente_cnpj":"","vendedor_id":"vend-101","tipo_frete":"CIF",)" +
        R"("dias_validade":10,"valor_produtos":"100.00","valor_ipi":0,"valor_icms":0,)" +
        R"("anotacoes":[{"texto":"Pedido de teste"}],"itens":[)";
    for (size_t n = 0; n < pedido.itens.size(); ++n) {
        if (n > 0) json += ',';
        json += R"({"id_item":")" + pedido.itens[n].idItem + R"(","produto_id":")" +
                pedido.itens[n].produto +
                R"(","quantidade":"2","valor_unitario":"12.5","valor_produtos":"25.00","ipi":"0"})";
    }
    return json + "]}";
}

// Odd customers live in a city the ERP lacks, so their registration inserts it too.
std::string Cidade(int cliente) {
    return cliente % 2 ? "Cidade Nova " + std::to_string(cliente) : "Curitiba";
}

std::string ClienteJson(int cliente) {
    const std::string n = std::to_string(cliente);
    return R"({"id":"cli-n)" + n + R"(","razao_social":"Cliente Novo )" + n +
           R"( Ltda","cnpj":"10.000.000/0001-0)" + n +
           R"(","cep":"80020-310","rua":"Rua XV","numero":")" + n +
           R"(","bairro":"Centro","cidade":")" + Cidade(cliente) + R"(","uf":")" +
           (cliente % 2 ? "SP" : "PR") + R"(","responsavel":"Ana","email":"ana@cliente.example"})";
}

// No order yet: they are published run by run.
std::string EstadoInicial() {
    std::string json = R"({"token":"token-demonstracao","pedidos":[],"clientes":[)";
    for (int c = 1; c <= kClientesNovos; ++c) {
        if (c > 1) json += ',';
        json += ClienteJson(c);
    }
    return json + "]}";
}

// Counts the outcomes the runs logged.
class PainelContado : public PainelExecucao {
  public:
    void ExibirUltimaAtualizacao(const std::string&) override {}
    void LimparLog() override { linhas.clear(); }
    void AcrescentarLinhaLog(const std::string& linha) override {
        const std::string texto = linha.substr(22);  // without the time stamp
        linhas.push_back(texto);
        if (texto == "Pedido incluído no sistema.") ++incluidos;
        if (texto == "Pedido já incluído no sistema.") ++jaIncluidos;
        if (texto.starts_with("Não foi possível incluir o pedido: ")) ++naoIncluidos;
        if (texto.starts_with("Erro na leitura do pedido: ")) erros.push_back(texto);
    }

    std::vector<std::string> linhas;  // of the latest run
    int incluidos = 0, jaIncluidos = 0, naoIncluidos = 0;
    std::vector<std::string> erros;
};

class InjecaoFalhasTest : public ::testing::Test {
  protected:
    const std::vector<PedidoGerado> gerados = GerarPedidos();
    testes::InstalacaoErpTeste erp;
    testes::ApiSubstituta servidor{EstadoInicial()};
    size_t publicados = 0;
    testes::AvisosGravados avisos;
    PainelContado painel;
    PedidosViaApi pedidos;
    db::CaminhosAtualizacao caminhos;
    HistoricoExecucoes historico{LerConfiguracoes(erp.Executavel()).historico};

    void SetUp() override {
        const auto& banco = erp.Banco();
        banco.Executar("alter table CAD_PRODUTO alter DS_PRODUTO_NF type varchar(300)");
        banco.Executar(
            "insert into CAD_PRODUTO (ID_PRODUTO, CD_PRODUTO, NM_PRODUTO, DS_PRODUTO_NF, "
            "ID_APP_FORCA_VENDA) "
            "values (66, '1066', 'Produto de descricao longa', '" +
            std::string(200, 'D') + "', '" + kProdutoRecusado + "')");
        // Transient failures: keys come from generators that never go back, so a retried order
        // meets other keys. A refused header undoes the order ("ERRO"); a failed item key
        // raises after the header and some items were written, and undoes them too.
        banco.Executar("create exception E_FALHA_INJETADA 'falha injetada'");
        banco.Executar(
            "create trigger TG_FALHA_CABECALHO for MOV_NF_COMERCIO before insert as begin "
            "if (mod(new.ID_NF_COMERCIO, 7) = 3) then exception E_FALHA_INJETADA; end");
        banco.Executar(
            "alter procedure SP_GEN_MOV_NF_COMERCIO_ITEM_ID returns (ID integer) as begin "
            "ID = gen_id(GEN_MOV_NF_COMERCIO_ITEM_ID, 1); "
            "if (mod(ID, 13) = 0) then exception E_FALHA_INJETADA; end");
    }

    // Appends the next orders to the API's live state, keeping what the runs changed there.
    void Publicar(size_t ate) {
        std::string estado = servidor.LerEstado();
        std::string novos;
        for (; publicados < std::min(ate, gerados.size()); ++publicados) {
            if (publicados > 0) novos += ',';
            novos += PedidoJson(gerados[publicados], 5000 + static_cast<int>(publicados));
        }
        estado.insert(estado.find(R"(],"clientes":[)"), novos);
        servidor.DefinirEstado(estado);
    }

    void Executar() {
        const AmbienteExecucao ambiente{
            erp.Executavel(),
            {servidor.UrlBase(), servidor.ArquivoCertificado(), kLimiteLeitura},
            avisos,
            painel,
            pedidos,
            caminhos,
            OrigemExecucao::Temporizador,
            &historico};
        // A listing that could not be had is one of the injected faults: only what the run
        // wrote counts here, and that no error left it.
        EXPECT_TRUE(ProcessarAppForcaVenda(ambiente).fim.has_value());
    }
};

// One value of a query on a connection kept open for all the checks.
class Leitor {
  public:
    explicit Leitor(const std::string& banco) : conexao_(banco) { conexao_.Abrir(); }
    ~Leitor() { conexao_.Fechar(); }
    std::string Ler(const std::string& comando, const std::string& coluna) {
        db::Consulta consulta(conexao_);
        db::AbrirConsulta(consulta, comando);
        return consulta.Valor(coluna).value_or("<null>");
    }
    int Contar(const std::string& deOnde) {
        return std::stoi(Ler("select count(*) as N from " + deOnde, "N"));
    }

  private:
    db::ConexaoErp conexao_;
};

int Ocorrencias(const std::string& texto, const std::string& trecho) {
    int n = 0;
    for (size_t p = texto.find(trecho); p != std::string::npos; p = texto.find(trecho, p + 1)) ++n;
    return n;
}

// The orders the API still holds without "registrado_erp_em".
std::vector<std::string> NaoConfirmados(const std::string& estado) {
    const auto documento = LerRespostaJson(estado);
    const JsonValor* lista = JsonValorPorNome(documento, "pedidos");
    std::vector<std::string> ids;
    for (const JsonValor& pedido : *lista->ComoLista()) {
        if (JsonTextoPorNome(pedido.ComoObjeto(), "registrado_erp_em").empty()) {
            ids.push_back(JsonTextoPorNome(pedido.ComoObjeto(), "id"));
        }
    }
    return ids;
}

TEST_F(InjecaoFalhasTest, NadaDuplicadoNemPerdidoComFalhasDaApiEDoBanco) {
    servidor.DefinirFalhas({kSementeFalhas, 30, kAtrasoRespostaTardia});
    for (int execucao = 0; execucao < kExecucoesComFalhas; ++execucao) {
        Publicar(4 + 2 * execucao);
        Executar();
    }
    ASSERT_EQ(publicados, gerados.size());
    // The failures reached every path: orders left out, and orders whose acknowledgement was lost
    // found again in the ERP and only acknowledged.
    EXPECT_GT(painel.naoIncluidos, 0);
    EXPECT_GT(painel.jaIncluidos, 0);

    servidor.DefinirFalhas({});
    Executar();
    Executar();
    EXPECT_EQ(painel.linhas, (std::vector<std::string>{"Iniciando processamento...",
                                                       "Nenhum novo pedido encontrado.",
                                                       "Encerrando processamento..."}));
    // Only the failed item keys escape as errors of their order; no API failure does.
    EXPECT_FALSE(painel.erros.empty());
    for (const std::string& erro : painel.erros) EXPECT_THAT(erro, HasSubstr("falha injetada"));
    EXPECT_EQ(painel.incluidos, kPedidos);
    EXPECT_THAT(NaoConfirmados(servidor.LerEstado()), ::testing::IsEmpty());

    Leitor leitor(erp.Banco().Nome());
    EXPECT_EQ(leitor.Contar("MOV_NF_COMERCIO"), kPedidos);
    int itensRecusados = 0;
    for (const PedidoGerado& pedido : gerados) {
        SCOPED_TRACE(pedido.id);
        const std::string doPedido =
            "MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = '" + pedido.id + "'";
        ASSERT_EQ(leitor.Contar(doPedido), 1);
        const std::string operacao =
            leitor.Ler("select ID_NF_COMERCIO from " + doPedido, "ID_NF_COMERCIO");
        const std::string status = leitor.Ler("select ID_ST_NF from " + doPedido, "ID_ST_NF");
        const std::string notas =
            leitor.Ler("select TX_USO_INTERNO from " + doPedido, "TX_USO_INTERNO");
        EXPECT_EQ(Ocorrencias(notas, "Pedido capturado do APP em "), 1) << notas;

        int gravados = 0;
        for (size_t n = 0; n < pedido.itens.size(); ++n) {
            const ItemGerado& item = pedido.itens[n];
            const int linhas =
                leitor.Contar("MOV_NF_COMERCIO_ITEM where ID_NF_COMERCIO = " + operacao +
                              " and NO_ITEM = " + std::to_string(n + 1));
            const int marcas = Ocorrencias(notas, "Item " + item.idItem + " do APP não incluído: ");
            if (item.produto == kProdutoRecusado) {
                ++itensRecusados;
                EXPECT_EQ(linhas, 0) << item.idItem;
                EXPECT_EQ(marcas, 1) << item.idItem << ": " << notas;
                EXPECT_EQ(status, "1");
            } else {
                EXPECT_EQ(linhas, 1) << item.idItem;
                EXPECT_EQ(marcas, 0) << item.idItem;
                ++gravados;
            }
        }
        EXPECT_EQ(leitor.Contar("MOV_NF_COMERCIO_ITEM where ID_NF_COMERCIO = " + operacao),
                  gravados);

        // The customer, or the company with the operation marked when the customer's answer failed.
        const std::string destinatario = leitor.Ler(
            "select ID_DESTINATARIO_REMETENTE from " + doPedido, "ID_DESTINATARIO_REMETENTE");
        const std::string cliente = leitor.Ler(
            "select ID_PESSOA from CAD_PESSOA where ID_APP_FORCA_VENDA = '" + pedido.cliente + "'",
            "ID_PESSOA");
        if (destinatario != cliente) {
            EXPECT_EQ(destinatario, "1");
            EXPECT_EQ(status, "1");
        }
    }
    EXPECT_GT(itensRecusados, 0);

    for (int c = 1; c <= kClientesNovos; ++c) {
        EXPECT_LE(
            leitor.Contar("CAD_PESSOA where ID_APP_FORCA_VENDA = 'cli-n" + std::to_string(c) + "'"),
            1)
            << c;
        EXPECT_LE(leitor.Contar("TAB_CIDADE where NM_CIDADE = '" + Cidade(c) + "'"), 1) << c;
    }

    // The history saw every run and every outcome the log told, and no order is left failing.
    LeituraHistorico historicoLido(ObterArquivoHistorico(erp.Executavel()));
    const auto execucoes = historicoLido.Execucoes({});
    EXPECT_EQ(execucoes.size(), kExecucoesComFalhas + 2u);
    int64_t incluidos = 0, jaIncluidos = 0, naoIncluidos = 0, erros = 0;
    for (const ExecucaoRegistrada& e : execucoes) {
        EXPECT_TRUE(e.termino) << e.id;
        incluidos += e.incluidos;
        jaIncluidos += e.jaIncluidos;
        naoIncluidos += e.naoIncluidos;
        erros += e.erros;
    }
    EXPECT_EQ(incluidos, painel.incluidos);
    EXPECT_EQ(jaIncluidos, painel.jaIncluidos);
    EXPECT_EQ(naoIncluidos, painel.naoIncluidos);
    EXPECT_EQ(erros, static_cast<int64_t>(painel.erros.size()));
    EXPECT_THAT(historicoLido.PedidosEmFalha(), ::testing::IsEmpty());
}

}  // namespace
}  // namespace tessora::app
