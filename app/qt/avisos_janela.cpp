#include "app/qt/avisos_janela.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "app/qt/frm_mensagem_confirmar_generica.h"

namespace tessora::qt {

namespace {
QString Texto(std::string_view texto) {
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

QMessageBox::Icon IconeCaixa(IconeAviso icone) {
    switch (icone) {
        case IconeAviso::Erro:
            return QMessageBox::Critical;
        case IconeAviso::Advertencia:
            return QMessageBox::Warning;
        case IconeAviso::Nenhum:
            return QMessageBox::NoIcon;
        case IconeAviso::Informacao:
            break;
    }
    return QMessageBox::Information;
}
}  // namespace

void AvisosJanela::MostrarMensagem(std::string_view texto, std::string_view titulo,
                                   IconeAviso icone) {
    QMessageBox caixa(IconeCaixa(icone), Texto(titulo), Texto(texto), QMessageBox::Ok);
    caixa.exec();
}

void AvisosJanela::ExibirAviso(std::string_view texto, ConfirmacaoAviso confirmacao,
                               FechamentoAviso fechamento) {
    qt::ExibirAviso(Texto(texto), confirmacao, fechamento);
}

void AvisosJanela::SolicitarEncerramento() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

}  // namespace tessora::qt
