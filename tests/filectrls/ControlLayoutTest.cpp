#include "FileControlsFixture.h"
#include "controls/StdControls.h"
#include "filectrls/FileControls.h"
#include "filectrls/Glyphs.h"

using namespace vcl;

namespace {

TEST_F(DriveD, LayoutKeysAndLinks)
{
    startIn("D:\\");
    TDirectoryListBox dirs;
    TDriveComboBox drives;
    TFileListBox files;
    TFilterComboBox filter;
    TEdit edit;

    EXPECT_EQ(dirs.setLayoutProperty("IntegralHeight", "true"), Accept::Yes);
    EXPECT_EQ(dirs.setLayoutProperty("ItemHeight", "16"), Accept::Yes);
    EXPECT_EQ(dirs.setLayoutProperty("ItemHeight", "big"), Accept::BadValue);
    EXPECT_EQ(dirs.setLayoutProperty("Sorted", "true"), Accept::UnknownKey);
    EXPECT_EQ(dirs.setLayoutLink("FileList", &files), Accept::Yes);
    EXPECT_EQ(dirs.setLayoutLink("FileList", &edit), Accept::BadValue);

    EXPECT_EQ(drives.setLayoutLink("DirList", &dirs), Accept::Yes);
    EXPECT_EQ(drives.setLayoutLink("DirList", &files), Accept::BadValue);
    EXPECT_EQ(drives.setLayoutProperty("Mask", "\"*.*\""), Accept::UnknownKey);

    EXPECT_EQ(files.setLayoutProperty("Mask", "\"*.bmp;*.ico;*.wmf;*.emf\""), Accept::Yes);
    EXPECT_EQ(files.Mask(), "*.bmp;*.ico;*.wmf;*.emf");
    EXPECT_EQ(files.setLayoutProperty("Mask", "*.bmp"), Accept::BadValue);
    EXPECT_EQ(files.setLayoutProperty("ItemHeight", "13"), Accept::Yes);
    EXPECT_EQ(files.setLayoutLink("FileEdit", &edit), Accept::Yes);
    EXPECT_EQ(files.setLayoutLink("FileEdit", &dirs), Accept::BadValue);
    EXPECT_EQ(files.bindEvent("OnClick", TNotifyEvent([](TObject*) {})), Accept::Yes);
    EXPECT_EQ(files.bindEvent("OnClick", TKeyPressEvent([](TObject*, QChar&) {})), Accept::BadValue);
    EXPECT_EQ(files.bindEvent("OnDblClick", TNotifyEvent([](TObject*) {})), Accept::UnknownKey);

    // Quotes doubled inside the layout string; a trailing description
    // without a mask is dropped; nothing is trimmed.
    EXPECT_EQ(filter.setLayoutProperty("Filter", "\"A \"\"x\"\"|*.a| B |*.b ;*.c|Orphan\""), Accept::Yes);
    ASSERT_EQ(filter.Entries().size(), 2);
    EXPECT_EQ(filter.Entries()[0].description, "A \"x\"");
    EXPECT_EQ(filter.Entries()[1].description, " B ");
    EXPECT_EQ(filter.Entries()[1].mask, "*.b ;*.c");
    EXPECT_EQ(filter.Mask(), "*.a");
    EXPECT_EQ(filter.setLayoutLink("FileList", &files), Accept::Yes);
    // Entry 0 is shown but its mask not applied.
    EXPECT_EQ(files.Mask(), "*.bmp;*.ico;*.wmf;*.emf");
}

TEST_F(DriveD, IntegralHeightKeepsWholeRows)
{
    startIn("D:\\");
    TDirectoryListBox dirs;
    dirs.SetIntegralHeight(true);
    dirs.show(); // a hidden widget gets its resize event when shown
    for (int h : {260, 250, 100}) {
        dirs.setGeometry(8, 11, 148, h);
        const int inner = dirs.height() - 2 * dirs.frameWidth();
        EXPECT_EQ(inner % 16, 0) << h;
        EXPECT_LE(dirs.height(), h);
        EXPECT_GT(dirs.height(), h - 16);
    }
}

TEST(Glyphs, AllPresentAtTheirSizes)
{
    for (const char* n : {"FLOPPY", "HARD", "NETWORK", "CDROM", "RAM"})
        EXPECT_EQ(fileControlGlyph(n).size(), QSize(16, 11)) << n;
    for (const char* n : {"OPENFOLDER", "CURRENTFOLDER", "CLOSEDFOLDER"})
        EXPECT_EQ(fileControlGlyph(n).size(), QSize(16, 15)) << n;
}

} // namespace
