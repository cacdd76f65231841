#include "app/qt/campo_minutos.h"

#include <QLineEdit>

#include "app/apresentacao/regras_campo_minutos.h"

namespace tessora::qt {

CampoMinutos::CampoMinutos(QWidget* parent) : QAbstractSpinBox(parent) {
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& texto) {
        textoAnterior_ = texto;
        emit TextoAlterado(texto);
    });
}

void CampoMinutos::DefinirTexto(const QString& texto) {
    // Any text given is valid for the field, or the edits that follow would go unchecked.
    textoAnterior_ = texto;
    lineEdit()->setText(texto);
}

void CampoMinutos::stepBy(int passos) {
    DefinirTexto(QString::fromStdString(app::MinutosAposPassos(text().toStdString(), passos)));
}

QValidator::State CampoMinutos::validate(QString& entrada, int&) const {
    return app::EdicaoMinutosAceita(textoAnterior_.toStdString(), entrada.toStdString())
               ? QValidator::Acceptable
               : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled CampoMinutos::stepEnabled() const {
    const std::string texto = text().toStdString();
    StepEnabled habilitados = StepNone;
    if (app::PodeSubirMinutos(texto)) habilitados |= StepUpEnabled;
    if (app::PodeDescerMinutos(texto)) habilitados |= StepDownEnabled;
    return habilitados;
}

}  // namespace tessora::qt
