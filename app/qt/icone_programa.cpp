#include "app/qt/icone_programa.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace tessora::qt {

namespace {
QIcon Icone(const QColor& sinal, qreal diametroSinal) {
    QPixmap imagem(48, 48);
    imagem.fill(Qt::transparent);
    QPainter pintor(&imagem);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setPen(Qt::NoPen);
    pintor.setBrush(QColor(0x1f, 0x5f, 0x9f));
    pintor.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
    QFont fonte = pintor.font();
    fonte.setBold(true);
    fonte.setPixelSize(30);
    pintor.setFont(fonte);
    pintor.setPen(Qt::white);
    pintor.drawText(QRectF(2, 0, 40, 44), Qt::AlignCenter, "t");
    if (diametroSinal > 12) {
        pintor.setPen(QPen(Qt::white, 2));  // apart from the blue at the tray's small sizes
    } else {
        pintor.setPen(Qt::NoPen);
    }
    pintor.setBrush(sinal);
    pintor.drawEllipse(
        QRectF(42 - diametroSinal, 42 - diametroSinal, diametroSinal, diametroSinal));
    return QIcon(imagem);
}
}  // namespace

QIcon IconePrograma() { return Icone(QColor(0xf2, 0xa9, 0x00), 12); }

QIcon IconeBandeja(app::EstadoBandeja estado) {
    switch (estado) {
        case app::EstadoBandeja::Normal:
            return Icone(QColor(0x2e, 0x9d, 0x48), 20);
        case app::EstadoBandeja::EmExecucao:
            return Icone(QColor(0x4f, 0xa8, 0xff), 20);
        case app::EstadoBandeja::PedidosComFalha:
            return Icone(QColor(0xf2, 0xa9, 0x00), 20);
        case app::EstadoBandeja::SemComunicacao:
            return Icone(QColor(0xd0, 0x31, 0x2d), 20);
        case app::EstadoBandeja::Desligada:
            return Icone(QColor(0x6b, 0x6b, 0x6b), 20);
        case app::EstadoBandeja::Indefinido:
            return Icone(QColor(0xf0, 0xf0, 0xf0), 20);
    }
    return IconePrograma();
}

}  // namespace tessora::qt
