#include "app/ui/campo_minutos.h"

#include <QLineEdit>

#include <algorithm>

#include "app/intervalo_sincronizacao.h"
#include "comum/erros.h"

namespace tessora::ui {

CampoMinutos::CampoMinutos(QWidget* parent) : QAbstractSpinBox(parent) {
    connect(lineEdit(), &QLineEdit::textChanged, this, &CampoMinutos::TextoAlterado);
}

void CampoMinutos::DefinirTexto(const QString& texto) { lineEdit()->setText(texto); }

int CampoMinutos::Valor() const {
    try {
        return app::ConverterInteiro(text().toStdString());
    } catch (const ErroConversao&) {
        return 0;
    }
}

void CampoMinutos::stepBy(int passos) {
    const long long novo = static_cast<long long>(Valor()) + passos;
    DefinirTexto(QString::number(std::clamp<long long>(novo, 0, app::kMinutosMaximos)));
}

QAbstractSpinBox::StepEnabled CampoMinutos::stepEnabled() const {
    const int valor = Valor();
    StepEnabled habilitados = StepNone;
    if (valor < app::kMinutosMaximos) habilitados |= StepUpEnabled;
    if (valor > 0) habilitados |= StepDownEnabled;
    return habilitados;
}

}  // namespace tessora::ui
