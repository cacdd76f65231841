#pragma once

#include <QString>
#include <QWidget>

#include <filesystem>

#include "app/qt/modelos_historico.h"
#include "comum/avisos.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tessora::qt {

// The page of recorded runs: the latest runs, the orders of the selected one, a filter for
// failures, a search by order id and the export of what is shown to a CSV file.
class PaginaHistorico : public QWidget {
    Q_OBJECT

  public:
    PaginaHistorico(std::filesystem::path arquivoHistorico, Avisos& avisos,
                    QWidget* parent = nullptr);

    // Reads the history again, keeping an older selected run when it is still shown.
    void Atualizar();

  private:
    void btnExportarCsvClick();
    // Writes the runs shown, with their orders; a file that cannot be written is told.
    void ExportarCsv(const QString& arquivo);
    void MostrarPedidosDaExecucao(int linha);

    std::filesystem::path arquivoHistorico_;
    Avisos& avisos_;
    ModeloExecucoes execucoes_;
    ModeloPedidos pedidos_;

    // Children of the page, which owns them.
    QCheckBox* ckbSomenteFalhas;
    QLabel* lblPesquisaPedido;
    QLineEdit* edtPesquisaPedido;
    QPushButton* btnExportarCsv;
    QTableView* grdExecucoes;
    QTableView* grdPedidos;
    QLabel* lblSituacaoHistorico;
};

}  // namespace tessora::qt
