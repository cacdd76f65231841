#include "app/qt/pagina_historico.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <exception>
#include <fstream>
#include <optional>

#include "app/historico/formatos_historico.h"

namespace tessora::qt {

namespace {
// Enough to see the last days of automatic runs; older ones are found by the search.
constexpr int64_t kExecucoesMostradas = 500;

QTableView* Grade(QWidget* pai, const char* nome, QAbstractItemModel& modelo, QRect geometria) {
    auto* grade = new QTableView(pai);
    grade->setObjectName(nome);
    grade->setGeometry(geometria);
    grade->setModel(&modelo);
    grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    grade->setSelectionMode(QAbstractItemView::SingleSelection);
    grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grade->setWordWrap(false);
    grade->verticalHeader()->hide();
    grade->verticalHeader()->setDefaultSectionSize(20);
    grade->horizontalHeader()->setStretchLastSection(true);
    grade->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return grade;
}
}  // namespace

PaginaHistorico::PaginaHistorico(std::filesystem::path arquivoHistorico, Avisos& avisos,
                                 QWidget* parent)
    : QWidget(parent), arquivoHistorico_(std::move(arquivoHistorico)), avisos_(avisos) {
    ckbSomenteFalhas = new QCheckBox("Somente falhas", this);
    ckbSomenteFalhas->setObjectName("ckbSomenteFalhas");
    ckbSomenteFalhas->setGeometry(10, 6, 130, 22);
    lblPesquisaPedido = new QLabel("Pedido:", this);
    lblPesquisaPedido->setObjectName("lblPesquisaPedido");
    lblPesquisaPedido->setGeometry(150, 8, 50, 18);
    edtPesquisaPedido = new QLineEdit(this);
    edtPesquisaPedido->setObjectName("edtPesquisaPedido");
    edtPesquisaPedido->setGeometry(202, 6, 160, 22);
    edtPesquisaPedido->setPlaceholderText("id do pedido no APP");
    edtPesquisaPedido->setClearButtonEnabled(true);
    btnExportarCsv = new QPushButton("Exportar CSV...", this);
    btnExportarCsv->setObjectName("btnExportarCsv");
    btnExportarCsv->setGeometry(458, 3, 120, 28);

    grdExecucoes = Grade(this, "grdExecucoes", execucoes_, {10, 34, 568, 100});
    grdPedidos = Grade(this, "grdPedidos", pedidos_, {10, 138, 568, 92});
    lblSituacaoHistorico = new QLabel(this);
    lblSituacaoHistorico->setObjectName("lblSituacaoHistorico");
    lblSituacaoHistorico->setGeometry(10, 232, 568, 18);

    connect(ckbSomenteFalhas, &QCheckBox::toggled, this, &PaginaHistorico::Atualizar);
    connect(edtPesquisaPedido, &QLineEdit::textChanged, this, &PaginaHistorico::Atualizar);
    connect(btnExportarCsv, &QPushButton::clicked, this, &PaginaHistorico::btnExportarCsvClick);
    connect(grdExecucoes->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& atual) { MostrarPedidosDaExecucao(atual.row()); });
}

void PaginaHistorico::Atualizar() {
    // Whoever looks at the newest run goes on to the newest after a new one.
    const QModelIndex atual = grdExecucoes->currentIndex();
    const std::optional<int64_t> selecionada =
        atual.isValid() && atual.row() > 0 ? std::optional(execucoes_.Execucao(atual.row()).id)
                                           : std::nullopt;

    std::vector<app::ExecucaoRegistrada> lista;
    QString situacao;
    if (!std::filesystem::exists(arquivoHistorico_)) {
        situacao = "Nenhuma execução registrada.";
    } else {
        try {
            lista = app::LeituraHistorico(arquivoHistorico_)
                        .Execucoes({.soFalhas = ckbSomenteFalhas->isChecked(),
                                    .pedido = edtPesquisaPedido->text().trimmed().toStdString(),
                                    .ultimas = kExecucoesMostradas});
        } catch (const std::exception& e) {
            situacao = QString::fromStdString("Histórico indisponível: " + std::string(e.what()));
        }
    }
    lblSituacaoHistorico->setText(situacao);
    execucoes_.Definir(std::move(lista));

    const int linha = selecionada ? execucoes_.Linha(*selecionada) : -1;
    if (execucoes_.rowCount() > 0) {
        grdExecucoes->selectRow(linha >= 0 ? linha : 0);
    } else {
        pedidos_.Definir({});
    }
}

void PaginaHistorico::MostrarPedidosDaExecucao(int linha) {
    pedidos_.Definir(linha >= 0 && linha < execucoes_.rowCount()
                         ? execucoes_.Execucao(linha).pedidos
                         : std::vector<app::PedidoRegistrado>{});
}

void PaginaHistorico::ExportarCsv(const QString& arquivo) {
    std::ofstream saida(std::filesystem::path(arquivo.toStdU16String()), std::ios::binary);
    if (saida) app::EscreverHistoricoCsv(execucoes_.Execucoes(), saida);
    if (saida.flush()) return;
    avisos_.MostrarMensagem("Não foi possível gravar o arquivo " + arquivo.toStdString() + ".",
                            kTituloPrograma, IconeAviso::Erro);
}

void PaginaHistorico::btnExportarCsvClick() {
    const QString arquivo = QFileDialog::getSaveFileName(
        this, "Exportar histórico", "historico.csv", "Arquivos CSV (*.csv);;Todos (*)");
    if (!arquivo.isEmpty()) ExportarCsv(arquivo);
}

}  // namespace tessora::qt
