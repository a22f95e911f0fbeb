// Text that names nothing usable: the lists stay, no message, no crash.
#include "ModalBox.h"
#include "TypedPathFixture.h"

namespace {

using BadInput = TypedPathApp;

TEST_F(BadInput, ListsStayWhereTheyWere)
{
    const QString texts[] = {
        QString(100000, 'a'),
        QString("sub\\").repeated(3000) + "x",
        QString("..\\").repeated(5000) + "nosuch",
        "\\\\",
        "\\\\\\\\\\",
        "::",
        ":\\:",
        "[sub",
        "sub]",
        "[",
        "]",
        "[]",
        "Q:",
        "Q:\\pics",
        "sub\tdeeper",
        QString("sub") + QChar(0) + "deeper",
        QString(QChar(0x7f)),
        "\x1b",
        "in<va>lid|\"name.bmp",
        QString(QChar(0xD800)) + "x",
        "...",
        " ",
        "%1",
    };
    for (const QString& text : texts) {
        SCOPED_TRACE(text.left(30).toStdString());
        auto box = testsupport::acceptNextBox();
        setAndEnter(text);
        EXPECT_FALSE(box->seen) << box->text.left(80).toStdString();
        EXPECT_EQ(shownFolder(), folder);
        EXPECT_EQ(vcl::fs::currentFolder(), folder);
        EXPECT_EQ(ImageForm->FileListBox1->Mask(), kStartMask);
        EXPECT_EQ(ImageForm->DriveComboBox1->Drive(), QChar('c'));
        // The line itself keeps at most maxLength() characters.
        EXPECT_EQ(ImageForm->FileEdit->Text(), text.left(ImageForm->FileEdit->maxLength()));
    }
}

} // namespace
