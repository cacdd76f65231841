#include "app/qt/campo_minutos.h"

#include <QLineEdit>

#include <algorithm>

#include "app/servico/intervalo_sincronizacao.h"
#include "comum/inteiros.h"

namespace tessora::qt {

namespace {
QString SemAlgarismos(const QString& texto) {
    QString resto;
    for (const QChar c : texto) {
        if (c < '0' || c > '9') resto += c;
    }
    return resto;
}

// Whether `subsequencia` is `texto` with some of its characters left out.
bool Subsequencia(const QString& subsequencia, const QString& texto) {
    qsizetype i = 0;
    for (const QChar c : texto) {
        if (i < subsequencia.size() && subsequencia[i] == c) ++i;
    }
    return i == subsequencia.size();
}
}  // namespace

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

int CampoMinutos::Valor() const { return InteiroAposBrancos(text().toStdString()).value_or(0); }

void CampoMinutos::stepBy(int passos) {
    const long long novo = static_cast<long long>(Valor()) + passos;
    DefinirTexto(QString::number(std::clamp<long long>(novo, 0, app::kMinutosMaximos)));
}

// An edit may add digits and remove anything, so that a text from the settings file that is
// no number can still be corrected, but never bring in another character.
QValidator::State CampoMinutos::validate(QString& entrada, int&) const {
    return Subsequencia(SemAlgarismos(entrada), SemAlgarismos(textoAnterior_))
               ? QValidator::Acceptable
               : QValidator::Invalid;
}

QAbstractSpinBox::StepEnabled CampoMinutos::stepEnabled() const {
    const int valor = Valor();
    StepEnabled habilitados = StepNone;
    if (valor < app::kMinutosMaximos) habilitados |= StepUpEnabled;
    if (valor > 0) habilitados |= StepDownEnabled;
    return habilitados;
}

}  // namespace tessora::qt
