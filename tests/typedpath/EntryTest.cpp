// Typing into the browser's entry line and pressing Enter.
#include "ModalBox.h"
#include "TypedPathFixture.h"
#include "filectrls/TypedPath.h"
#include "forms/Exceptions.h"
#include "controls/EventGuard.h"

using testsupport::acceptNextBox;

namespace {

using Entry = TypedPathApp;

TEST_F(Entry, TypicalTexts)
{
    const QString sub = folder + "\\sub";
    struct Row {
        QString from, typed;
        QString folder, mask, selected, edit;
        QChar drive;
        QStringList items; // checked when not empty
    };
    const QString m = kStartMask;
    const Row rows[] = {
        {folder, "*.ico", folder, "*.ico", "", "*.ico", 'c', {"icon.ico"}},
        {folder, other + "\\*.bmp", other, "*.bmp", "", "*.bmp", 'c', {"far.bmp"}},
        {folder, "sub", sub, m, "", m, 'c', {"s.bmp"}},
        {sub, "..", folder, m, "", m, 'c', {"icon.ico", "photo.bmp", "zebra.bmp"}},
        {folder, "sub\\deeper", sub + "\\deeper", m, "", m, 'c', {"deep.bmp"}},
        {sub + "\\deeper", folder, folder, m, "", m, 'c', {}},
        {folder, "[sub]", sub, m, "", m, 'c', {}},
        {folder, "C:\\", "C:\\", m, "", m, 'c', {}},
        {folder, "\\", "C:\\", m, "", m, 'c', {}},
        {folder, "D:", "D:\\work", m, "", m, 'd', {}},
        {folder, "D:\\data", "D:\\data", m, "", m, 'd', {"dd.bmp"}},
        // The drive changes first (the list reads D's current folder); the
        // folder that fails leaves it there.
        {folder, "D:\\nosuch", "D:\\work", m, "", m, 'd', {}},
        {folder, "photo.bmp", folder, m, "photo.bmp", "photo.bmp", 'c', {}},
        {folder, "ZEBRA.BMP", folder, m, "zebra.bmp", "zebra.bmp", 'c', {}},
        {folder, "sub\\s.bmp", sub, m, "s.bmp", "s.bmp", 'c', {}},
        {folder, "readme.txt", folder, "readme.txt", "readme.txt", "readme.txt", 'c', {"readme.txt"}},
        // Hidden files are a file to type but never listed.
        {folder, ".secret.bmp", folder, ".secret.bmp", "", ".secret.bmp", 'c', {}},
        {folder, "nosuch.bmp", folder, m, "", "nosuch.bmp", 'c', {}},
        {folder, "C:\\nosuchdir", folder, m, "", "C:\\nosuchdir", 'c', {}},
        {folder, "E:", folder, m, "", "E:", 'e', {}},
        {folder, "\\\\srv\\share\\shared", "\\\\srv\\share\\shared", m, "", m, 'c', {"n.bmp"}},
        {folder, out + "/other/*.ico", other, "*.ico", "", "*.ico", 'c', {"far.ico"}},
        {folder, "sub/deeper", sub + "\\deeper", m, "", m, 'c', {}},
    };
    vcl::TFileListBox* list = ImageForm->FileListBox1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed.toStdString());
        restart(r.from);
        auto box = acceptNextBox();
        typeAndEnter(r.typed);
        EXPECT_FALSE(box->seen) << box->text.toStdString();
        EXPECT_EQ(shownFolder(), r.folder);
        EXPECT_EQ(ImageForm->DirectoryListBox1->Directory(), r.folder);
        EXPECT_EQ(vcl::fs::currentFolder(), r.folder);
        EXPECT_EQ(list->Mask(), r.mask);
        EXPECT_EQ(list->ItemIndex() < 0 ? QString() : list->Items()[list->ItemIndex()], r.selected);
        EXPECT_EQ(ImageForm->FileEdit->Text(), r.edit);
        EXPECT_EQ(ImageForm->DriveComboBox1->Drive(), r.drive);
        if (!r.items.isEmpty())
            EXPECT_EQ(list->Items(), r.items);
        // A typed text never previews and never moves the filter list.
        EXPECT_EQ(ImageForm->Caption(), "Kelpora");
        EXPECT_EQ(ImageForm->Image1->Picture().Width(), 0);
        EXPECT_EQ(ImageForm->FilterComboBox1->currentIndex(), 0);
    }
}

