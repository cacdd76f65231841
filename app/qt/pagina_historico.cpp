#include "app/qt/pagina_historico.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <optional>
#include <utility>

#include "app/apresentacao/textos_janela.h"

namespace tessora::qt {

PaginaHistorico::PaginaHistorico(std::filesystem::path arquivoHistorico, Avisos& avisos,
                                 std::function<void()> abrirJanela, QWidget* parent)
    : QWidget(parent),
      avisos_(avisos),
      apresentacao_(app::LeituraDoArquivo(std::move(arquivoHistorico))),
      execucoes_(app::kColunasExecucao, app::kPrimeiraContagemExecucao, apresentacao_.Execucoes()),
      pedidos_(app::kColunasPedido, app::kPrimeiraContagemPedido, apresentacao_.Pedidos()) {
    ckbFalhasEAvisos = new QCheckBox(app::kFalhasEAvisos, this);
    ckbFalhasEAvisos->setObjectName("ckbFalhasEAvisos");
    lblPesquisaPedido = new QLabel(app::kRotuloPesquisa, this);
    lblPesquisaPedido->setObjectName("lblPesquisaPedido");
    edtPesquisaPedido = new QLineEdit(this);
    edtPesquisaPedido->setObjectName("edtPesquisaPedido");
    edtPesquisaPedido->setFixedWidth(190);
    edtPesquisaPedido->setPlaceholderText(app::kDicaPesquisa);
    edtPesquisaPedido->setClearButtonEnabled(true);
    lblPesquisaPedido->setBuddy(edtPesquisaPedido);
    btnExportarCsv = new QPushButton(app::kExportarCsv, this);
    btnExportarCsv->setObjectName("btnExportarCsv");
    grdExecucoes = NovaGrade(this, "grdExecucoes", execucoes_);
    grdPedidos = NovaGrade(this, "grdPedidos", pedidos_);
    lblSituacaoHistorico = new QLabel(this);
    lblSituacaoHistorico->setObjectName("lblSituacaoHistorico");

    auto* filtro = new QHBoxLayout;
    filtro->addWidget(ckbFalhasEAvisos);
    filtro->addSpacing(10);
    filtro->addWidget(lblPesquisaPedido);
    filtro->addWidget(edtPesquisaPedido);
    filtro->addStretch();
    filtro->addWidget(btnExportarCsv);
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(lblSituacaoHistorico, 1);
    if (abrirJanela) {
        btnAbrirJanelaHistorico = new QPushButton(app::kAbrirJanelaHistorico, this);
        btnAbrirJanelaHistorico->setObjectName("btnAbrirJanelaHistorico");
        rodape->addWidget(btnAbrirJanelaHistorico);
        connect(btnAbrirJanelaHistorico, &QPushButton::clicked, this, std::move(abrirJanela));
    }
    auto* pagina = new QVBoxLayout(this);
    pagina->setContentsMargins(10, 4, 10, 2);
    pagina->setSpacing(4);
    pagina->addLayout(filtro);
    pagina->addWidget(grdExecucoes, 1);
    pagina->addWidget(grdPedidos, 1);
    pagina->addLayout(rodape);

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
