// Two copies of the program, each in an ERP installation of its own (own data folder, so
// each holds its own lock file), reach one database through a Firebird server of the test's
// own, share one API and run at the same time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "api_substituta.h"
#include "arquivos_teste.h"
#include "db/consulta.h"
#include "instalacao_erp_teste.h"
#include "script_sql.h"
#include "servidor_firebird.h"

namespace tessora::app {
namespace {

using namespace std::chrono_literals;

constexpr int kPedidos = 6;
// The later copy names the earlier one's process.
constexpr const char* kLinhaOutraCopia =
    "Outra cópia do programa está importando pedidos neste banco de dados \\(processo [0-9]+ em "
    "127\\.0\\.0\\.1/[0-9]+\\); o pedido fica para a próxima execução\\.";

std::string IdPedido(int n) { return "dup-" + std::to_string(n); }

// Every order names a customer of its own that the ERP does not know yet.
std::string ClienteNovo(int n) { return "cli-n" + std::to_string(n); }

std::string PedidoJson(int n) {
    return R"({"id":")" + IdPedido(n) +
           R"(","tipo":"Pedido","registrado_erp_em":null,"numero_seq":)" + std::to_string(n) +
           R"(,"cliente_id":")" + ClienteNovo(n) +
           R"(","vendedor_id":"vend-101","valor_produtos":"25.00",)" +
           R"("itens":[{"id_item":"i1","produto_id":"prod-501","quantidade":"2","valor_unitario":"12.5"}]})";
}

// `tessoraService --sincronizar` started at once; its log is read when it ends.
class Sincronizacao {
  public:
    explicit Sincronizacao(const std::filesystem::path& executavel)
        : saida_(popen(("'" + executavel.string() + "' --sincronizar 2>&1").c_str(), "r")) {}

    // The log lines without their time stamp; the exit status.
    std::vector<std::string> Concluir(int& codigo) {
        std::vector<std::string> linhas;
        std::array<char, 4096> linha;
        while (fgets(linha.data(), linha.size(), saida_)) {
            std::string texto(linha.data());
            if (!texto.empty() && texto.back() == '\n') texto.pop_back();
            linhas.push_back(texto.size() > 22 ? texto.substr(22) : texto);
        }
        codigo = WEXITSTATUS(pclose(saida_));
        return linhas;
    }

  private:
    FILE* saida_;
};

class DuasCopiasTest : public ::testing::Test {
  protected:
    const testes::ServidorFirebirdTeste firebird;
    const std::string banco = firebird.NomeBanco("erp.fdb");
    testes::InstalacaoErpTeste copias[2];
    std::string estado;
    std::unique_ptr<testes::ApiSubstituta> servidor;

    void SetUp() override {
        ferramentas::CriarBancoErp(banco, {testes::PastaFontes() / "erp/esquema.sql",
                                           testes::PastaFontes() / "erp/semente.sql"});

        std::string pedidos;
        for (int n = 1; n <= kPedidos; ++n) pedidos += (n > 1 ? "," : "") + PedidoJson(n);
        estado = R"({"token":"token-demonstracao","pedidos":[)" + pedidos + "]}";
        servidor = std::make_unique<testes::ApiSubstituta>(estado);
        // Both copies list every order whatever the other acknowledged, and a new customer takes
        // a while to arrive while its order's transaction holds the lock: the imports of the two
        // copies overlap.
        servidor->DefinirRegra({.metodo = "GET",
                                .caminho = "/api/pedidos",
                                .corpo = R"({"success":true,"data":[)" + pedidos + "]}"});
        for (int n = 1; n <= kPedidos; ++n) {
            servidor->DefinirRegra(
                {.metodo = "GET",
                 .caminho = "/api/clientes/" + ClienteNovo(n),
                 .corpo = R"({"success":true,"data":{"id":")" + ClienteNovo(n) +
                          R"(","razao_social":"Cliente Novo Ltda","cnpj":"10.000.000/0001-01",)" +
                          R"("cep":"80020-310","rua":"Rua XV","numero":"1","bairro":"Centro",)" +
                          R"("cidade":"Curitiba","uf":"PR","responsavel":"Ana",)" +
                          R"("email":"ana@cliente.example"}})",
                 .atraso = 400ms});
        }
        for (const auto& copia : copias) {
            std::filesystem::copy_file(TESSORA_DIR_BUILD "/app/tessoraService", copia.Executavel());
            testes::GravarArquivo(copia.PastaPrograma() / "tessoraService.ini",
                                  "[AppForcaVendas]\r\nUrlBaseApi=" + servidor->UrlBase() +
                                      "\r\nArquivoCertificados=" + servidor->ArquivoCertificado() +
                                      "\r\n");
            // The port goes with the host, as an ERP installation names a server on another port.
            copia.DefinirBanco(firebird.Host(), firebird.PastaDados().string() + "/", "erp.fdb");
        }
    }

    // Waits until some copy asked for that order's new customer: it is inside that order.
    bool AguardarCliente(int n) const {
        for (auto prazo = std::chrono::steady_clock::now() + 60s;
             std::chrono::steady_clock::now() < prazo; std::this_thread::sleep_for(20ms)) {
            for (const auto& requisicao : servidor->Requisicoes()) {
                if (requisicao.caminho == "/api/clientes/" + ClienteNovo(n)) return true;
            }
        }
        return false;
    }

    int Contar(const std::string& deOnde) const {
        db::ConexaoErp conexao(banco);
        conexao.Abrir();
        db::Consulta consulta(conexao);
        db::AbrirConsulta(consulta, "select count(*) as N from " + deOnde);
        return std::stoi(consulta.Valor("N").value());
    }
};

