#pragma once

#include <QAbstractSpinBox>
#include <QString>
#include <QValidator>

namespace tessora::qt {

// The minutes field: a text field with up and down arrows that keeps any text it is given,
// whose arrows and edits follow the rules of regras_campo_minutos.h.
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
    QString textoAnterior_;  // what an edit starts from
};

}  // namespace tessora::qt
