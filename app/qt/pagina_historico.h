#pragma once

#include <QWidget>

#include <filesystem>

#include "app/apresentacao/apresentacao_historico.h"
#include "app/qt/modelo_grade.h"
#include "comum/avisos.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tessora::qt {

// The page of recorded runs: the latest runs, the orders of the selected one, a filter for
// failures, a search by order id and the export of what is shown to a CSV file, as its
// presenter decides them.
class PaginaHistorico : public QWidget {
    Q_OBJECT

  public:
    PaginaHistorico(std::filesystem::path arquivoHistorico, Avisos& avisos,
                    QWidget* parent = nullptr);

    // Reads the history again, keeping an older selected run when it is still shown.
    void Atualizar();

  private:
    void btnExportarCsvClick();
    void ExecucaoSelecionada(const QModelIndex& atual);

    Avisos& avisos_;
    app::ApresentacaoHistorico apresentacao_;
    ModeloGrade execucoes_;
    ModeloGrade pedidos_;

    // Children of the page, which owns them.
    QCheckBox* ckbFalhasEAvisos;
    QLabel* lblPesquisaPedido;
    QLineEdit* edtPesquisaPedido;
    QPushButton* btnExportarCsv;
    QTableView* grdExecucoes;
    QTableView* grdPedidos;
    QLabel* lblSituacaoHistorico;
};

}  // namespace tessora::qt
