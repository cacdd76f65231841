#include "app/qt/pagina_historico.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <optional>

#include "app/apresentacao/textos_janela.h"

namespace tessora::qt {

namespace {
QTableView* Grade(QWidget* pai, const char* nome, QAbstractItemModel& modelo, QRect geometria) {
    QTableView* grade = NovaGrade(pai, nome, modelo);
    grade->setGeometry(geometria);
    return grade;
}
}  // namespace

PaginaHistorico::PaginaHistorico(std::filesystem::path arquivoHistorico, Avisos& avisos,
                                 QWidget* parent)
    : QWidget(parent),
      avisos_(avisos),
      apresentacao_(app::LeituraDoArquivo(std::move(arquivoHistorico))),
      execucoes_(app::kColunasExecucao, app::kPrimeiraContagemExecucao, apresentacao_.Execucoes()),
      pedidos_(app::kColunasPedido, app::kPrimeiraContagemPedido, apresentacao_.Pedidos()) {
    ckbFalhasEAvisos = new QCheckBox(app::kFalhasEAvisos, this);
    ckbFalhasEAvisos->setObjectName("ckbFalhasEAvisos");
    ckbFalhasEAvisos->setGeometry(10, 6, 130, 22);
    lblPesquisaPedido = new QLabel(app::kRotuloPesquisaPedido, this);
    lblPesquisaPedido->setObjectName("lblPesquisaPedido");
    lblPesquisaPedido->setGeometry(150, 8, 50, 18);
    edtPesquisaPedido = new QLineEdit(this);
    edtPesquisaPedido->setObjectName("edtPesquisaPedido");
    edtPesquisaPedido->setGeometry(202, 6, 160, 22);
    edtPesquisaPedido->setPlaceholderText(app::kDicaPesquisaPedido);
    edtPesquisaPedido->setClearButtonEnabled(true);
    btnExportarCsv = new QPushButton(app::kExportarCsv, this);
    btnExportarCsv->setObjectName("btnExportarCsv");
    btnExportarCsv->setGeometry(458, 3, 120, 28);

    grdExecucoes = Grade(this, "grdExecucoes", execucoes_, {10, 34, 568, 100});
    grdPedidos = Grade(this, "grdPedidos", pedidos_, {10, 138, 568, 92});
    lblSituacaoHistorico = new QLabel(this);
    lblSituacaoHistorico->setObjectName("lblSituacaoHistorico");
    lblSituacaoHistorico->setGeometry(10, 232, 568, 18);

    connect(ckbFalhasEAvisos, &QCheckBox::toggled, this, [this](bool falhasEAvisos) {
        apresentacao_.DefinirFalhasEAvisos(falhasEAvisos);
        Atualizar();
    });
    connect(edtPesquisaPedido, &QLineEdit::textChanged, this, [this](const QString& texto) {
        apresentacao_.DefinirPesquisa(texto.toStdString());
        Atualizar();
    });
    connect(btnExportarCsv, &QPushButton::clicked, this, &PaginaHistorico::btnExportarCsvClick);
    connect(grdExecucoes->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PaginaHistorico::ExecucaoSelecionada);
}

void PaginaHistorico::Atualizar() {
    std::optional<size_t> linha;
    execucoes_.Mudar([&] { pedidos_.Mudar([&] { linha = apresentacao_.Atualizar(); }); });
    lblSituacaoHistorico->setText(QString::fromStdString(apresentacao_.Situacao()));
    if (linha) grdExecucoes->selectRow(static_cast<int>(*linha));
}

void PaginaHistorico::ExecucaoSelecionada(const QModelIndex& atual) {
    const auto linha =
        atual.isValid() ? std::optional(static_cast<size_t>(atual.row())) : std::nullopt;
    pedidos_.Mudar([&] { apresentacao_.Selecionar(linha); });
}

void PaginaHistorico::btnExportarCsvClick() {
    const QString arquivo = QFileDialog::getSaveFileName(
        this, app::kTituloExportacaoCsv, app::kArquivoExportacaoCsv,
        QString(app::kTipoArquivoCsv) + ";;" + app::kTipoTodosArquivos);
    if (arquivo.isEmpty()) return;
    if (const auto erro =
            apresentacao_.ExportarCsv(std::filesystem::path(arquivo.toStdU16String()))) {
        avisos_.MostrarMensagem(*erro, kTituloPrograma, IconeAviso::Erro);
    }
}

}  // namespace tessora::qt
