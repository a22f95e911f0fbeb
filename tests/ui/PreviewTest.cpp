// Selecting pictures in the file list: caption, window icon, preview pixels,
// the view window, the fit box and the error reports.
#include "AppFixture.h"
#include "ModalBox.h"
#include "PictureFiles.h"
#include <QTest>

using namespace testsupport;

TEST(PreviewGeometry, DestinationRectangleInThePreview)
{
    struct Row {
        QSize picture;
        bool stretch;
        QRect expected;   // left, top, right, bottom
    };
    const Row rows[] = {
        {{100, 50}, false, QRect(QPoint(198, 143), QPoint(298, 193))},
        {{100, 50}, true, QRect(QPoint(0, 44), QPoint(496, 292))},
        {{1000, 500}, false, QRect(QPoint(0, 44), QPoint(496, 292))},
        {{1000, 500}, true, QRect(QPoint(0, 44), QPoint(496, 292))},
        {{300, 600}, false, QRect(QPoint(164, 0), QPoint(332, 337))},
        {{640, 480}, false, QRect(QPoint(23, 0), QPoint(472, 337))},
        {{16, 16}, false, QRect(QPoint(240, 160), QPoint(256, 176))},
        {{16, 16}, true, QRect(QPoint(79, 0), QPoint(416, 337))},
        {{0, 0}, false, QRect(QPoint(248, 168), QPoint(248, 168))},
        {{0, 0}, true, QRect(QPoint(0, 0), QPoint(496, 337))},
        {{600, 0}, false, QRect(QPoint(0, 0), QPoint(496, 337))},
    };
    for (const Row& r : rows) {
        const QRect d = vcl::TImage::destRect(r.picture, QSize(496, 337), r.stretch, true, true);
        // QRect's right/bottom are inclusive; compare the exclusive edges.
        EXPECT_EQ(QRect(d.topLeft(), QPoint(d.left() + d.width(), d.top() + d.height())), r.expected)
            << r.picture.width() << "x" << r.picture.height() << " stretch " << r.stretch;
    }
}

namespace {

const QColor kRed(255, 0, 0), kBlue(0, 0, 255), kGreen(0, 255, 0);

class Selection : public AppFixture {
protected:
    void populate(const QString& d) override
    {
        writeFile(d + "/cat.bmp", bmp24(100, 50, kRed));
        writeFile(d + "/dog.BMP", bmp24(30, 20, kGreen));
        writeFile(d + "/two.ico", icon32({{32, kBlue}, {16, kGreen}}));
        writeFile(d + "/blank.bmp", QByteArray());
        writeFile(d + "/corrupt.bmp", QByteArray("BM") + QByteArray(60, '\x01'));
        writeFile(d + "/gone.bmp", bmp24(4, 4, kRed));
        writeFile(d + "/notes.txt", "hello");
        writeFile(d + "/x.bmpx", bmp24(4, 4, kRed));
        writeFile(d + "/shape.wmf", redRectangleWmf(1440, 720));
        writeFile(d + "/empty.ico", QByteArray("\0\0\1\0\0\0", 6));   // a sound header, no images
        writeFile(d + "/noheader.wmf", redRectangleWmf(1440, 720).mid(22));
    }

