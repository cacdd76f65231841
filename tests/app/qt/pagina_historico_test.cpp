// The history page and the tray icon after real runs in a temporary ERP installation.
#include "app/qt/pagina_historico.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
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
#include <sstream>

#include "janela_roteirizada.h"
#include "pasta_temporaria.h"

namespace tessora::qt {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class PaginaHistoricoTest : public testes::JanelaRoteirizadaTest {
  protected:
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
    std::vector<std::string> Execucoes(const char* pagina = "tsHistorico") const {
        std::vector<std::string> contagens;
        for (const auto& linha : Linhas(Achar<QTableView>("grdExecucoes", pagina))) {
            // Start and end vary; origin, outcome and counts do not.
            QStringList celulas = QString::fromStdString(linha).split('|');
            contagens.push_back(celulas.mid(2).join('|').toStdString());
        }
        return contagens;
    }
    std::vector<std::string> Pedidos(const char* pagina = "tsHistorico") const {
        return Linhas(Achar<QTableView>("grdPedidos", pagina));
    }
};

const char* const kIncluido101 =
    "101|incluído|0|7|5007|Mercearia Santa Luzia (44.778.899/0001-43)|Pedido incluído no sistema.";
const char* const kFalha102 =
    "102|não incluído|1||||Não foi possível incluir o pedido: 102 no sistema";
const char* const kIncluido103 = "103|incluído|0||||Pedido incluído no sistema.";

TEST_F(PaginaHistoricoTest, ExecucoesEPedidosComFiltroPesquisaEExportacao) {
    const auto* paginas = Achar<QTabWidget>("pcPrincipal");
    ASSERT_EQ(paginas->count(), 2);
    EXPECT_EQ(paginas->tabText(1), "2. Histórico");
    EXPECT_EQ(Achar<QLabel>("lblSituacaoHistorico", "tsHistorico")->text(),
              "Nenhuma execução registrada.");
    EXPECT_TRUE(Execucoes().empty());

    using enum importacao::DesfechoImportacao;
    pedidos.resultados = {{"101",
                           {Incluido,
                            {},
                            importacao::OperacaoGravada{7, 5007, true},
                            "Mercearia Santa Luzia (44.778.899/0001-43)"}},
                          {"102", {CabecalhoRecusado}},
                          {"103", {Incluido}}};
    Sincronizar({"101", "102"});
    auto* bandeja = Achar<QSystemTrayIcon>("TrayIcon1");
    EXPECT_THAT(bandeja->toolTip().toStdString(),
                HasSubstr("\n2 pedidos processados, 1 com falha"));
    Sincronizar({"103"});
    EXPECT_THAT(bandeja->toolTip().toStdString(), HasSubstr("\n1 pedido processado"));
    EXPECT_EQ(Achar<QLabel>("lblSituacaoHistorico", "tsHistorico")->text(), "");

    // Newest first, and the newest selected.
    EXPECT_EQ(Execucoes(),
              (std::vector<std::string>{"botão|normal|0|1|0|0", "botão|normal|1|1|0|0"}));
    EXPECT_EQ(Pedidos(), std::vector<std::string>{kIncluido103});
    auto* execucoes = Achar<QTableView>("grdExecucoes", "tsHistorico");
    execucoes->selectRow(1);
    EXPECT_EQ(Pedidos(), (std::vector<std::string>{kIncluido101, kFalha102}));

    auto* somenteFalhas = Achar<QCheckBox>("ckbFalhasEAvisos", "tsHistorico");
    auto* pesquisa = Achar<QLineEdit>("edtPesquisaPedido", "tsHistorico");
    const struct {
        bool falhas;
        const char* pedido;
        std::vector<std::string> execucoes;
        std::vector<std::string> pedidos;  // of the run selected
    } casos[] = {
        {true, "", {"botão|normal|1|1|0|0"}, {kFalha102}},
        {false, "103", {"botão|normal|0|1|0|0"}, {kIncluido103}},
        {false, "10", {"botão|normal|0|1|0|0", "botão|normal|1|1|0|0"}, {kIncluido103}},
        {true, "101", {}, {}},
        // The ERP's number, the customer's name or document.
        {false, "5007", {"botão|normal|1|1|0|0"}, {kIncluido101}},
        {false, "santa luzia", {"botão|normal|1|1|0|0"}, {kIncluido101}},
        {false, "44.778", {"botão|normal|1|1|0|0"}, {kIncluido101}},
        {true, "10", {"botão|normal|1|1|0|0"}, {kFalha102}},
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
    Achar<QPushButton>("btnExportarCsv", "tsHistorico")->click();
    std::ifstream entrada(arquivo, std::ios::binary);
    std::stringstream conteudo;
    conteudo << entrada.rdbuf();
    const std::string csv = conteudo.str();
    // For a spreadsheet: its byte order mark, ";", the page's labels.
    EXPECT_THAT(csv, StartsWith("\xEF\xBB\xBFInício;Término;Origem;Desfecho da execução;"));
    EXPECT_THAT(csv, HasSubstr(";botão;normal;;102;não incluído;1;;;;Não foi possível incluir o "
                               "pedido: 102 no sistema;\r\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << csv;
    EXPECT_TRUE(avisos.mensagens.empty());
}

TEST_F(PaginaHistoricoTest, JanelaPropriaRedimensionavelAcompanhaAsExecucoes) {
    using enum importacao::DesfechoImportacao;
    pedidos.resultados = {{"101", {Incluido}}, {"102", {CabecalhoRecusado}}};
    Sincronizar({"101", "102"});
    auto* frmHistorico = Achar<QWidget>("frmHistorico");
    ASSERT_NE(frmHistorico, nullptr);
    EXPECT_FALSE(frmHistorico->isVisible());

    Achar<QPushButton>("btnAbrirJanelaHistorico", "tsHistorico")->click();
    EXPECT_TRUE(frmHistorico->isVisible());
    EXPECT_TRUE(frmHistorico->isWindow());
    EXPECT_EQ(frmHistorico->windowTitle(), "Histórico - tessora Service");
    EXPECT_EQ(frmHistorico->findChild<QPushButton*>("btnAbrirJanelaHistorico"), nullptr);
    EXPECT_EQ(Execucoes("frmHistorico"), std::vector<std::string>{"botão|normal|1|1|0|0"});
    EXPECT_EQ(Pedidos("frmHistorico").size(), 2u);

    // Its lists follow its size, the last column taking what is left.
    auto* grade = Achar<QTableView>("grdPedidos", "frmHistorico");
    frmHistorico->resize(700, 400);
    QApplication::processEvents();
    const int estreita = grade->width();
    frmHistorico->resize(1300, 700);
    QApplication::processEvents();
    EXPECT_GE(grade->width(), estreita + 550);
    const QHeaderView* colunas = grade->horizontalHeader();
    EXPECT_EQ(
        colunas->sectionPosition(colunas->count() - 1) + colunas->sectionSize(colunas->count() - 1),
        colunas->width());

    // Read again after a run while it is open.
    pedidos.resultados["103"] = {Incluido};
    Sincronizar({"103"});
    EXPECT_EQ(Execucoes("frmHistorico"),
              (std::vector<std::string>{"botão|normal|0|1|0|0", "botão|normal|1|1|0|0"}));
    frmHistorico->close();
    EXPECT_FALSE(frmHistorico->isVisible());
}

}  // namespace
}  // namespace tessora::qt
