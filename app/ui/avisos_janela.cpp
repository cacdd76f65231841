#include "app/ui/avisos_janela.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "app/ui/frm_mensagem_confirmar_generica.h"

namespace tessora::ui {

namespace {
QString Texto(std::string_view texto) { return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size())); }
}  // namespace

void AvisosJanela::MostrarMensagem(std::string_view texto, std::string_view titulo, IconeAviso icone) {
    QMessageBox caixa(icone == IconeAviso::Erro ? QMessageBox::Critical : QMessageBox::Information, Texto(titulo),
                      Texto(texto), QMessageBox::Ok);
    caixa.exec();
}

void AvisosJanela::ExibirAviso(std::string_view texto, bool confirmacao, bool fechaSozinho) {
    ui::ExibirAviso(Texto(texto), confirmacao, fechaSozinho);
}

void AvisosJanela::SolicitarEncerramento() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace tessora::ui
