// The two windows as the program creates them: layout, focus, error report,
// closing.
#include "AppFixture.h"
#include "ModalBox.h"
#include "forms/Exceptions.h"
#include <QTest>
#include <QWindow>

using testsupport::AppFixture;

using Windows = AppFixture;

TEST_F(Windows, BrowserWindowFollowsItsStoredLayout)
{
    struct Row {
        QWidget* w;
        QRect bounds;
        int tab;   // position in the tab chain, -1 when not a tab stop
    };
    TImageForm* f = ImageForm;
    const Row rows[] = {
        {f->DirectoryListBox1, {8, 11, 148, 260}, 1}, {f->DriveComboBox1, {9, 277, 148, 19}, 3},
        {f->FileEdit, {166, 13, 139, 21}, 0},          {f->Panel1, {355, 8, 493, 336}, -1},   // tab 6, no stop
        {f->Image1, {2, 2, 496, 337}, -1},            {f->FileListBox1, {166, 41, 139, 227}, 2},
        {f->ViewBtn, {8, 302, 137, 24}, 5},           {f->FilterComboBox1, {166, 275, 139, 21}, 4},
        {f->StretchCheck, {163, 302, 83, 17}, 7},     {f->Edit1, {8, 333, 341, 21}, 8},
    };
    EXPECT_EQ(f->size(), QSize(856, 362));
    EXPECT_EQ(f->minimumSize(), f->maximumSize());   // the user can't resize it
    EXPECT_FALSE(f->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(f->Caption(), QStringLiteral("Kelpora"));
    EXPECT_EQ(f->Image1->parentWidget(), f->Panel1);
    EXPECT_EQ(f->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(QFontMetrics(f->font()).height(), 13);

    // Walk the tab chain from the entry line.
    std::vector<QWidget*> chain{f->FileEdit};
    for (QWidget* w = f->FileEdit->nextInFocusChain(); w && w != f->FileEdit; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            chain.push_back(w);
    std::vector<std::pair<int, QWidget*>> stops;
    for (const Row& r : rows) {
        EXPECT_EQ(r.w->geometry(), r.bounds) << r.w->objectName().toStdString();
        if (r.tab >= 0)
            stops.emplace_back(r.tab, r.w);
    }
    std::sort(stops.begin(), stops.end());
    ASSERT_EQ(chain.size(), stops.size());
    for (std::size_t i = 0; i < stops.size(); ++i)
        EXPECT_EQ(chain[i], stops[i].second) << "tab position " << i;
    EXPECT_EQ(f->ViewBtn->text(), QString::fromUtf8("&Vue Taille Réelle"));
    EXPECT_EQ(f->StretchCheck->text(), QStringLiteral("Ajuste Taille"));
    EXPECT_FALSE(f->StretchCheck->Checked());
    EXPECT_EQ(f->Edit1->Text(), QString::fromUtf8("Taille (réelle = image sans redimention)  (Ajuste = Zoom au mieux)"));
}

TEST_F(Windows, StartsWithTheEntryLineFocusedAndTheViewHidden)
{
    EXPECT_TRUE(ImageForm->isVisible());
    EXPECT_FALSE(ViewForm->isVisible());
    EXPECT_EQ(app->MainForm(), ImageForm);
    EXPECT_EQ(ImageForm->FileEdit->Text(), QStringLiteral("*.bmp;*.ico;*.wmf;*.emf"));
    EXPECT_EQ(QApplication::focusWidget(), ImageForm->FileEdit);
    EXPECT_EQ(ImageForm->FileEdit->selectedText(), ImageForm->FileEdit->Text());
    EXPECT_EQ(ViewForm->Caption(), QStringLiteral("View Form"));
    EXPECT_TRUE(ViewForm->Image1->Picture().Graphic() == nullptr);
    EXPECT_EQ(app->Title, QStringLiteral("Kelpora"));
    EXPECT_FALSE(app->Icon.isNull());
}

TEST_F(Windows, ErrorsFromHandlersAreShownOnceAndTheProgramGoesOn)
{
    ImageForm->activateWindow();
    QApplication::processEvents();
    auto box = testsupport::acceptNextBox();
    bool after = false;
    EXPECT_FALSE(vcl::runGuarded([&] {
        throw vcl::EInvalidGraphic::badBitmap();
        after = true;
    }));
    EXPECT_FALSE(after);
    ASSERT_TRUE(box->seen);
    EXPECT_EQ(box->title, QStringLiteral("Kelpora"));
    EXPECT_EQ(box->text, QStringLiteral("Image bitmap incorrecte."));
    EXPECT_EQ(box->icon, QMessageBox::Critical);
    EXPECT_EQ(box->buttonCount, 1);
    EXPECT_TRUE(box->applicationModal);

    // The silent abort shows nothing.
    auto none = testsupport::acceptNextBox();
    vcl::runGuarded([] { throw vcl::EAbort(); });
    QTest::qWait(20);
    EXPECT_FALSE(none->seen);

    // Both windows still work afterwards.
    EXPECT_TRUE(ImageForm->isEnabled());
    QTest::mouseClick(ImageForm->ViewBtn, Qt::LeftButton);
    EXPECT_TRUE(ViewForm->isVisible());
}

TEST_F(Windows, ClosingTheViewHidesItAndClosingTheBrowserEndsTheProgram)
{
    QTest::mouseClick(ImageForm->ViewBtn, Qt::LeftButton);
    ASSERT_TRUE(ViewForm->isVisible());
    // Grouped with the browser window: one taskbar entry, minimised with it.
    ASSERT_NE(ViewForm->windowHandle(), nullptr);
    EXPECT_EQ(ViewForm->windowHandle()->transientParent(), ImageForm->windowHandle());
    ViewForm->close();
    EXPECT_FALSE(ViewForm->isVisible());
    EXPECT_FALSE(app->Terminated());
    QTest::mouseClick(ImageForm->ViewBtn, Qt::LeftButton);
    EXPECT_TRUE(ViewForm->isVisible());   // shown again, same window

    ImageForm->close();
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(ImageForm->isVisible());
    EXPECT_FALSE(ViewForm->isVisible());
}

TEST_F(Windows, ViewButtonAnswersAltVAnywhereAndVOnButtons)
{
    QApplication::setActiveWindow(ImageForm);
    int clicks = 0;
    QObject::connect(ImageForm->ViewBtn, &QPushButton::clicked, [&] { ++clicks; });
    ImageForm->FileEdit->setFocus();
    QTest::keyClick(ImageForm->FileEdit, Qt::Key_V, Qt::AltModifier);
    QTest::qWait(300);
    EXPECT_EQ(clicks, 1) << "alt";
    QTest::keyClick(ImageForm->FileEdit, Qt::Key_V);   // typed into the line
    QTest::qWait(300);
    EXPECT_EQ(clicks, 1);
    QApplication::setActiveWindow(ImageForm);   // the button brought the view window up
    ImageForm->StretchCheck->setFocus();
    QTest::keyClick(ImageForm->StretchCheck, Qt::Key_V);
    QTest::qWait(300);
    EXPECT_EQ(clicks, 2);
    QApplication::setActiveWindow(ImageForm);
    ImageForm->ViewBtn->setFocus();
    QTest::keyClick(ImageForm->ViewBtn, Qt::Key_Return);
    QTest::qWait(300);
    EXPECT_EQ(clicks, 3);
}