TEST_F(Entry, NothingHappensForEmptyTextOrTheSelectedFilesPath)
{
    typeAndEnter("photo.bmp");
    ASSERT_EQ(ImageForm->FileListBox1->FileName(), folder + "\\photo.bmp");
    for (const QString& text : {QString(), (folder + "\\PHOTO.bmp").toLower(), folder + "\\PHOTO.BMP"}) {
        setAndEnter(text);
        // Applied, the name would have been written back as "photo.bmp".
        EXPECT_EQ(ImageForm->FileEdit->Text(), text);
        EXPECT_EQ(ImageForm->FileListBox1->FileName(), folder + "\\photo.bmp");
    }
}

TEST_F(Entry, MasksCompareWithCase)
{
    vcl::TFileListBox* list = ImageForm->FileListBox1;
    typeAndEnter("*.bmp");
    const QStringList bitmaps = list->Items();
    typeAndEnter("photo.bmp");
    typeAndEnter("*.bmp"); // equal: not read again, the selection stays
    EXPECT_EQ(list->ItemIndex(), 0);
    typeAndEnter("*.BMP"); // differs in case: read again, same files
    EXPECT_EQ(list->Mask(), "*.BMP");
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->Items(), bitmaps);
    EXPECT_EQ(ImageForm->FileEdit->Text(), "*.BMP");
    EXPECT_EQ(ImageForm->FileEdit->selectedText(), "*.BMP");
}

TEST_F(Entry, TypedNameHighlightsWithoutPreviewAndAnArrowKeyPreviews)
{
    typeAndEnter("photo.bmp");
    EXPECT_EQ(ImageForm->Caption(), "Kelpora");
    EXPECT_EQ(ImageForm->FileEdit->selectedText(), "photo.bmp");
    QTest::keyClick(ImageForm->FileListBox1, Qt::Key_Down);
    EXPECT_EQ(ImageForm->Caption(), "Kelpora - zebra.bmp (30 x 15)");
    EXPECT_EQ(ImageForm->Image1->Picture().Width(), 30);
    EXPECT_EQ(ImageForm->FileEdit->Text(), "zebra.bmp");
}

TEST_F(Entry, EnterStaysOutOfTheLineOtherKeysGoIn)
{
    int returns = 0;
    QObject::connect(ImageForm->FileEdit, &QLineEdit::returnPressed, [&] { ++returns; });
    typeAndEnter("sub");
    typeAndEnter("nosuch");
    EXPECT_EQ(returns, 0);

    // A handler that raised has consumed the Enter as well.
    vcl::TEdit* edit = ImageForm->FileEdit;
    const vcl::TKeyPressEvent handler = edit->OnKeyPress;
    edit->OnKeyPress = [](vcl::TObject*, QChar&) { throw vcl::EInvalidFileName("x"); };
    auto box = acceptNextBox();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(box->seen);
    EXPECT_EQ(returns, 0);
    edit->OnKeyPress = handler;

    ImageForm->FileEdit->setText("");
    QTest::keyClicks(ImageForm->FileEdit, "abc");
    QTest::keyClick(ImageForm->FileEdit, Qt::Key_Backspace);
    QTest::keyClick(ImageForm->FileEdit, Qt::Key_Escape);
    EXPECT_EQ(ImageForm->FileEdit->Text(), "ab");
}

// The name was a file when the text was split and is gone when the list
// looks for it.
TEST_F(Entry, NameGoneAfterSplittingIsReportedWithTheWholeText)
{
    const QString typed = "sub\\s.bmp";
    const std::optional<vcl::TypedPath> split = vcl::splitTypedPath(typed);
    ASSERT_TRUE(split && split->name == "s.bmp");
    ASSERT_TRUE(QFile::remove(dir.path() + "/sub/s.bmp"));

    auto box = acceptNextBox();
    EXPECT_FALSE(vcl::runGuarded([&] { vcl::applyTypedPath(*ImageForm->FileListBox1, typed, *split); }));
    ASSERT_TRUE(box->seen);
    EXPECT_EQ(box->text, "Nom de fichier incorrect - sub\\s.bmp.");
    // The lists had already moved.
    EXPECT_EQ(shownFolder(), folder + "\\sub");

    try {
        vcl::applyTypedPath(*ImageForm->FileListBox1, typed, *split);
        ADD_FAILURE() << "no error raised";
    } catch (const vcl::EInvalidFileName& e) {
        EXPECT_EQ(e.Message(), "Nom de fichier incorrect - sub\\s.bmp");
    }
}

} // namespace
