#include "app/qt/janela_historico.h"

#include <QVBoxLayout>

#include <utility>

#include "app/apresentacao/textos_janela.h"
#include "app/qt/icone_programa.h"
#include "app/qt/pagina_historico.h"

namespace tessora::qt {

JanelaHistorico::JanelaHistorico(std::filesystem::path arquivoHistorico, Avisos& avisos,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window),
      pagina_(new PaginaHistorico(std::move(arquivoHistorico), avisos, {}, this)) {
    setObjectName("frmHistorico");
    setWindowTitle(app::kTituloJanelaHistorico);
    setWindowIcon(IconePrograma());
    setMinimumSize(app::kLarguraMinimaJanelaHistorico, app::kAlturaMinimaJanelaHistorico);
    resize(app::kLarguraJanelaHistorico, app::kAlturaJanelaHistorico);
    pagina_->setObjectName("pgHistorico");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 6);
    layout->addWidget(pagina_);
}

void JanelaHistorico::Mostrar() {
    pagina_->Atualizar();
    showNormal();
    raise();
    activateWindow();
}

void JanelaHistorico::Atualizar() {
    if (isVisible()) pagina_->Atualizar();
}

}  // namespace tessora::qt
