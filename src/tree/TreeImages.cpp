// The three node images of the group trees, drawn here so that the program needs no image files.
#include "tree/UntTree.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
// 0: the root, a small filing cabinet.
void DrawRoot(QPainter& p) {
    p.setPen(QColor(0x2f, 0x5d, 0x8a));
    p.setBrush(QColor(0x7f, 0xa9, 0xd6));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
    p.setBrush(QColor(0xdd, 0xe9, 0xf6));
    p.drawRect(QRectF(4.5, 3.5, 7, 4));
    p.drawRect(QRectF(4.5, 9.0, 7, 4));
    p.setPen(QColor(0x2f, 0x5d, 0x8a));
    p.drawLine(QPointF(7, 5.5), QPointF(9, 5.5));
    p.drawLine(QPointF(7, 11), QPointF(9, 11));
}

// 1: a group, a closed folder.
void DrawClosedFolder(QPainter& p) {
    p.setPen(QColor(0x9a, 0x6b, 0x12));
    p.setBrush(QColor(0xf0, 0xc0, 0x50));
    QPainterPath tab;
    tab.moveTo(1.5, 4.5);
    tab.lineTo(1.5, 2.5);
    tab.lineTo(6.0, 2.5);
    tab.lineTo(7.5, 4.5);
    tab.closeSubpath();
    p.drawPath(tab);
    p.setBrush(QColor(0xf7, 0xd2, 0x6e));
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
}

// 2: the selected group, an open folder.
void DrawOpenFolder(QPainter& p) {
    p.setPen(QColor(0x9a, 0x6b, 0x12));
    p.setBrush(QColor(0xe3, 0xae, 0x3c));
    QPainterPath back;
    back.moveTo(1.5, 13.5);
    back.lineTo(1.5, 2.5);
    back.lineTo(6.0, 2.5);
    back.lineTo(7.5, 4.5);
    back.lineTo(12.5, 4.5);
    back.lineTo(12.5, 7.0);
    p.drawPath(back);
    p.setBrush(QColor(0xfb, 0xe0, 0x8c));
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(4.0, 7.5);
    front.lineTo(15.0, 7.5);
    front.lineTo(12.5, 13.5);
    front.closeSubpath();
    p.drawPath(front);
}
} // namespace

QPixmap TCardTree::NodeImage(int index) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0:
        DrawRoot(p);
        break;
    case 1:
        DrawClosedFolder(p);
        break;
    default:
        DrawOpenFolder(p);
        break;
    }
    return pixmap;
}