TEST_F(DuasCopiasTest, NenhumPedidoImportadoDuasVezes) {
    // An ERP user edits the parameters throughout, without saving: neither copy minds, and the
    // edit is saved at the end without a conflict.
    db::ConexaoErp erp(banco);
    erp.Abrir();
    db::Consulta edicao(erp);
    const auto editar = [&] {
        db::ExecutarComando(edicao,
                            "update TAB_PARAMETRO set ST_SINCRONIZAR_APP_FORCA_VENDA = 'S' where "
                            "ID_PARAMETRO = 1",
                            db::Confirmacao::Nenhuma);
    };
    editar();

    Sincronizacao primeira(copias[0].Executavel());
    // The second starts while the first is inside its first order, with five more to go: on a
    // busy machine, two copies started together may not overlap at all.
    ASSERT_TRUE(AguardarCliente(1));
    Sincronizacao segunda(copias[1].Executavel());
    int codigos[2];
    const std::vector<std::string> logs[2] = {primeira.Concluir(codigos[0]),
                                              segunda.Concluir(codigos[1])};

    int deixados = 0;
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(::testing::PrintToString(logs[c]));
        EXPECT_EQ(codigos[c], 0);
        // Every order read ends in one of the outcomes of a sound import.
        for (size_t i = 0; i < logs[c].size(); ++i) {
            if (!logs[c][i].starts_with("Lendo pedido: ")) continue;
            ASSERT_LT(i + 1, logs[c].size());
            EXPECT_THAT(
                logs[c][i + 1],
                ::testing::AnyOf("Pedido incluído no sistema.", "Pedido já incluído no sistema.",
                                 ::testing::MatchesRegex(kLinhaOutraCopia)));
            if (::testing::Value(logs[c][i + 1], ::testing::MatchesRegex(kLinhaOutraCopia))) {
                ++deixados;
            }
        }
    }
    EXPECT_GT(deixados, 0);

    // The orders left behind come in with the next run.
    int codigo = 0;
    Sincronizacao(copias[1].Executavel()).Concluir(codigo);
    EXPECT_EQ(codigo, 0);
    for (int n = 1; n <= kPedidos; ++n) {
        EXPECT_EQ(Contar("MOV_NF_COMERCIO where ID_APP_FORCA_VENDA = '" + IdPedido(n) + "'"), 1)
            << IdPedido(n);
    }
    for (int n = 1; n <= kPedidos; ++n) {
        EXPECT_EQ(Contar("CAD_PESSOA where ID_APP_FORCA_VENDA = '" + ClienteNovo(n) + "'"), 1)
            << ClienteNovo(n);
    }
    EXPECT_EQ(Contar("MOV_NF_COMERCIO_ITEM"), kPedidos);
    editar();
    EXPECT_NO_THROW(erp.Confirmar());
}

}  // namespace
}  // namespace tessora::app
