#include "fs/Paths.h"
#include "fs/Volumes.h"
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vcl::fs;

namespace {

TEST(PathNames, ExtractHelpersFollowTheClassicRules)
{
    struct Case {
        const char* path;
        const char* dir;
        const char* name;
        const char* ext;
        const char* drive;
    };
    const Case cases[] = {
        {"C:\\pics\\a.bmp", "C:\\pics", "a.bmp", ".bmp", "C:"},
        {"C:\\a.b\\noext", "C:\\a.b", "noext", "", "C:"},
        {"C:a.tar.gz", "C:", "a.tar.gz", ".gz", "C:"},
        {"C:\\x.bmp", "C:\\", "x.bmp", ".bmp", "C:"},
        {"\\\\srv\\share\\dir\\f.ico", "\\\\srv\\share\\dir", "f.ico", ".ico", "\\\\srv\\share"},
        {"name.", "", "name.", ".", ""},
        {"dir.d\\", "dir.d", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtractFileDir(c.path), QString::fromUtf8(c.dir));
        EXPECT_EQ(ExtractFileName(c.path), QString::fromUtf8(c.name));
        EXPECT_EQ(ExtractFileExt(c.path), QString::fromUtf8(c.ext));
        EXPECT_EQ(ExtractFileDrive(c.path), QString::fromUtf8(c.drive));
    }
    EXPECT_EQ(joinDrivePath("C:\\", "a"), "C:\\a");
    EXPECT_EQ(joinDrivePath("C:\\x", "a"), "C:\\x\\a");
    EXPECT_TRUE(isDriveRoot("C:\\"));
    EXPECT_TRUE(isDriveRoot("\\\\srv\\share\\"));
    EXPECT_FALSE(isDriveRoot("C:\\x"));
}

class DrivePaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        root = QFileInfo(tmp.path()).canonicalFilePath();
        QDir(root).mkpath("d/sub");
        QDir(root).mkpath("net/dir");
        QList<VolumeInfo> vols = rootWithExtraVolume(root + "/d", "Work");
        VolumeInfo share;
        share.mountPoint = root + "/net";
        share.fsType = "cifs";
        share.device = "//server/share";
        VolumeInfo empty;
        empty.mountPoint = root + "/nomedium";
        empty.fsType = "vfat";
        empty.device = "/dev/sdz1";
        empty.removable = true;
        empty.ready = false;
        vols << share << empty;
        setVolumeProvider([vols] { return vols; });
        resetCurrentFolders();
    }
    void TearDown() override
    {
        setVolumeProvider({});
        resetCurrentFolders();
    }
    QTemporaryDir tmp;
    QString root;
};

TEST_F(DrivePaths, MapsBothWays)
{
    EXPECT_EQ(toRealPath("D:\\sub"), root + "/d/sub");
    EXPECT_EQ(toRealPath("D:\\"), root + "/d");
    EXPECT_EQ(toRealPath("C:\\usr\\lib"), "/usr/lib");
    EXPECT_EQ(toRealPath("\\\\SERVER\\Share\\dir"), root + "/net/dir");
    EXPECT_EQ(toDrivePath(root + "/d/sub"), "D:\\sub");
    EXPECT_EQ(toDrivePath(root + "/d"), "D:\\");
    EXPECT_EQ(toDrivePath("/usr/lib/"), "C:\\usr\\lib");
    EXPECT_EQ(toDrivePath("/"), "C:\\");
    // Names the drive form can't show, drives that aren't there or ready.
    EXPECT_FALSE(toDrivePath("/tmp/a:b"));
    EXPECT_FALSE(toDrivePath("/tmp/a\\b"));
    EXPECT_FALSE(toRealPath("Q:\\x"));
    EXPECT_FALSE(toRealPath("F:\\"));
    EXPECT_FALSE(toRealPath("\\\\other\\share"));
    EXPECT_FALSE(toRealPath("relative"));
    EXPECT_FALSE(toRealPath(QStringLiteral("C:\\usr") + QChar(0) + QStringLiteral("x")));   // would open C:\usr
}

TEST_F(DrivePaths, ExpandsTypedPathsFromTheCurrentFolders)
{
    ASSERT_TRUE(setCurrentFolder("D:\\sub"));
    EXPECT_EQ(currentFolder(), "D:\\sub");
    EXPECT_EQ(expandDrivePath("x"), "D:\\sub\\x");
    EXPECT_EQ(expandDrivePath(".."), "D:\\");
    EXPECT_EQ(expandDrivePath("..\\..\\.."), "D:\\");
    EXPECT_EQ(expandDrivePath("\\top"), "D:\\top");
    EXPECT_EQ(expandDrivePath("d:"), "D:\\sub");
    EXPECT_EQ(expandDrivePath("D:rel"), "D:\\sub\\rel");
    EXPECT_EQ(expandDrivePath("c:/usr//lib/"), "C:\\usr\\lib");
    EXPECT_EQ(expandDrivePath("C:"), driveCurrentFolder('C'));
    EXPECT_EQ(expandDrivePath("\\\\server\\share\\dir\\..\\.."), "\\\\server\\share\\");
    // A folder that can't be entered changes nothing.
    EXPECT_FALSE(setCurrentFolder("D:\\missing"));
    EXPECT_FALSE(setCurrentFolder("F:\\"));
    EXPECT_EQ(currentFolder(), "D:\\sub");
    EXPECT_EQ(driveCurrentFolder('d'), "D:\\sub");
}

} // namespace
