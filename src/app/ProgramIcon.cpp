#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

// Drawn on the SVG's 64 x 64 grid, so both pictures stay one.
QPixmap paintedAt(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x37, 0x47, 0x4f));
    p.drawRoundedRect(QRectF(6, 16, 52, 38), 6, 6);
    p.setBrush(QColor(0x45, 0x5a, 0x64));
    p.drawRoundedRect(QRectF(12, 10, 16, 8), 2, 2);
    p.setBrush(QColor(0xff, 0xb3, 0x00));
    p.drawRoundedRect(QRectF(44, 21, 8, 5), 1, 1);
    p.setPen(QPen(QColor(0x90, 0xa4, 0xae), 2.5));
    p.setBrush(QColor(0x26, 0x32, 0x38));
    p.drawEllipse(QPointF(32, 35), 15, 15);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x15, 0x65, 0xc0));
    p.drawEllipse(QPointF(32, 35), 10, 10);
    p.setBrush(QColor(0x0d, 0x47, 0xa1));
    p.drawEllipse(QPointF(32, 35), 5, 5);
    p.setOpacity(0.8);
    p.setBrush(QColor(0xe3, 0xf2, 0xfd));
    p.drawEllipse(QPointF(28, 31), 2.5, 2.5);
    return pixmap;
}

}  // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(paintedAt(size));
    return icon;
}
