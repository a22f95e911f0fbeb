#include "MetafileBuilders.h"
#include <gtest/gtest.h>

using namespace mftest;

namespace {

const QRgb Red = qRgb(255, 0, 0), Blue = qRgb(0, 0, 255), Green = qRgb(0, 255, 0), White = qRgb(255, 255, 255);

// Red filled rectangle without outline.
Emf& redFill(Emf& e) { return e.solidBrush(1, rgb(255, 0, 0)).select(1).nullPen(); }

} // namespace

TEST(MetafilePlay, RectangleLandsOnItsPixelsAndScalesWithTheDestination)
{
    Emf e;
    redFill(e).rectangle(20, 30, 60, 70);
    QImage img = render(e.bytes());
    EXPECT_EQ(at(img, 40, 50), Red);
    EXPECT_EQ(at(img, 10, 50), Background);
    EXPECT_EQ(at(img, 70, 50), Background);
    EXPECT_EQ(inkBox(img), QRect(QPoint(20, 30), QPoint(59, 69)));

    QImage big = render(e.bytes(), QSize(200, 200));
    EXPECT_EQ(inkBox(big), QRect(QPoint(40, 60), QPoint(119, 139)));
}

TEST(MetafilePlay, MappingModes)
{
    struct Case {
        const char* what;
        std::function<void(Emf&)> setup;
        QRect logical;
        QRect expected; // inked pixels
    };
    // The reference device has 10 pixels per millimetre.
    const Case cases[] = {
        {"text", [](Emf&) {}, QRect(QPoint(10, 10), QPoint(30, 30)), QRect(QPoint(10, 10), QPoint(29, 29))},
        {"anisotropic", [](Emf& e) { e.rec(17, {8}).rec(9, {1000, 500}).rec(11, {100, 100}); },
         QRect(QPoint(500, 250), QPoint(1000, 500)), QRect(QPoint(50, 50), QPoint(99, 99))},
        {"anisotropic origins", [](Emf& e) {
             e.rec(17, {8}).rec(9, {200, 200}).rec(11, {100, 100}).rec(10, {100, 100}).rec(12, {10, 20});
         }, QRect(QPoint(100, 100), QPoint(140, 140)), QRect(QPoint(10, 20), QPoint(29, 39))},
        {"isotropic keeps the smaller scale", [](Emf& e) { e.rec(17, {7}).rec(9, {1000, 500}).rec(11, {100, 100}); },
         QRect(QPoint(0, 0), QPoint(1000, 500)), QRect(QPoint(0, 0), QPoint(99, 49))},
        {"y flipped by the viewport", [](Emf& e) { e.rec(17, {8}).rec(9, {100, 100}).rec(11, {100, -100}).rec(12, {0, 100}); },
         QRect(QPoint(0, 0), QPoint(20, 30)), QRect(QPoint(0, 70), QPoint(19, 99))},
        {"lometric, y up", [](Emf& e) { e.rec(17, {2}); }, QRect(QPoint(10, -10), QPoint(40, -40)),
         QRect(QPoint(10, 10), QPoint(39, 39))},
        {"himetric", [](Emf& e) { e.rec(17, {3}); }, QRect(QPoint(0, 0), QPoint(500, -500)),
         QRect(QPoint(0, 0), QPoint(49, 49))},
        {"loenglish", [](Emf& e) { e.rec(17, {4}); }, QRect(QPoint(0, 0), QPoint(10, -10)),
         QRect(QPoint(0, 0), QPoint(24, 24))},
        {"twips", [](Emf& e) { e.rec(17, {6}); }, QRect(QPoint(0, 0), QPoint(1440, -1440)),
         QRect(QPoint(0, 0), QPoint(99, 99))},
        {"world transform", [](Emf& e) {
             e.rec(35, {floatBits(2), 0, 0, floatBits(2), floatBits(10), floatBits(5)});
         }, QRect(QPoint(0, 0), QPoint(10, 10)), QRect(QPoint(10, 5), QPoint(29, 24))},
        {"world transform modified on the left", [](Emf& e) {
             e.rec(35, {floatBits(1), 0, 0, floatBits(1), floatBits(10), floatBits(10)});
             e.rec(36, {floatBits(2), 0, 0, floatBits(2), 0, 0, 2});
         }, QRect(QPoint(0, 0), QPoint(10, 10)), QRect(QPoint(10, 10), QPoint(29, 29))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Emf e;
        c.setup(e);
        redFill(e).rectangle(c.logical.left(), c.logical.top(), c.logical.right(), c.logical.bottom());
        QImage img = render(e.bytes());
        QRect ink = inkBox(img);
        // Edges may carry one pixel of anti-aliasing.
        EXPECT_LE(std::abs(ink.left() - c.expected.left()), 1) << ink.left();
        EXPECT_LE(std::abs(ink.top() - c.expected.top()), 1) << ink.top();
        EXPECT_LE(std::abs(ink.right() - c.expected.right()), 1) << ink.right();
        EXPECT_LE(std::abs(ink.bottom() - c.expected.bottom()), 1) << ink.bottom();
        EXPECT_EQ(at(img, c.expected.center().x(), c.expected.center().y()), Red);
    }
}

TEST(MetafilePlay, SaveAndRestoreWithRelativeIndexes)
{
    // Brush white -> red (saved twice) -> blue; restoring -2 gives back the first saved state.
    for (auto [rel, want] : {std::pair{-1, Red}, {-2, White}, {-3, Blue}, {0, Blue}}) {
        SCOPED_TRACE(rel);
        Emf e;
        e.nullPen().rec(33, {}).solidBrush(1, rgb(255, 0, 0)).select(1).rec(33, {});
        e.solidBrush(2, rgb(0, 0, 255)).select(2).rec(34, {rel}).rectangle(0, 0, 100, 100);
        EXPECT_EQ(at(render(e.bytes()), 50, 50), want);
    }
}

TEST(MetafilePlay, ClippingRectanglesRegionsAndMetaRegion)
{
    {
        Emf e;
        e.rec(30, {10, 10, 50, 50}).rec(29, {20, 20, 30, 30});
        redFill(e).rectangle(0, 0, 100, 100);
        QImage img = render(e.bytes());
        EXPECT_EQ(inkBox(img), QRect(QPoint(10, 10), QPoint(49, 49)));
        EXPECT_EQ(at(img, 25, 25), Background) << "excluded";
        EXPECT_EQ(at(img, 45, 45), Red);
    }
    {
        // Region data: two rectangles in device pixels, then a reset by RGN_COPY without data.
        std::vector<uint8_t> body;
        put32(body, 32 + 32);
        put32(body, 5);
        for (int v : {32, 1, 2, 32, 0, 0, 100, 100, 0, 0, 10, 10, 90, 90, 100, 100})
            put32(body, uint32_t(v));
        Emf e;
        e.raw(75, body);
        redFill(e).rectangle(0, 0, 100, 100);
        e.rec(75, {0, 5}).solidBrush(2, rgb(0, 0, 255)).select(2).rectangle(40, 40, 60, 60);
        QImage img = render(e.bytes());
        EXPECT_EQ(at(img, 5, 5), Red);
        EXPECT_EQ(at(img, 95, 95), Red);
        EXPECT_EQ(at(img, 30, 30), Background);
        EXPECT_EQ(at(img, 50, 50), Blue) << "clip reset by a copy without region data";
    }
    {
        // The meta region survives a reset of the clip region.
        Emf e;
        e.rec(30, {0, 0, 50, 100}).rec(28, {}).rec(75, {0, 5});
        redFill(e).rectangle(0, 0, 100, 100);
        QImage img = render(e.bytes());
        EXPECT_EQ(at(img, 25, 50), Red);
        EXPECT_EQ(at(img, 75, 50), Background);
    }
}

TEST(MetafilePlay, PathsFillStrokeAndClip)
{
    {
        Emf e;
        redFill(e);
        e.rec(59, {}).rec(27, {10, 10}).rec(54, {90, 10}).rec(54, {90, 90}).rec(54, {10, 90}).rec(61, {});
        e.rec(60, {}).rec(62, {0, 0, 0, 0});
        QImage img = render(e.bytes());
        EXPECT_EQ(at(img, 50, 50), Red);
        EXPECT_EQ(at(img, 5, 5), Background);
    }
    {
        // Nothing is drawn while the path is being recorded.
        Emf e;
        redFill(e).rec(59, {}).rectangle(0, 0, 100, 100).rec(60, {});
        EXPECT_EQ(at(render(e.bytes()), 50, 50), Background);
    }
    {
        // A triangle path as clip region.
        Emf e;
        e.rec(59, {}).rec(27, {0, 0}).rec(54, {100, 0}).rec(54, {0, 100}).rec(61, {}).rec(60, {}).rec(67, {5});
        redFill(e).rectangle(0, 0, 100, 100);
        QImage img = render(e.bytes());
        EXPECT_EQ(at(img, 20, 20), Red);
        EXPECT_EQ(at(img, 80, 80), Background);
    }
}

TEST(MetafilePlay, StretchedBitmapKeepsRowOrder)
{
    std::vector<uint8_t> dib = dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    std::vector<uint8_t> body;
    for (int v : {0, 0, 99, 99, 0, 0, 0, 0, 2, 2, 80, 40, 120, int(dib.size()) - 40, 0, 0x00CC0020, 100, 100})
        put32(body, uint32_t(v));
    body.insert(body.end(), dib.begin(), dib.begin() + 40);
    body.insert(body.end(), dib.begin() + 40, dib.end());
    Emf e;
    e.raw(81, body);
    QImage img = render(e.bytes());
    EXPECT_EQ(at(img, 10, 10), Red);
    EXPECT_EQ(at(img, 90, 10), Green);
    EXPECT_EQ(at(img, 10, 90), Blue);
    EXPECT_EQ(at(img, 90, 90), White);
}

TEST(MetafilePlay, WindowsMetafileObjectTableReusesTheLowestFreeSlot)
{
    // Brushes red (slot 0), green (slot 1); delete slot 0; blue takes slot 0.
    Wmf w(0, 0, 100, 100, 96);
    w.window(0, 0, 100, 100);
    w.brush(rgb(255, 0, 0)).brush(rgb(0, 255, 0)).rec(0x01F0, {0}).brush(rgb(0, 0, 255));
    w.rec(0x02FA, {5, 0, 0, 0, 0}); // null pen, slot 2
    w.rec(0x012D, {2}).rec(0x012D, {0}).rec(0x041B, {60, 60, 10, 10});
    w.rec(0x012D, {1}).rec(0x041B, {100, 100, 70, 70});
    QImage img = render(w.bytes());
    EXPECT_EQ(at(img, 30, 30), Blue);
    EXPECT_EQ(at(img, 85, 85), Green);
}

TEST(MetafilePlay, WindowsMetafileWindowMapsOntoTheBox)
{
    // Window 1000 x 1000 units onto a 100 x 100 picture; a polygon and a region clip.
    Wmf w(0, 0, 100, 100, 96);
    w.window(0, 0, 1000, 1000);
    w.brush(rgb(255, 0, 0)).rec(0x02FA, {5, 0, 0, 0, 0}).rec(0x012D, {0}).rec(0x012D, {1});
    // Region: one scan 0..500 high, x 0..500.
    w.rec(0x06FF, {0, 6, 0, 0, 0, 1, 1, 0, 0, 500, 500, 2, 0, 500, 0, 500, 2});
    w.rec(0x012C, {2});
    w.rec(0x0324, {4, 0, 0, 1000, 0, 1000, 1000, 0, 1000});
    QImage img = render(w.bytes());
    EXPECT_EQ(at(img, 25, 25), Red);
    EXPECT_EQ(at(img, 75, 75), Background);
    EXPECT_EQ(at(img, 75, 25), Background);
}

TEST(MetafilePlay, TextSitsOnItsReferencePoint)
{
    auto textRecord = [](Emf& e, int x, int y, const std::u16string& s) {
        std::vector<uint8_t> body;
        for (int v : {0, 0, 0, 0, 1, 0, 0, x, y, int(s.size()), 76, 0, 0, 0, -1, -1, 0})
            put32(body, uint32_t(v));
        for (char16_t c : s)
            put16(body, c);
        e.raw(84, body);
    };
    std::vector<uint8_t> font;
    for (int v : {1, -20, 0, 0, 0, 400, 0})
        put32(font, uint32_t(v));
    for (char16_t c : std::u16string(u"Arial"))
        put16(font, c);
    font.resize(4 + 92, 0);

    struct Case {
        const char* what;
        int align;
        QPoint ref;
    };
    for (const Case& c : {Case{"left top", 0, QPoint(10, 10)}, Case{"right baseline", 2 | 24, QPoint(90, 60)},
                          Case{"centre bottom", 6 | 8, QPoint(50, 90)}}) {
        SCOPED_TRACE(c.what);
        Emf e;
        e.raw(82, font).select(1).rec(18, {1}).rec(24, {0}).rec(22, {c.align});
        textRecord(e, c.ref.x(), c.ref.y(), u"HHH");
        QRect ink = inkBox(render(e.bytes()));
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_GE(ink.height(), 10);
        EXPECT_LE(ink.height(), 18);
        if ((c.align & 6) == 0)
            EXPECT_NEAR(ink.left(), c.ref.x(), 3);
        else if ((c.align & 6) == 2)
            EXPECT_NEAR(ink.right(), c.ref.x(), 3);
        else
            EXPECT_NEAR(ink.center().x(), c.ref.x(), 3);
        if ((c.align & 24) == 0)
            EXPECT_NEAR(ink.top(), c.ref.y() + 3, 3); // below the top of the cell by the internal leading
        else if ((c.align & 24) == 24)
            EXPECT_NEAR(ink.bottom(), c.ref.y(), 2);
        else
            EXPECT_LT(ink.bottom(), c.ref.y() - 2); // the descent stays below the letters
    }
}
