#include "app/qt/frm_mensagem_confirmar_generica.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "app/apresentacao/textos_janela.h"

namespace tessora::qt {

namespace {
QPointer<TfrmMensagemConfirmarGenerica> avisoAtual;

constexpr int kLargura = 540;
constexpr int kAlturaSimples = 80;
constexpr int kAlturaConfirmacao = 200;
}  // namespace

TfrmMensagemConfirmarGenerica::TfrmMensagemConfirmarGenerica(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("frmMensagemConfirmarGenerica");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(app::kTituloAviso);
    setFont(QFont("Tahoma", 8));
    setFixedSize(534, 175);

    lblMensagem = new QLabel("Mensagem Genérica", this);
    lblMensagem->setObjectName("lblMensagem");
    lblMensagem->setGeometry(8, 16, 517, 72);
    lblMensagem->setWordWrap(true);
    lblMensagem->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ckbConcordo = new QCheckBox(app::kCienteAviso, this);
    ckbConcordo->setObjectName("ckbConcordo");
    ckbConcordo->setGeometry(8, 94, 185, 17);

    pnlBotoes = new QFrame(this);
    pnlBotoes->setObjectName("Panel1");
    pnlBotoes->setFrameShape(QFrame::Panel);
    pnlBotoes->setFrameShadow(QFrame::Raised);

    btnOk = new QPushButton("OK", pnlBotoes);
    btnOk->setObjectName("btnOk");
    btnOk->setGeometry(445, 7, 75, 25);
    btnOk->setEnabled(false);

    connect(ckbConcordo, &QCheckBox::toggled, btnOk, &QPushButton::setEnabled);  // ckbConcordoClick
    connect(btnOk, &QPushButton::clicked, this, &QWidget::close);                // btnOkClick
}

void TfrmMensagemConfirmarGenerica::DefinirModo(bool confirmacao) {
    pnlBotoes->setVisible(confirmacao);
    ckbConcordo->setVisible(confirmacao);
    btnOk->setVisible(confirmacao);
    const int altura = confirmacao ? kAlturaConfirmacao : kAlturaSimples;
    setFixedSize(kLargura, altura);
    pnlBotoes->setGeometry(0, altura - 40, kLargura, 40);
    repaint();
}

void TfrmMensagemConfirmarGenerica::DefinirMensagem(const QString& mensagem) {
    lblMensagem->setText(mensagem);
    lblMensagem->repaint();
}

void TfrmMensagemConfirmarGenerica::closeEvent(QCloseEvent* evento) {
    // Closing any notice clears the reference. The dialog's own close handling would
    // reject, which this dialog refuses.
    avisoAtual = nullptr;
    evento->accept();
}

TfrmMensagemConfirmarGenerica* frmMensagemConfirmarGenerica() { return avisoAtual.data(); }

void ExibirAviso(const QString& mensagem, ConfirmacaoAviso confirmacao, FechamentoAviso fechamento,
                 std::chrono::milliseconds espera) {
    // Owned by the window system from here on: it deletes itself when it closes.
    QPointer<TfrmMensagemConfirmarGenerica> aviso = new TfrmMensagemConfirmarGenerica();
    avisoAtual = aviso;
    aviso->show();
    aviso->DefinirModo(confirmacao == ConfirmacaoAviso::Exigida);
    aviso->DefinirMensagem(mensagem);
    QCoreApplication::processEvents();
    if (fechamento == FechamentoAviso::PeloOperador) return;

    QEventLoop laco;
    QTimer::singleShot(espera, Qt::PreciseTimer, &laco, &QEventLoop::quit);
    laco.exec();
    if (aviso) aviso->close();
}

}  // namespace tessora::qt
