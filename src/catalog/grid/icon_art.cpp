// Kibako's own row icons, drawn in code on a 16 x 16 square.

#include <QPainterPath>
#include <QPolygon>

#include "catalog/grid/icon_strip.h"

namespace catalog::grid {

namespace {

const QColor kOutline(64, 64, 64);
const QColor kFolderFill(240, 200, 80);
const QColor kFolderTab(220, 170, 50);

void Box(QPainter& p, int x, int y, int w, int h, const QColor& fill,
         const QColor& line = kOutline) {
    p.setPen(line);
    p.setBrush(fill);
    p.drawRect(x, y, w - 1, h - 1);
}

void Folder(QPainter& p, const QColor& fill) {
    p.setPen(kOutline);
    p.setBrush(kFolderTab);
    p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(6, 3), QPoint(7, 5), QPoint(1, 5)}));
    Box(p, 1, 5, 14, 9, fill);
}

// A page with a folded corner; returns nothing, the caller draws the kind mark.
void Page(QPainter& p, const QColor& fill = Qt::white) {
    p.setPen(kOutline);
    p.setBrush(fill);
    p.drawPolygon(
        QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)}));
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
}

void TextLines(QPainter& p, const QColor& colour, int count) {
    p.setPen(colour);
    for (int i = 0; i < count; ++i) p.drawLine(5, 6 + 2 * i, 11, 6 + 2 * i);
}

void Drive(QPainter& p, const QColor& light) {
    Box(p, 1, 5, 14, 7, QColor(200, 200, 200));
    p.setPen(QColor(120, 120, 120));
    p.drawLine(3, 9, 9, 9);
    p.fillRect(11, 8, 2, 2, light);
}

void Disc(QPainter& p, const QColor& fill) {
    p.setPen(kOutline);
    p.setBrush(fill);
    p.drawEllipse(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawEllipse(6, 6, 3, 3);
}

void Archive(QPainter& p, const QColor& band) {
    Box(p, 2, 3, 12, 11, QColor(190, 140, 90));
    p.fillRect(3, 7, 10, 3, band);
    p.setPen(kOutline);
    p.drawLine(2, 6, 13, 6);
}

void Picture(QPainter& p, const QColor& sky) {
    Box(p, 1, 2, 14, 12, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 150, 60));
    p.drawPolygon(
        QPolygon({QPoint(2, 12), QPoint(6, 7), QPoint(9, 10), QPoint(11, 8), QPoint(14, 12)}));
    p.fillRect(10, 4, 2, 2, QColor(250, 220, 60));
}

void Note(QPainter& p, const QColor& colour) {
    Page(p);
    p.setPen(colour);
    p.setBrush(colour);
    p.drawEllipse(5, 10, 2, 2);
    p.drawLine(7, 5, 7, 11);
    p.drawLine(7, 5, 10, 6);
}

void Film(QPainter& p, const QColor& fill) {
    Box(p, 2, 1, 12, 14, fill);
    p.setPen(Qt::white);
    for (int y = 3; y < 14; y += 3) {
        p.drawPoint(3, y);
        p.drawPoint(12, y);
    }
    p.fillRect(5, 4, 6, 8, QColor(150, 190, 230));
}

void Gear(QPainter& p) {
    Page(p, QColor(230, 230, 230));
    p.setPen(kOutline);
    p.setBrush(QColor(140, 140, 160));
    p.drawEllipse(5, 6, 6, 6);
    p.setBrush(Qt::white);
    p.drawEllipse(7, 8, 2, 2);
}

}  // namespace

