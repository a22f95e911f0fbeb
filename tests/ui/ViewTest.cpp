// The actual-size button and the view window's scroll bars.
#include "AppFixture.h"
#include "PictureFiles.h"
#include <QScrollBar>
#include <QTest>

using namespace testsupport;

namespace {

class ActualSize : public AppFixture {
protected:
    void populate(const QString& d) override
    {
        for (QSize s : {QSize(640, 480), QSize(500, 200), QSize(490, 300), QSize(32, 32), QSize(800, 600),
                        QSize(1024, 768)})
            writeFile(QStringLiteral("%1/p%2x%3.bmp").arg(d).arg(s.width()).arg(s.height()),
                      bmp24(s.width(), s.height(), QColor(10, 20, 30)));
        writeFile(d + "/i.ico", icon32({{16, Qt::green}}));
    }

    void select(QSize s) { select(QStringLiteral("p%1x%2.bmp").arg(s.width()).arg(s.height())); }
    void select(const QString& name)
    {
        vcl::TFileListBox* list = ImageForm->FileListBox1;
        const int row = int(list->Items().indexOf(name));
        ASSERT_GE(row, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
    }
    void press() { QTest::mouseClick(ImageForm->ViewBtn, Qt::LeftButton); }

    QScrollBar* hbar() { return ViewForm->HorzScrollBar()->bar(); }
    QScrollBar* vbar() { return ViewForm->VertScrollBar()->bar(); }
    // The view window with a client area of 495 x 287 without bars.
    void sizeView()
    {
        ViewForm->setWindowState(Qt::WindowNoState);
        ViewForm->resize(495, 287);
    }
};

} // namespace

TEST_F(ActualSize, ScrollBarsFollowThePictureSize)
{
    sizeView();
    const int s = ViewForm->ScrollBarThickness();
    struct Row {
        QSize picture;
        bool h, v;
    };
    const Row rows[] = {
        {{640, 480}, true, true},
        {{500, 200}, true, false},
        {{490, 300}, true, true},   // the vertical bar brings the horizontal one
        {{32, 32}, false, false},
    };
    for (const Row& r : rows) {
        select(r.picture);
        press();
        SCOPED_TRACE(r.picture.width());
        EXPECT_EQ(hbar()->isVisible(), r.h);
        EXPECT_EQ(vbar()->isVisible(), r.v);
        const int cw = 495 - (r.v ? s : 0), ch = 287 - (r.h ? s : 0);
        EXPECT_EQ(ViewForm->ClientSize(), QSize(cw, ch));
        if (r.h) {
            EXPECT_EQ(hbar()->maximum(), r.picture.width() - cw);
            EXPECT_EQ(hbar()->pageStep(), cw);
            EXPECT_EQ(hbar()->singleStep(), 8);
        }
        if (r.v)
            EXPECT_EQ(vbar()->maximum(), r.picture.height() - ch);
        EXPECT_EQ(ViewForm->Image1->size(), QSize(std::max(r.picture.width(), cw), std::max(r.picture.height(), ch)));
    }
}

TEST_F(ActualSize, ExtentsChangeOnlyWithTheButton)
{
    sizeView();
    select(QSize(800, 600));
    press();
    select(QSize(1024, 768));   // while the view window is open
    EXPECT_EQ(ViewForm->Caption(), QStringLiteral("Kelpora - p1024x768.bmp (1024 x 768)"));
    EXPECT_EQ(ViewForm->Image1->size(), QSize(800, 600));   // cut off at the old extent
    press();
    EXPECT_EQ(ViewForm->Image1->size(), QSize(1024, 768));
    EXPECT_EQ(hbar()->maximum(), 1024 - ViewForm->ClientSize().width());

    // Scrolled to the far corner, then a smaller picture: positions come back.
    hbar()->setValue(hbar()->maximum());
    vbar()->setValue(vbar()->maximum());
    EXPECT_EQ(ViewForm->Image1->pos(), QPoint(-hbar()->maximum(), -vbar()->maximum()));
    select(QSize(500, 200));
    press();
    EXPECT_EQ(ViewForm->HorzScrollBar()->Position(), 500 - 495);
    EXPECT_EQ(ViewForm->VertScrollBar()->Position(), 0);
    EXPECT_EQ(ViewForm->Image1->pos(), QPoint(-5, 0));
}

TEST_F(ActualSize, StepsPagesAndTheThumb)
{
    sizeView();
    select(QSize(1024, 768));
    press();
    hbar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(ViewForm->Image1->x(), -8);
    hbar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(ViewForm->Image1->x(), -8 - ViewForm->ClientSize().width());
    hbar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(ViewForm->HorzScrollBar()->Position(), hbar()->maximum());
    hbar()->triggerAction(QAbstractSlider::SliderToMinimum);
    // Dragging moves the picture only when the thumb is released.
    vbar()->setSliderDown(true);
    vbar()->setSliderPosition(100);
    EXPECT_EQ(ViewForm->Image1->y(), 0);
    vbar()->setSliderDown(false);
    EXPECT_EQ(ViewForm->Image1->y(), -100);
    // Resizing never changes the extents; a window that holds the picture drops the bar.
    ViewForm->resize(1100, 287);
    EXPECT_FALSE(hbar()->isVisible());
    EXPECT_EQ(ViewForm->HorzScrollBar()->Position(), 0);
    EXPECT_EQ(ViewForm->HorzScrollBar()->Range(), 1024);
}

TEST_F(ActualSize, ButtonShowsAndRestoresTheViewWindow)
{
    press();   // nothing selected yet
    EXPECT_TRUE(ViewForm->isVisible());
    EXPECT_EQ(ViewForm->Caption(), QStringLiteral("Kelpora"));
    EXPECT_FALSE(hbar()->isVisible());
    EXPECT_FALSE(vbar()->isVisible());
    EXPECT_EQ(ViewForm->HorzScrollBar()->Range(), 0);

    for (Qt::WindowState st : {Qt::WindowMaximized, Qt::WindowMinimized}) {
        ViewForm->setWindowState(st);
        press();
        EXPECT_EQ(ViewForm->windowState(), Qt::WindowNoState);
        EXPECT_TRUE(ViewForm->isVisible());
    }

    // After an icon the view keeps its caption until the button.
    select(QSize(32, 32));
    const QString caption = ViewForm->Caption();
    select(QStringLiteral("i.ico"));
    EXPECT_EQ(ViewForm->Caption(), caption);
    press();
    EXPECT_EQ(ViewForm->Caption(), QStringLiteral("Kelpora - i.ico"));
    EXPECT_EQ(ViewForm->HorzScrollBar()->Range(), 16);
}

TEST_F(ActualSize, HugeAndEmptyExtentsStaySound)
{
    sizeView();
    for (QSize r : {QSize(0, 0), QSize(100000, 40000), QSize(2147483647, 2147483647), QSize(-5, 3)}) {
        ViewForm->SetRanges(r.width(), r.height());
        EXPECT_GE(hbar()->maximum(), 0);
        EXPECT_GE(vbar()->maximum(), 0);
        hbar()->triggerAction(QAbstractSlider::SliderToMaximum);
        EXPECT_GE(ViewForm->Image1->width(), ViewForm->ClientSize().width());
    }
}

TEST_F(ActualSize, DrawsAtActualSizeOnTheWindowColour)
{
    sizeView();
    auto render = [] {
        QImage img(ViewForm->size(), QImage::Format_RGB32);
        img.setDevicePixelRatio(1);
        ViewForm->render(&img);
        return img;
    };
    const QColor window = ViewForm->palette().color(QPalette::Base);
    EXPECT_EQ(render().pixelColor(10, 10), window);   // nothing selected yet
    select(QSize(32, 32));
    press();
    QImage img = render();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(img.pixelColor(31, 31), QColor(10, 20, 30));
    EXPECT_EQ(img.pixelColor(32, 31), window);
    EXPECT_EQ(img.pixelColor(31, 32), window);
}
