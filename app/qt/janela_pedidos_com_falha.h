#pragma once

#include <QWidget>

#include <filesystem>
#include <functional>
#include <string>

#include "app/apresentacao/apresentacao_pedidos_com_falha.h"
#include "app/qt/modelo_grade.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace tessora::qt {

// The orders failing now, each with its whole message, and "Tentar novamente" for the one
// selected: a window of its own, resizable, since messages are long and the main window is not.
class JanelaPedidosComFalha : public QWidget {
    Q_OBJECT

  public:
    using TentarNovamente = std::function<void(const std::string& idApp)>;

    JanelaPedidosComFalha(std::filesystem::path arquivoHistorico, TentarNovamente tentarNovamente,
                          QWidget* parent = nullptr);

    // Shown in front, with the orders read again.
    void Abrir();
    // Reads the history again, keeping the selected order while it still fails.
    void Atualizar();
    // A run began or ended: "Tentar novamente" waits for its end.
    void DefinirEmExecucao(bool emExecucao);

  private:
    void PedidoSelecionado(const QModelIndex& atual);
    void MostrarSelecionado();

    app::ApresentacaoPedidosComFalha apresentacao_;
    TentarNovamente tentarNovamente_;
    ModeloGrade pedidos_;

    // Children of the window, which owns them.
    QTableView* grdPedidosComFalha;
    QPlainTextEdit* memMensagem;
    QLabel* lblSituacao;
    QPushButton* btnTentarNovamente;
    QPushButton* btnCopiarMensagem;
    QPushButton* btnFechar;
};

}  // namespace tessora::qt
