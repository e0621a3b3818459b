// The edit box with a button inside its right end.
#include "controls/CardEdtBut.h"

#include <QApplication>
#include <QFrame>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

int RightMargin(const QLineEdit& e) {
    return e.textMargins().right();
}

// A shown window holding the edit, so that resizes reach it at once.
struct TShownEdit {
    TShownEdit() : edit(new TCardEdtBut(&window)) {
        window.resize(400, 100);
        window.show();
    }
    QWidget window;
    TCardEdtBut* edit;
    TCardEdtBut& operator*() { return *edit; }
};

TEST(CardEdtBut, ButtonIsASquareInsideTheRightEnd) {
    TShownEdit shown;
    TCardEdtBut& e = *shown;
    e.resize(150, 24);
    // With the frame: inner height, flush with the inner right edge.
    EXPECT_EQ(e.Button()->size(), QSize(20, 20));
    EXPECT_EQ(e.Panel()->geometry(), QRect(128, 2, 20, 20));
    EXPECT_EQ(RightMargin(e), 20);
    e.setFrame(false);
    e.resize(150, 24);
    e.UpdateButton();
    EXPECT_EQ(e.Panel()->geometry(), QRect(126, 0, 24, 24));
    EXPECT_EQ(RightMargin(e), 24);
}

TEST(CardEdtBut, AfterAResizeTheButtonIsSquareAgain) {
    TShownEdit shown;
    TCardEdtBut& e = *shown;
    const QSize sizes[] = {{100, 22}, {300, 40}, {80, 30}};
    for (const QSize& s : sizes) {
        e.resize(s);
        const QRect r = e.Panel()->geometry();
        EXPECT_EQ(r.width(), s.height() - 4);
        EXPECT_EQ(r.height(), s.height() - 4);
        EXPECT_EQ(r.right(), s.width() - 3);
        EXPECT_EQ(e.Button()->geometry(), QRect(QPoint(0, 0), r.size()));
        EXPECT_EQ(RightMargin(e), r.width());
    }
}

TEST(CardEdtBut, WithoutTheButtonItIsAPlainEdit) {
    TShownEdit shown;
    TCardEdtBut& e = *shown;
    e.resize(150, 24);
    e.SetButVisible(false);
    EXPECT_FALSE(e.ButVisible());
    EXPECT_EQ(e.Panel()->geometry(), QRect(0, 0, 0, 0));
    EXPECT_EQ(e.Button()->size(), QSize(0, 0));
    EXPECT_EQ(RightMargin(e), 0);
    e.resize(200, 30); // a resize keeps it hidden
    EXPECT_EQ(e.Panel()->size(), QSize(0, 0));
    e.SetButVisible(true);
    EXPECT_EQ(e.Panel()->size(), QSize(26, 26));
}

TEST(CardEdtBut, ClickOnAReadOnlyEditMovesTheFocusThenRaisesOnButClick) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    auto* e = new TCardEdtBut(&window);
    e->setReadOnly(true);
    layout->addWidget(other);
    layout->addWidget(e);
    window.show();
    QApplication::setActiveWindow(&window);
    other->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(other->hasFocus());

    bool focusedWhenRaised = false;
    TCardEdtBut* sender = nullptr;
    QObject::connect(e, &TCardEdtBut::OnButClick, [&](TCardEdtBut* s) {
        sender = s;
        focusedWhenRaised = e->hasFocus();
    });
    e->Button()->click();
    EXPECT_EQ(sender, e);
    EXPECT_TRUE(focusedWhenRaised);
}

TEST(CardEdtBut, GlyphsAreSharedAndHaveANormalAndAGreyedHalf) {
    TCardEdtBut a, b;
    EXPECT_EQ(a.ButtonBmp(), CardDown);
    a.SetButtonBmp(CardFind);
    b.SetButtonBmp(CardFind);
    EXPECT_EQ(&a.Glyph(), &b.Glyph());
    EXPECT_EQ(a.Glyph().cacheKey(), ButtonBitmap(CardFind).cacheKey());
    const TBmpCount kinds[] = {CardDown, CardOK, CardLookup, CardFolder, CardFind};
    QList<QImage> images;
    for (TBmpCount k : kinds) {
        const QPixmap& bmp = ButtonBitmap(k);
        EXPECT_EQ(bmp.size(), QSize(20, 10));
        EXPECT_EQ(&bmp, &ButtonBitmap(k));
        const QImage img = bmp.toImage();
        EXPECT_EQ(img.pixelColor(0, 9).alpha(), 0); // the bottom-left pixel is transparent
        const QImage normal = img.copy(0, 0, 10, 10), grey = img.copy(10, 0, 10, 10);
        EXPECT_NE(normal, grey);
        int inked = 0;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                inked += normal.pixelColor(x, y).alpha() > 0;
        EXPECT_GT(inked, 5);
        images << normal;
    }
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            EXPECT_NE(images[i], images[j]) << i << " " << j;
}

} // namespace