void DrawIconArt(QPainter& p, int code) {
    switch (code) {
        case 10:
            Folder(p, kFolderFill);
            break;
        case 11:
            Disc(p, QColor(200, 210, 235));
            break;
        case 12:  // removable drive
            Box(p, 2, 4, 12, 9, QColor(70, 90, 160));
            p.fillRect(5, 4, 6, 4, QColor(220, 220, 220));
            p.fillRect(5, 10, 6, 3, Qt::white);
            break;
        case 13:
            Drive(p, QColor(60, 200, 60));
            break;
        case 14:  // My Documents: folder with a page
            Folder(p, kFolderFill);
            Box(p, 6, 7, 6, 6, Qt::white);
            p.setPen(QColor(60, 90, 180));
            p.drawLine(7, 9, 10, 9);
            p.drawLine(7, 11, 10, 11);
            break;
        case 15:  // registered with its sub-folders
            Folder(p, QColor(120, 190, 120));
            p.setPen(QColor(20, 90, 20));
            p.drawLine(5, 9, 7, 11);
            p.drawLine(7, 11, 11, 7);
            break;
        case 16:  // the catalog's own box
            Box(p, 1, 5, 14, 9, QColor(200, 150, 90));
            p.setPen(kOutline);
            p.setBrush(QColor(220, 175, 110));
            p.drawPolygon(QPolygon({QPoint(1, 5), QPoint(4, 2), QPoint(14, 2), QPoint(14, 5)}));
            p.fillRect(6, 8, 4, 2, kOutline);
            break;
        case 17:  // program
            Box(p, 1, 2, 14, 12, Qt::white);
            p.fillRect(2, 3, 12, 2, QColor(40, 60, 160));
            break;
        case 18:
            Picture(p, QColor(150, 200, 240));
            break;
        case 19:
            Film(p, QColor(40, 40, 40));
            break;
        case 20:
            Note(p, QColor(40, 40, 160));
            break;
        case 21:  // web page
            Page(p);
            p.setPen(QColor(30, 90, 180));
            p.setBrush(QColor(120, 180, 240));
            p.drawEllipse(5, 6, 6, 6);
            p.drawLine(5, 9, 11, 9);
            break;
        case 22:
            Page(p);
            break;
        case 23:
            Page(p);
            TextLines(p, QColor(120, 120, 120), 4);
            break;
        case 24:
            Page(p);
            TextLines(p, QColor(40, 80, 200), 4);
            break;
        case 25:  // settings text
            Page(p, QColor(255, 250, 200));
            TextLines(p, QColor(150, 120, 30), 3);
            break;
        case 26:  // help
            Page(p, QColor(230, 240, 255));
            p.setPen(QColor(30, 60, 170));
            p.drawLine(6, 6, 9, 6);
            p.drawLine(9, 6, 9, 8);
            p.drawLine(8, 9, 8, 10);
            p.drawPoint(8, 12);
            break;
        case 27:
            Film(p, QColor(110, 40, 40));
            break;
        case 28:  // command script
            Box(p, 1, 2, 14, 12, QColor(20, 20, 20));
            p.setPen(QColor(220, 220, 220));
            p.drawLine(3, 5, 5, 7);
            p.drawLine(5, 7, 3, 9);
            p.drawLine(7, 10, 11, 10);
            break;
        case 29:
            Archive(p, QColor(130, 60, 160));
            break;
        case 30:  // zip: box with a zipper
            Archive(p, QColor(60, 120, 200));
            p.setPen(kOutline);
            for (int y = 4; y < 13; y += 2) p.drawLine(7, y, 8, y);
            break;
        case 31:
            Gear(p);
            break;
        case 32:
            Picture(p, QColor(240, 200, 230));
            break;
        case 33:  // bitmap: palette
            p.setPen(kOutline);
            p.setBrush(QColor(235, 215, 170));
            p.drawEllipse(1, 2, 14, 12);
            p.fillRect(4, 5, 2, 2, Qt::red);
            p.fillRect(8, 4, 2, 2, Qt::blue);
            p.fillRect(11, 7, 2, 2, QColor(0, 160, 0));
            break;
        case 34:
            Page(p);
            TextLines(p, QColor(30, 30, 30), 4);
            break;
        case 35:
            Archive(p, QColor(200, 120, 40));
            break;
        case 36:
            Note(p, QColor(210, 100, 20));
            break;
        case 37:  // streaming audio: speaker
            p.setPen(kOutline);
            p.setBrush(QColor(90, 90, 90));
            p.drawPolygon(QPolygon({QPoint(2, 6), QPoint(5, 6), QPoint(9, 2), QPoint(9, 14),
                                    QPoint(5, 10), QPoint(2, 10)}));
            p.drawLine(11, 6, 11, 10);
            p.drawLine(13, 4, 13, 12);
            break;
        default:
            break;
    }
}

}  // namespace catalog::grid
