#include "app/qt/janela_pedidos_com_falha.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <optional>
#include <utility>

#include "app/qt/icone_programa.h"

namespace tessora::qt {

namespace {
QPushButton* Botao(QWidget* pai, const char* nome, const char* texto) {
    auto* botao = new QPushButton(QString::fromUtf8(texto), pai);
    botao->setObjectName(nome);
    return botao;
}
}  // namespace

JanelaPedidosComFalha::JanelaPedidosComFalha(std::filesystem::path arquivoHistorico,
                                             TentarNovamente tentarNovamente, QWidget* parent)
    : QWidget(parent, Qt::Window),
      apresentacao_(app::PedidosComFalhaDoArquivo(std::move(arquivoHistorico))),
      tentarNovamente_(std::move(tentarNovamente)),
      pedidos_(app::kColunasPedidoComFalha, app::kPrimeiraContagemPedidoComFalha,
               apresentacao_.Linhas()) {
    setObjectName("frmPedidosComFalha");
    setWindowTitle(QString::fromUtf8(app::kTituloPedidosComFalha));
    setWindowIcon(IconePrograma());
    resize(760, 420);

    grdPedidosComFalha = NovaGrade(this, "grdPedidosComFalha", pedidos_);
    memMensagem = new QPlainTextEdit(this);
    memMensagem->setObjectName("memMensagem");
    memMensagem->setReadOnly(true);
    memMensagem->setMaximumHeight(96);
    lblSituacao = new QLabel(this);
    lblSituacao->setObjectName("lblSituacao");
    btnTentarNovamente = Botao(this, "btnTentarNovamente", app::kTentarNovamente);
    btnCopiarMensagem = Botao(this, "btnCopiarMensagem", app::kCopiarMensagem);
    btnFechar = Botao(this, "btnFechar", app::kFechar);

    auto* botoes = new QHBoxLayout;
    botoes->addWidget(btnTentarNovamente);
    botoes->addWidget(btnCopiarMensagem);
    botoes->addStretch();
    botoes->addWidget(btnFechar);
    auto* leiaute = new QVBoxLayout(this);
    leiaute->addWidget(grdPedidosComFalha, 1);
    leiaute->addWidget(memMensagem);
    leiaute->addWidget(lblSituacao);
    leiaute->addLayout(botoes);

    connect(grdPedidosComFalha->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &JanelaPedidosComFalha::PedidoSelecionado);
    connect(btnTentarNovamente, &QPushButton::clicked, this, [this] {
        if (const auto pedido = apresentacao_.PedidoParaTentarNovamente())
            tentarNovamente_(*pedido);
    });
    connect(btnCopiarMensagem, &QPushButton::clicked, this, [this] {
        QGuiApplication::clipboard()->setText(QString::fromStdString(apresentacao_.Mensagem()));
    });
    connect(btnFechar, &QPushButton::clicked, this, &QWidget::close);
    MostrarSelecionado();
}

void JanelaPedidosComFalha::Abrir() {
    Atualizar();
    showNormal();
    raise();
    activateWindow();
}

void JanelaPedidosComFalha::Atualizar() {
    std::optional<size_t> linha;
    pedidos_.Mudar([&] { linha = apresentacao_.Atualizar(); });
    lblSituacao->setText(QString::fromStdString(apresentacao_.Situacao()));
    if (linha) grdPedidosComFalha->selectRow(static_cast<int>(*linha));
    MostrarSelecionado();
}

void JanelaPedidosComFalha::DefinirEmExecucao(bool emExecucao) {
    apresentacao_.DefinirEmExecucao(emExecucao);
    MostrarSelecionado();
}

void JanelaPedidosComFalha::PedidoSelecionado(const QModelIndex& atual) {
    apresentacao_.Selecionar(atual.isValid() ? std::optional(static_cast<size_t>(atual.row()))
                                             : std::nullopt);
    MostrarSelecionado();
}

void JanelaPedidosComFalha::MostrarSelecionado() {
    memMensagem->setPlainText(QString::fromStdString(apresentacao_.Mensagem()));
    btnTentarNovamente->setEnabled(apresentacao_.PedidoParaTentarNovamente().has_value());
    btnCopiarMensagem->setEnabled(apresentacao_.LinhaSelecionada().has_value());
}

}  // namespace tessora::qt
