// Splitting typed text into drive, folder part and name.
#include "TypedPathFixture.h"
#include "filectrls/TypedPath.h"

namespace {

using Split = TypedPathApp;

TEST_F(Split, DriveFolderPartAndName)
{
    const QString p = folder.mid(2); // pics without its drive
    struct Row {
        QString text;
        QChar drive;
        QString folderPart, name, folder;
    };
    const Row rows[] = {
        {"photo.bmp", 'C', p, "photo.bmp", folder},
        {"sub", 'C', p + "\\sub", "", folder + "\\sub"},
        {"nosuch.bmp", 'C', p + "\\nosuch.bmp", "", folder + "\\nosuch.bmp"},
        {"sub\\s.bmp", 'C', "sub", "s.bmp", folder + "\\sub"},
        {"sub\\deeper", 'C', "sub\\deeper", "", folder + "\\sub\\deeper"},
        {"sub/deeper/deep.bmp", 'C', "sub\\deeper", "deep.bmp", folder + "\\sub\\deeper"},
        {"..", 'C', p + "\\..", "", parent},
        {"\\*.bmp", 'C', "\\", "*.bmp", "C:\\"},
        {"\\", 'C', "\\", "", "C:\\"},
        {"c:*.ico", 'c', p, "*.ico", folder},
        {"D:", 'D', "\\work", "", "D:\\work"},
        {"d:\\data", 'd', "\\data", "", "D:\\data"},
        {"D:\\data\\dd.bmp", 'D', "\\data", "dd.bmp", "D:\\data"},
        {"D:\\data\\DD.BMP", 'D', "\\data", "DD.BMP", "D:\\data"},
        {"[sub]", 'C', p + "\\sub", "", folder + "\\sub"},
        {"[..]", 'C', p + "\\..", "", parent},
        {"\\\\srv\\share", QChar(), "\\", "", "\\\\srv\\share\\"},
        {"\\\\srv\\share\\shared\\n.bmp", QChar(), "\\shared", "n.bmp", "\\\\srv\\share\\shared"},
        {out + "/other/far.bmp", 'C', other.mid(2), "far.bmp", other},
        {out + "/d/data/", 'D', "\\data", "", "D:\\data"},
        {"Q:\\x", 'Q', "\\x", "", "Q:\\x"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text.toStdString());
        const std::optional<vcl::TypedPath> s = vcl::splitTypedPath(r.text);
        ASSERT_TRUE(s.has_value());
        EXPECT_EQ(s->drive, r.drive);
        EXPECT_EQ(s->folderPart, r.folderPart);
        EXPECT_EQ(s->name, r.name);
        EXPECT_EQ(s->folder, r.folder);
        EXPECT_EQ(vcl::fs::currentFolder(), folder);
        EXPECT_EQ(vcl::fs::driveCurrentFolder('D'), "D:\\work");
    }
}

TEST_F(Split, TextThatCanNameNothingIsRefused)
{
    const QString refused[] = {
        ":",
        "::\\x",
        "C:x:y",
        "[C:\\pics]",
        "\\\\",
        "\\\\\\\\",
        "\\\\srv",
        "\\\\srv\\",
        "sub\tdeeper",
        QString("sub") + QChar(0) + "junk",
        "photo.bmp\n",
        QString(40000, 'a'),
        "/tmp/with:colon",
    };
    for (const QString& text : refused)
        EXPECT_FALSE(vcl::splitTypedPath(text).has_value()) << text.left(40).toStdString();
}

} // namespace
