// The history page and the tray icon after real runs in a temporary ERP installation.
#include "app/qt/pagina_historico.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "aplicacao_qt.h"
#include "app/qt/frm_principal.h"
#include "avisos_gravados.h"
#include "instalacao_erp_teste.h"
#include "pasta_temporaria.h"

namespace tessora::qt {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Lists the orders the test sets and imports each with the result the test gave it.
class PedidosRoteirizados : public app::PedidosAppForcaVenda {
  public:
    api::ListagemPedidos ListarPedidosNovos(app::ContextoSincronizacao&) override { return lista; }
    importacao::ResultadoImportacao ImportarPedido(app::ContextoSincronizacao&,
                                                   const std::string& id,
                                                   const importacao::DocumentoPedido&) override {
        return resultados.at(id);
    }

    std::vector<std::string> lista;
    std::map<std::string, importacao::ResultadoImportacao> resultados;
};

class PaginaHistoricoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testes::AplicacaoQt();
        erp.InstalarPrograma();
        janela = std::make_unique<TfrmPrincipal>(app::ServicoResidente::Opcoes{erp.Executavel()},
                                                 avisos, pedidos, true);
        ASSERT_TRUE(janela->FormCreate());
    }

    template <typename Controle>
    Controle* Achar(const char* nome) const {
        auto* controle = janela->findChild<Controle*>(nome);
        EXPECT_NE(controle, nullptr) << nome;
        return controle;
    }
    void Sincronizar(std::vector<std::string> lista) {
        pedidos.lista = std::move(lista);
        auto* botao = Achar<QPushButton>("btnForcarAtualizacaoAppForcaVenda");
        botao->click();
        ASSERT_TRUE(testes::Aguardar([&] { return botao->isEnabled(); }, std::chrono::seconds(60)));
    }
    // The rows of a grid, each as its cells joined by "|".
    static std::vector<std::string> Linhas(const QTableView* grade) {
        const QAbstractItemModel* modelo = grade->model();
        std::vector<std::string> linhas;
        for (int linha = 0; linha < modelo->rowCount(); ++linha) {
            QStringList celulas;
            for (int coluna = 0; coluna < modelo->columnCount(); ++coluna) {
                celulas << modelo->index(linha, coluna).data().toString();
            }
            linhas.push_back(celulas.join('|').toStdString());
        }
        return linhas;
    }
    // The counts columns of the runs shown and the orders of the selected one.
    std::vector<std::string> Execucoes() const {
        std::vector<std::string> contagens;
        for (const auto& linha : Linhas(Achar<QTableView>("grdExecucoes"))) {
            // Start and end vary; origin, outcome and counts do not.
            QStringList celulas = QString::fromStdString(linha).split('|');
            contagens.push_back(celulas.mid(2).join('|').toStdString());
        }
        return contagens;
    }
    std::vector<std::string> Pedidos() const { return Linhas(Achar<QTableView>("grdPedidos")); }

    testes::InstalacaoErpTeste erp;
    testes::AvisosGravados avisos;
    PedidosRoteirizados pedidos;
    std::unique_ptr<TfrmPrincipal> janela;
};

const char* const kIncluido101 = "101|incluido|0|7|5007|Pedido incluído no sistema.";
const char* const kFalha102 =
    "102|nao_incluido|1|||Não foi possível incluir o pedido: 102 no sistema";
const char* const kIncluido103 = "103|incluido|0|||Pedido incluído no sistema.";

TEST_F(PaginaHistoricoTest, ExecucoesEPedidosComFiltroPesquisaEExportacao) {
    const auto* paginas = Achar<QTabWidget>("pcPrincipal");
    ASSERT_EQ(paginas->count(), 2);
    EXPECT_EQ(paginas->tabText(1), "2. Histórico");
    EXPECT_EQ(Achar<QLabel>("lblSituacaoHistorico")->text(), "Nenhuma execução registrada.");
    EXPECT_TRUE(Execucoes().empty());

    using enum importacao::DesfechoImportacao;
    pedidos.resultados = {{"101", {Incluido, {}, importacao::OperacaoGravada{7, 5007, true}}},
                          {"102", {CabecalhoRecusado}},
                          {"103", {Incluido}}};
    Sincronizar({"101", "102"});
    auto* bandeja = Achar<QSystemTrayIcon>("TrayIcon1");
    EXPECT_THAT(bandeja->toolTip().toStdString(),
                HasSubstr("\n2 pedidos processados, 1 com falha"));
    Sincronizar({"103"});
    EXPECT_THAT(bandeja->toolTip().toStdString(), HasSubstr("\n1 pedido processado"));
    EXPECT_EQ(Achar<QLabel>("lblSituacaoHistorico")->text(), "");

    // Newest first, and the newest selected.
    EXPECT_EQ(Execucoes(),
              (std::vector<std::string>{"botao|normal|0|1|0|0", "botao|normal|1|1|0|0"}));
    EXPECT_EQ(Pedidos(), std::vector<std::string>{kIncluido103});
    auto* execucoes = Achar<QTableView>("grdExecucoes");
    execucoes->selectRow(1);
    EXPECT_EQ(Pedidos(), (std::vector<std::string>{kIncluido101, kFalha102}));

    auto* somenteFalhas = Achar<QCheckBox>("ckbFalhasEAvisos");
    auto* pesquisa = Achar<QLineEdit>("edtPesquisaPedido");
    const struct {
        bool falhas;
        const char* pedido;
        std::vector<std::string> execucoes;
        std::vector<std::string> pedidos;  // of the run selected
    } casos[] = {
        {true, "", {"botao|normal|1|1|0|0"}, {kFalha102}},
        {false, "103", {"botao|normal|0|1|0|0"}, {kIncluido103}},
        {false, "10", {"botao|normal|0|1|0|0", "botao|normal|1|1|0|0"}, {kIncluido103}},
        {true, "101", {}, {}},
        {true, "10", {"botao|normal|1|1|0|0"}, {kFalha102}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(std::string(caso.falhas ? "failures, " : "") + caso.pedido);
        somenteFalhas->setChecked(caso.falhas);
        pesquisa->setText(caso.pedido);
        EXPECT_EQ(Execucoes(), caso.execucoes);
        EXPECT_EQ(Pedidos(), caso.pedidos);
    }

    // What is shown goes to the file the operator chose.
    testes::PastaTemporaria pasta("tessora-csv");
    const auto arquivo = pasta.Caminho() / "falhas.csv";
    QTimer::singleShot(0, [&] {
        for (QWidget* janelaAberta : QApplication::topLevelWidgets()) {
            if (auto* dialogo = qobject_cast<QFileDialog*>(janelaAberta)) {
                dialogo->selectFile(QString::fromStdString(arquivo.string()));
                static_cast<QDialog*>(dialogo)->accept();  // as the Save button does
            }
        }
    });
    Achar<QPushButton>("btnExportarCsv")->click();
    std::ifstream entrada(arquivo, std::ios::binary);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    const std::string csv = conteudo.str();
    EXPECT_THAT(csv, StartsWith("execucao,origem,inicio,termino,desfecho_execucao,motivo,pedido,"));
    EXPECT_THAT(csv, HasSubstr(",botao,"));
    EXPECT_THAT(csv, HasSubstr(",normal,,102,nao_incluido,Não foi possível incluir o pedido: 102 "
                               "no sistema,,,,1,\r\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << csv;
    EXPECT_TRUE(avisos.mensagens.empty());
}

}  // namespace
}  // namespace tessora::qt
