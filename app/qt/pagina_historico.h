#pragma once

#include <QWidget>

#include <filesystem>
#include <functional>

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
// failures, a search by order, ERP number or customer and the export of what is shown to a CSV
// file, as its presenter decides them. Its controls follow its size.
class PaginaHistorico : public QWidget {
    Q_OBJECT

  public:
    // With `abrirJanela`, a button "Abrir em janela" calls it.
    PaginaHistorico(std::filesystem::path arquivoHistorico, Avisos& avisos,
                    std::function<void()> abrirJanela = {}, QWidget* parent = nullptr);

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
    QPushButton* btnAbrirJanelaHistorico = nullptr;  // only with a window to open
};

}  // namespace tessora::qt
