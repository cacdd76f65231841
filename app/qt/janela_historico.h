#pragma once

#include <QWidget>

#include <filesystem>

#include "comum/avisos.h"

namespace tessora::qt {

class PaginaHistorico;

// The history page in a window of its own, which the operator sizes to read it; the main
// window's size is fixed. It goes with its parent.
class JanelaHistorico : public QWidget {
    Q_OBJECT

  public:
    JanelaHistorico(std::filesystem::path arquivoHistorico, Avisos& avisos, QWidget* parent);

    // Read again and brought to the front.
    void Mostrar();
    // Read again while shown: after a run.
    void Atualizar();

  private:
    PaginaHistorico* pagina_;
};

}  // namespace tessora::qt
