#include "engine/windows/picture.h"

#include <QPainter>
#include <QPainterPath>

namespace engine::windows {
namespace {

// Every picture is drawn in a 32 x 32 square.
void DrawBox(QPainter& p) {
    p.setPen(QPen(QColor(0x6b, 0x45, 0x1f), 1.5));
    p.setBrush(QColor(0xd9, 0xa4, 0x65));
    p.drawRect(QRectF(5, 13, 22, 15));
    QPainterPath lid;
    lid.moveTo(5, 13);
    lid.lineTo(9, 7);
    lid.lineTo(31, 7);
    lid.lineTo(27, 13);
    lid.closeSubpath();
    p.setBrush(QColor(0xe8, 0xbe, 0x88));
    p.drawPath(lid);
    p.setPen(QPen(QColor(0x1f, 0x5f, 0xbf), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 1), QPointF(16, 11));
    p.drawLine(QPointF(12, 7), QPointF(16, 11));
    p.drawLine(QPointF(20, 7), QPointF(16, 11));
}

void DrawHardDisk(QPainter& p) {
    p.setPen(QPen(QColor(0x40, 0x40, 0x48), 1.5));
    p.setBrush(QColor(0xc8, 0xcc, 0xd4));
    p.drawRoundedRect(QRectF(3, 9, 26, 15), 3, 3);
    p.setBrush(QColor(0x30, 0xc0, 0x40));
    p.drawEllipse(QRectF(22, 18, 3, 3));
    p.setPen(QPen(QColor(0x70, 0x70, 0x78), 1));
    p.drawLine(QPointF(7, 14), QPointF(19, 14));
}

void DrawBackup(QPainter& p) {
    DrawBox(p);
    p.setPen(QPen(QColor(0x6b, 0x45, 0x1f), 1));
    p.drawLine(QPointF(10, 19), QPointF(22, 19));
    p.drawLine(QPointF(10, 23), QPointF(22, 23));
}

void DrawMedium(QPainter& p) {
    p.setPen(QPen(QColor(0x20, 0x20, 0x50), 1.5));
    p.setBrush(QColor(0x50, 0x60, 0xa0));
    QPainterPath disk;
    disk.moveTo(4, 4);
    disk.lineTo(24, 4);
    disk.lineTo(28, 8);
    disk.lineTo(28, 28);
    disk.lineTo(4, 28);
    disk.closeSubpath();
    p.drawPath(disk);
    p.setBrush(QColor(0xe0, 0xe0, 0xe8));
    p.drawRect(QRectF(9, 4, 13, 8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 17, 16, 11));
}

}  // namespace

Picture::Picture(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setFixedSize(sizeHint());
}

void Picture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind_) {
        case Kind::Box:
            DrawBox(p);
            break;
        case Kind::HardDisk:
            DrawHardDisk(p);
            break;
        case Kind::Backup:
            DrawBackup(p);
            break;
        case Kind::Medium:
            DrawMedium(p);
            break;
    }
}

}  // namespace engine::windows
