#pragma once

#include <QDialog>
#include <QString>

#include <chrono>

#include "comum/avisos.h"

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

namespace tessora::qt {

// The notice dialog: a message, and in the confirmation mode a check box that must be
// ticked before OK closes it. It owns itself and is destroyed when it closes.
class TfrmMensagemConfirmarGenerica : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmMensagemConfirmarGenerica(QWidget* parent = nullptr);

    void DefinirModo(bool confirmacao);
    void DefinirMensagem(const QString& mensagem);

    // The operator cannot dismiss it: only OK, or the one who showed it, closes it.
    void reject() override {}

  protected:
    void closeEvent(QCloseEvent* evento) override;

  private:
    QLabel* lblMensagem;
    QCheckBox* ckbConcordo;
    QFrame* pnlBotoes;
    QPushButton* btnOk;
};

// The dialog most recently shown by ExibirAviso; nothing once a notice closed.
TfrmMensagemConfirmarGenerica* frmMensagemConfirmarGenerica();

// Shows a new notice without waiting for the operator. One that closes itself stays for
// `espera` and closes, and the call returns then; the program keeps painting meanwhile.
void ExibirAviso(const QString& mensagem, ConfirmacaoAviso confirmacao, FechamentoAviso fechamento,
                 std::chrono::milliseconds espera = std::chrono::seconds(5));

}  // namespace tessora::qt
