#include "app/ui/icone_programa.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace tessora::ui {

QIcon IconePrograma() {
    QPixmap imagem(48, 48);
    imagem.fill(Qt::transparent);
    QPainter pintor(&imagem);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setPen(Qt::NoPen);
    pintor.setBrush(QColor(0x1f, 0x5f, 0x9f));
    pintor.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);
    pintor.setBrush(QColor(0xf2, 0xa9, 0x00));
    pintor.drawEllipse(QRectF(30, 30, 12, 12));
    QFont fonte = pintor.font();
    fonte.setBold(true);
    fonte.setPixelSize(30);
    pintor.setFont(fonte);
    pintor.setPen(Qt::white);
    pintor.drawText(QRectF(2, 0, 40, 44), Qt::AlignCenter, "t");
    return QIcon(imagem);
}

}  // namespace tessora::ui
