#include "controls/CardEdtBut.h"

#include "common/UException.h"

#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <array>

namespace {

constexpr int GlyphSize = 10;

// Draws one 10 × 10 glyph with its top-left corner at x0 in the colours given.
void DrawGlyph(QPainter& p, TBmpCount kind, int x0, const QColor& ink, const QColor& fill) {
    p.save();
    p.translate(x0, 0);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (kind) {
    case CardDown: {
        const QPoint tri[3] = {QPoint(1, 3), QPoint(8, 3), QPoint(4, 7)};
        p.setPen(ink);
        p.setBrush(ink);
        p.drawPolygon(tri, 3);
        break;
    }
    case CardOK:
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPolyline(QPolygon({QPoint(1, 5), QPoint(4, 8), QPoint(8, 1)}));
        break;
    case CardLookup:
        for (int x : {1, 4, 7})
            p.fillRect(x, 6, 2, 2, ink);
        break;
    case CardFolder:
        p.setPen(ink);
        p.setBrush(fill);
        p.drawRect(0, 3, 9, 5);
        p.drawLine(1, 2, 4, 2);
        p.drawPoint(0, 2);
        break;
    case CardFind:
        p.setPen(QPen(ink, 1));
        p.setBrush(fill);
        p.drawEllipse(QRect(0, 0, 6, 6));
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(6, 6, 8, 8);
        break;
    }
    p.restore();
}

QPixmap MakeBitmap(TBmpCount kind) {
    QImage img(2 * GlyphSize, GlyphSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const bool filled = kind == CardFolder || kind == CardFind;
    DrawGlyph(p, kind, 0, QColor(32, 32, 32), filled ? QColor(255, 226, 120) : QColor(32, 32, 32));
    DrawGlyph(p, kind, GlyphSize, QColor(160, 160, 160),
              filled ? QColor(230, 230, 230) : QColor(160, 160, 160));
    p.end();
    return QPixmap::fromImage(img);
}

} // namespace

const QPixmap& ButtonBitmap(TBmpCount kind) {
    static std::array<QPixmap, 5> bitmaps;
    QPixmap& bmp = bitmaps[size_t(kind)];
    if (bmp.isNull()) bmp = MakeBitmap(kind);
    return bmp;
}

TCardEdtBut::TCardEdtBut(QWidget* parent) : QLineEdit(parent) {
    m_panel = new QFrame(this);
    m_panel->setObjectName(QStringLiteral("panel"));
    m_panel->setFrameShape(QFrame::NoFrame);
    m_panel->setCursor(Qt::ArrowCursor);
    m_button = new QToolButton(m_panel);
    m_button->setObjectName(QStringLiteral("button"));
    m_button->setCursor(Qt::ArrowCursor);
    m_button->setAutoRaise(false);
    m_button->setFocusPolicy(Qt::NoFocus);
    ApplyGlyph();
    connect(m_button, &QToolButton::clicked, this, Guarded([this] { DoButClick(); }));
    UpdateButton();
}

TCardEdtBut::~TCardEdtBut() {
    delete m_button;
    delete m_panel;
}

void TCardEdtBut::ApplyGlyph() {
    const QPixmap& bmp = ButtonBitmap(m_buttonBmp);
    QIcon icon;
    icon.addPixmap(bmp.copy(0, 0, GlyphSize, GlyphSize), QIcon::Normal);
    icon.addPixmap(bmp.copy(GlyphSize, 0, GlyphSize, GlyphSize), QIcon::Disabled);
    m_button->setIcon(icon);
    m_button->setIconSize(QSize(GlyphSize, GlyphSize));
}

void TCardEdtBut::SetButtonBmp(TBmpCount kind) {
    if (kind == m_buttonBmp) return;
    m_buttonBmp = kind;
    ApplyGlyph();
}

void TCardEdtBut::SetButVisible(bool visible) {
    if (visible == m_butVisible) return;
    m_butVisible = visible;
    UpdateButton();
}

void TCardEdtBut::UpdateButton() {
    if (m_butVisible) {
        // Inside the frame the button is a square as tall as the inner area, flush with its right edge.
        const int border = hasFrame() ? 2 : 0;
        const int s = height() - 2 * border;
        m_panel->setGeometry(width() - s - border, border, s, s);
        m_button->setGeometry(0, 0, s, s);
        setTextMargins(0, 0, s, 0);
    } else {
        m_panel->setGeometry(0, 0, 0, 0);
        m_button->setGeometry(0, 0, 0, 0);
        setTextMargins(0, 0, 0, 0);
    }
}

void TCardEdtBut::DoButClick() {
    setFocus(Qt::MouseFocusReason);
    emit OnButClick(this);
}

void TCardEdtBut::resizeEvent(QResizeEvent* event) {
    Guard([&] {
        QLineEdit::resizeEvent(event);
        UpdateButton();
    });
}
