#include "FileControlsFixture.h"
#include "controls/EventGuard.h"
#include "controls/StdControls.h"
#include "filectrls/FileControls.h"
#include <QApplication>
#include <QKeyEvent>
#include <memory>
#include <stdexcept>
#include <unistd.h>

using namespace vcl;

namespace {

void key(QWidget* w, int k, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

struct Browser {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TDirectoryListBox* dirs = new TDirectoryListBox(window.get());
    TDriveComboBox* drives = new TDriveComboBox(window.get());
    TEdit* edit = new TEdit(window.get());
    TFileListBox* files = new TFileListBox(window.get());
    TFilterComboBox* filter = new TFilterComboBox(window.get());

    Browser()
    {
        edit->setText("*.bmp;*.ico;*.wmf;*.emf");
        files->SetMask("*.bmp;*.ico;*.wmf;*.emf");
        filter->SetFilter("Image Files (*.bmp, *.ico, *.wmf, *.emf)|*.bmp;*.ico;*.wmf;*.emf|Bitmap Files "
                          "(*.bmp)|*.bmp|Icons (*.ico)|*.ico|Metafiles (*.wmf, *.emf)|*.wmf;*.emf|All files "
                          "(*.*)|*.*");
        dirs->SetFileList(files);
        drives->SetDirList(dirs);
        files->SetFileEdit(edit);
        filter->SetFileList(files);
    }
};

class FileControls : public DriveD {
protected:
    void SetUp() override
    {
        DriveD::SetUp();
        mkdirs("Pics/Sub/Deeper");
        mkdirs("Pics/Sub/beta");
        mkdirs("Pics/Sub/Alpha");
        mkdirs("Pics/Sub/.cache");
        for (const char* f : {"c.wmf", "a.bmp", "B.ICO", "d.emf", "a.bmp.txt", ".secret.bmp", "notes.txt"})
            touch(QString("Pics/Sub/") + f);
        touch("top.bmp");
    }
};

TEST_F(FileControls, StartInNestedFolder)
{
    startIn("D:\\Pics\\Sub");
    Browser b;
    EXPECT_EQ(b.dirs->Directory(), "D:\\Pics\\Sub");
    EXPECT_EQ(b.files->Directory(), "D:\\Pics\\Sub");
    EXPECT_EQ(b.drives->Drive(), QChar('d'));
    EXPECT_EQ(b.filter->currentText(), "Image Files (*.bmp, *.ico, *.wmf, *.emf)");

    using G = TDirectoryListBox::Glyph;
    struct Row {
        const char* text;
        int indent;
        G glyph;
    };
    // Subfolders sit at 4 x (count of "\" + 1) + 2.
    const Row want[] = {{"D:\\", 2, G::Open},    {"Pics", 6, G::Open},   {"Sub", 10, G::Current},
                        {"Alpha", 14, G::Closed}, {"beta", 14, G::Closed}, {"Deeper", 14, G::Closed}};
    ASSERT_EQ(b.dirs->ItemCount(), int(std::size(want)));
    for (int i = 0; i < b.dirs->ItemCount(); ++i) {
        EXPECT_EQ(b.dirs->ItemText(i), want[i].text);
        EXPECT_EQ(b.dirs->ItemIndent(i), want[i].indent) << i;
        EXPECT_EQ(b.dirs->ItemGlyph(i), want[i].glyph) << i;
    }
    EXPECT_EQ(b.dirs->ItemIndex(), 2);

    // Hidden files and a.bmp.txt stay out; nothing is selected.
    EXPECT_EQ(b.files->Items(), QStringList({"a.bmp", "B.ICO", "c.wmf", "d.emf"}));
    EXPECT_EQ(b.files->ItemIndex(), -1);
    EXPECT_EQ(b.files->FileName(), "");
}

TEST_F(FileControls, RootItemIsCurrentAndSubfoldersIndentFurther)
{
    startIn("D:\\");
    Browser b;
    ASSERT_EQ(b.dirs->ItemCount(), 2);
    EXPECT_EQ(b.dirs->ItemGlyph(0), TDirectoryListBox::Glyph::Current);
    EXPECT_EQ(b.dirs->ItemIndent(1), 10);
    EXPECT_EQ(b.files->Items(), QStringList({"top.bmp"}));
    b.files->SetItemIndex(0);
    EXPECT_EQ(b.files->FileName(), "D:\\top.bmp");
}

TEST_F(FileControls, OpeningItemsMovesFolderAndFileList)
{
    startIn("D:\\Pics\\Sub");
    Browser b;
    b.dirs->SetItemIndex(5); // Deeper
    key(b.dirs, Qt::Key_Return);
    EXPECT_EQ(b.dirs->Directory(), "D:\\Pics\\Sub\\Deeper");
    EXPECT_EQ(b.files->Directory(), "D:\\Pics\\Sub\\Deeper");
    EXPECT_EQ(b.dirs->ItemIndex(), 3);
    EXPECT_EQ(vcl::fs::currentFolder(), "D:\\Pics\\Sub\\Deeper");

    const QRect r = b.dirs->visualRect(b.dirs->model()->index(1, 0));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, r.center(), b.dirs->viewport()->mapToGlobal(r.center()),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b.dirs->viewport(), &dbl);
    EXPECT_EQ(b.dirs->Directory(), "D:\\Pics");
    EXPECT_EQ(b.edit->text(), "*.bmp;*.ico;*.wmf;*.emf");
}

TEST_F(FileControls, FilterPicksSetTheMaskAndWriteIt)
{
    startIn("D:\\Pics\\Sub");
    Browser b;
    b.filter->PickEntry(2);
    EXPECT_EQ(b.files->Items(), QStringList({"B.ICO"}));
    EXPECT_EQ(b.edit->text(), "*.ico");
    EXPECT_EQ(b.edit->selectedText(), "*.ico");
    b.filter->PickEntry(4);
    EXPECT_EQ(b.files->Items(), QStringList({"a.bmp", "a.bmp.txt", "B.ICO", "c.wmf", "d.emf", "notes.txt"}));

    // A mask set elsewhere is not followed by the filter list; an equal mask
    // reads nothing, a mask differing in case reads again.
    b.files->SetItemIndex(0);
    b.files->SetMask("*.*");
    EXPECT_EQ(b.files->ItemIndex(), 0);
    b.files->SetMask("*.BMP");
    EXPECT_EQ(b.files->ItemIndex(), -1);
    EXPECT_EQ(b.filter->currentIndex(), 4);
    EXPECT_EQ(b.filter->Mask(), "*.*");
}

TEST_F(FileControls, ArrowKeysRaiseClickThenWriteTheEntryLine)
{
    startIn("D:\\Pics\\Sub");
    Browser b;
    QStringList log;
    b.files->OnClick = [&](TObject*) { log << "click " + b.files->FileName() + " edit=" + b.edit->text(); };
    b.files->setFocus();
    key(b.files, Qt::Key_Down);
    key(b.files, Qt::Key_Down);
    key(b.files, Qt::Key_Up);
    EXPECT_EQ(log, QStringList({"click D:\\Pics\\Sub\\a.bmp edit=*.bmp;*.ico;*.wmf;*.emf",
                                "click D:\\Pics\\Sub\\B.ICO edit=a.bmp", "click D:\\Pics\\Sub\\a.bmp edit=B.ICO"}));
    EXPECT_EQ(b.edit->text(), "a.bmp");
    EXPECT_EQ(b.edit->selectedText(), "a.bmp");

    // Reading again clears the selection and writes the mask.
    b.files->Update();
    EXPECT_EQ(b.files->ItemIndex(), -1);
    EXPECT_EQ(b.edit->selectedText(), "*.bmp;*.ico;*.wmf;*.emf");

    // A program selection by name writes the entry line without a click.
    log.clear();
    EXPECT_TRUE(b.files->SelectFileByName("c.WMF"));
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(b.edit->text(), "c.wmf");
    EXPECT_FALSE(b.files->SelectFileByName("nosuch.bmp"));
}

TEST_F(FileControls, HandlerThatRaisesLeavesTheEntryLine)
{
    startIn("D:\\Pics\\Sub");
    Browser b;
    auto old = setErrorReporter([](const std::exception&) {});
    b.files->OnClick = [](TObject*) { throw std::runtime_error("bad picture"); };
    key(b.files, Qt::Key_Down);
    EXPECT_EQ(b.files->ItemIndex(), 0);
    EXPECT_EQ(b.edit->text(), "*.bmp;*.ico;*.wmf;*.emf");
    b.files->OnClick = nullptr;
    key(b.files, Qt::Key_Down);
    EXPECT_EQ(b.edit->text(), "B.ICO");
    setErrorReporter(old);
}

TEST_F(FileControls, PrefixSearchStartsAfreshAfter499ms)
{
    mkdirs("Fruit");
    for (const char* f : {"apple.bmp", "Apricot.bmp", "banana.bmp", "blue.bmp", "cherry.bmp"})
        touch(QString("Fruit/") + f);
    startIn("D:\\Fruit");
    Browser b;
    qint64 now = 10'000;
    b.files->SetClock([&] { return now; });
    QStringList clicks;
    b.files->OnClick = [&](TObject*) { clicks << b.files->Items()[b.files->ItemIndex()]; };
    struct Step {
        qint64 at;
        int key;
        const char* text;
        const char* selected;
    };
    const Step steps[] = {
        {0, Qt::Key_A, "a", "apple.bmp"},     {100, Qt::Key_P, "p", "apple.bmp"},
        {200, Qt::Key_R, "r", "Apricot.bmp"}, {699, Qt::Key_B, "b", "Apricot.bmp"}, // "aprb": no match
        {1199, Qt::Key_B, "b", "banana.bmp"}, {1698, Qt::Key_L, "l", "blue.bmp"},
        {1700, Qt::Key_Backspace, "", "banana.bmp"}, {1750, Qt::Key_Backspace, "", "apple.bmp"},
        {2600, Qt::Key_C, "c", "cherry.bmp"},
        // Backspace after a pause: a fresh, empty prefix selects the first item.
        {3200, Qt::Key_Backspace, "", "apple.bmp"},
    };
    for (const Step& s : steps) {
        now = 10'000 + s.at;
        key(b.files, s.key, s.text);
        EXPECT_EQ(b.files->Items()[b.files->ItemIndex()], s.selected) << s.at;
    }
    EXPECT_EQ(clicks, QStringList({"apple.bmp", "Apricot.bmp", "banana.bmp", "blue.bmp", "banana.bmp", "apple.bmp",
                                "cherry.bmp", "apple.bmp"}));
}

TEST_F(FileControls, FoldersThatCantBeEnteredChangeNothing)
{
    mkdirs("Gone");
    mkdirs("Locked");
    touch("Locked/x.bmp");
    startIn("D:\\");
    Browser b;
    const int items = b.dirs->ItemCount();
    ASSERT_TRUE(QDir(root + "/Gone").removeRecursively());
    EXPECT_FALSE(b.dirs->SetDirectory("D:\\Gone"));
    EXPECT_EQ(b.dirs->Directory(), "D:\\");
    EXPECT_EQ(b.dirs->ItemCount(), items);

    // The file list itself shows an unreadable folder as empty.
    b.files->SetDirectory("D:\\Gone");
    EXPECT_TRUE(b.files->Items().isEmpty());

    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions don't apply to root";
    QFile::setPermissions(root + "/Locked", {});
    EXPECT_FALSE(b.dirs->SetDirectory("D:\\Locked"));
    EXPECT_EQ(b.dirs->Directory(), "D:\\");
    QFile::setPermissions(root + "/Locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(FileControls, DriveListTextsAndNotReadyDrive)
{
    vcl::fs::VolumeInfo usb;
    usb.mountPoint = root + "/usb";
    usb.fsType = "vfat";
    usb.device = "/dev/sdz1";
    usb.removable = true;
    usb.ready = false;
    vcl::fs::VolumeInfo share;
    share.mountPoint = root + "/net";
    share.fsType = "cifs";
    share.device = "//Server/Pics";
    vols << usb << share;
    mkdirs("Pics");
    startIn("D:\\Pics");
    Browser b;
    QStringList texts;
    for (int i = 0; i < b.drives->count(); ++i)
        texts << b.drives->itemText(i);
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[1], "d: [work]");
    EXPECT_EQ(texts[2], "e: \\\\server\\pics");
    EXPECT_EQ(texts[3], "f:");

    // Not ready: the drive list shows F while the folder list stays.
    b.drives->SetDrive('f');
    EXPECT_EQ(b.drives->Drive(), QChar('f'));
    EXPECT_EQ(b.drives->currentText(), "f:");
    EXPECT_EQ(b.dirs->Directory(), "D:\\Pics");
    EXPECT_EQ(b.files->Directory(), "D:\\Pics");

    // Back on D: the folder list returns to D's current folder.
    b.drives->SetDrive('D');
    EXPECT_EQ(b.dirs->Directory(), "D:\\Pics");
    b.drives->SetDrive('C');
    EXPECT_EQ(b.dirs->Directory(), vcl::fs::driveCurrentFolder('C'));
    EXPECT_EQ(b.files->Directory(), b.dirs->Directory());
}

} // namespace