    // Clicks the item as a user would.
    void click(const QString& name)
    {
        vcl::TFileListBox* list = ImageForm->FileListBox1;
        const int row = int(list->Items().indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QApplication::processEvents();
    }

    // The browser window as drawn, at one device pixel per pixel.
    QImage shot()
    {
        QImage img(ImageForm->size(), QImage::Format_RGB32);
        img.setDevicePixelRatio(1);
        ImageForm->render(&img);
        return img;
    }
    // A pixel of the preview control, in its own coordinates.
    QColor preview(const QImage& img, int x, int y) { return img.pixelColor(355 + 2 + x, 8 + 2 + y); }

    QColor face() { return ImageForm->Panel1->palette().color(QPalette::Button); }
};

} // namespace

TEST_F(Selection, BitmapNamesItsSizeAndGoesToTheView)
{
    click("cat.bmp");
    EXPECT_EQ(ImageForm->Caption(), QStringLiteral("Kelpora - cat.bmp (100 x 50)"));
    EXPECT_EQ(ViewForm->Caption(), ImageForm->Caption());
    EXPECT_EQ(ViewForm->Image1->Picture().Width(), 100);
    EXPECT_EQ(ImageForm->FileEdit->Text(), QStringLiteral("cat.bmp"));
    // Shared, not copied.
    EXPECT_EQ(ViewForm->Image1->Picture().Bitmap()->image().constBits(),
              ImageForm->Image1->Picture().Bitmap()->image().constBits());

    QImage img = shot();
    EXPECT_EQ(preview(img, 198, 143), kRed);
    EXPECT_EQ(preview(img, 297, 192), kRed);
    EXPECT_EQ(preview(img, 197, 143), face());
    EXPECT_EQ(preview(img, 298, 192), face());

    // The fit box scales it to the largest size that fits, and back.
    QTest::mouseClick(ImageForm->StretchCheck, Qt::LeftButton);
    img = shot();
    EXPECT_EQ(preview(img, 0, 44), kRed);
    EXPECT_EQ(preview(img, 488, 291), kRed);   // the frame clips the rest
    EXPECT_EQ(preview(img, 10, 43), face());
    QTest::mouseClick(ImageForm->StretchCheck, Qt::LeftButton);
    EXPECT_EQ(preview(shot(), 10, 150), face());

    click("dog.BMP");   // the key ignores case
    EXPECT_EQ(ImageForm->Caption(), QStringLiteral("Kelpora - dog.BMP (30 x 20)"));
}

TEST_F(Selection, IconBecomesTheWindowIconAndKeepsTheViewCaption)
{
    click("cat.bmp");
    const QString viewCaption = ViewForm->Caption();
    const qint64 appIconKey = ImageForm->windowIcon().cacheKey();
    click("two.ico");
    EXPECT_EQ(ImageForm->Caption(), QStringLiteral("Kelpora - two.ico"));
    EXPECT_EQ(ViewForm->Caption(), viewCaption);
    EXPECT_NE(ImageForm->windowIcon().cacheKey(), appIconKey);
    // The 16 x 16 image is chosen, everywhere.
    EXPECT_EQ(ImageForm->Image1->Picture().Width(), 16);
    EXPECT_EQ(ViewForm->Image1->Picture().Width(), 16);
    EXPECT_EQ(ImageForm->windowIcon().pixmap(16, 16).toImage().pixelColor(8, 8), kGreen);
    const QImage img = shot();
    EXPECT_EQ(preview(img, 241, 161), kGreen);
    EXPECT_EQ(preview(img, 240, 160), face());   // its transparent corner
    EXPECT_EQ(preview(img, 239, 165), face());

    QTest::mouseClick(ImageForm->StretchCheck, Qt::LeftButton);   // icons only move
    EXPECT_EQ(preview(shot(), 80, 1), kGreen);
    EXPECT_EQ(preview(shot(), 96, 1), face());
}

TEST_F(Selection, FailedLoadsReportAndChangeNothing)
{
    click("cat.bmp");
    const QString caption = ImageForm->Caption();
    const QImage before = shot();

    struct Row {
        QString name;
        QString message;   // empty: ignored without a message
    };
    ImageForm->FilterComboBox1->PickEntry(4);   // All files (*.*)
    QFile::remove(dir.path() + "/gone.bmp");   // after the list was read
    const QString gonePath = vcl::fs::joinDrivePath(folder, QStringLiteral("gone.bmp"));
    const Row rows[] = {
        {"corrupt.bmp", "Image bitmap incorrecte."},
        {"gone.bmp", "Impossible d'ouvrir le fichier " + gonePath + "."},
        {"x.bmpx", "Extension de fichier image inconnue (.bmpx)"},
        {"notes.txt", ""},
    };
    for (const Row& r : rows) {
        auto box = acceptNextBox();
        click(r.name);
        QTest::qWait(50);
        EXPECT_EQ(box->seen, !r.message.isEmpty()) << r.name.toStdString();
        EXPECT_EQ(box->text, r.message) << r.name.toStdString();
        EXPECT_EQ(ImageForm->Caption(), caption) << r.name.toStdString();
        EXPECT_EQ(ViewForm->Caption(), caption);
        EXPECT_EQ(ViewForm->Image1->Picture().Width(), 100);
        EXPECT_EQ(preview(shot(), 250, 170), kRed);
    }
}

TEST_F(Selection, MetafilePlaysIntoThePreviewAndGoesToTheView)
{
    click("cat.bmp");
    const QString viewCaption = ViewForm->Caption();
    click("shape.wmf");
    EXPECT_EQ(ImageForm->Caption(), QStringLiteral("Kelpora - shape.wmf"));
    EXPECT_EQ(ViewForm->Caption(), viewCaption);
    EXPECT_EQ(ImageForm->Image1->Picture().Width(), 96);   // 1440 units of 1/1440 inch at 96 dpi
    EXPECT_EQ(ImageForm->Image1->Picture().Height(), 48);
    ASSERT_NE(ViewForm->Image1->Picture().Metafile(), nullptr);
    const QImage img = shot();
    EXPECT_EQ(preview(img, 248, 168), kRed);
    EXPECT_EQ(preview(img, 190, 168), face());

    auto box = acceptNextBox();
    click("noheader.wmf");
    QTest::qWait(50);
    EXPECT_EQ(box->text, QStringLiteral("MetaFichier incorrect."));
    EXPECT_EQ(ImageForm->Caption(), QStringLiteral("Kelpora - shape.wmf"));
}

TEST_F(Selection, IconWithoutImagesIsReportedOnceOnly)
{
    auto box = acceptNextBox();
    click("empty.ico");
    QTest::qWait(50);
    EXPECT_EQ(box->text, QString::fromUtf8("Ressources système insuffisantes."));
    // The load itself succeeded: the caption names the file; redraws stay quiet.
    EXPECT_EQ(ImageForm->Caption(), QStringLiteral("Kelpora - empty.ico"));
    auto again = acceptNextBox();
    shot();
    ImageForm->repaint();
    QTest::qWait(50);
    EXPECT_FALSE(again->seen);
    click("cat.bmp");
    EXPECT_EQ(ImageForm->Caption(), QStringLiteral("Kelpora - cat.bmp (100 x 50)"));
}

TEST_F(Selection, EmptyBitmapLoadsAsNothingToDraw)
{
    click("blank.bmp");
    EXPECT_EQ(ImageForm->Caption(), QStringLiteral("Kelpora - blank.bmp (0 x 0)"));
    EXPECT_EQ(preview(shot(), 248, 168), face());
}
