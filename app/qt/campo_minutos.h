#pragma once

#include <QAbstractSpinBox>
#include <QString>
#include <QValidator>

namespace tessora::qt {

// A whole-number field with up and down arrows that keeps any text it is given: the
// settings file may hold anything, and what the field holds is saved back unchanged.
// Typing brings in digits only. The arrows add or subtract one within the range the
// synchronisation timer takes.
class CampoMinutos : public QAbstractSpinBox {
    Q_OBJECT

  public:
    explicit CampoMinutos(QWidget* parent = nullptr);

    QString Texto() const { return text(); }
    void DefinirTexto(const QString& texto);
    void stepBy(int passos) override;

  signals:
    void TextoAlterado(const QString& texto);

  protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& entrada, int& posicao) const override;

  private:
    // The field's number; a text that is no whole number counts as 0.
    int Valor() const;

    QString textoAnterior_;  // what an edit starts from
};

}  // namespace tessora::qt
