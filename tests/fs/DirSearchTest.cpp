#include "fs/DirSearch.h"
#include "fs/NameOrder.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vcl::fs;

namespace {

void touch(const QString& path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(path);
}

void touchRaw(const QByteArray& path)
{
    FILE* f = std::fopen(path.constData(), "w");
    ASSERT_TRUE(f);
    std::fclose(f);
}

class FolderFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        dir = tmp.path();
        for (const char* n : {"b.bmp", "A.BMP", "c.ico", "a.bmp.txt", ".hidden.bmp", "x:y.bmp", "x\\y.bmp"})
            touch(dir + "/" + n);
        const QByteArray raw = QFile::encodeName(dir);
        touchRaw(raw + "/bad\xff.bmp");
        ::mkfifo(raw + "/pipe.bmp", 0644);
        QDir(dir).mkdir("folder.bmp");
        QDir(dir).mkdir(".git");
        QDir(dir).mkdir("Zeta");
        QDir(dir).mkdir("alpha");
        ::symlink("b.bmp", raw + "/link.bmp");
        ::symlink("missing", raw + "/dangling.bmp");
        ::symlink("loop.bmp", raw + "/loop.bmp");
        ::symlink("alpha", raw + "/linkdir");
        ::symlink(".", raw + "/self");
    }
    // The undecodable name is beyond QDir's own clean-up.
    void TearDown() override { std::filesystem::remove_all(QFile::encodeName(dir).toStdString()); }
    QTemporaryDir tmp;
    QString dir;
};

TEST_F(FolderFixture, FilesUnderMaskSortedWithoutCase)
{
    EXPECT_EQ(findFiles(dir, "*.bmp").value(), QStringList({"A.BMP", "b.bmp", "link.bmp"}));
    EXPECT_EQ(findFiles(dir, "*.bmp;*.ico;*.wmf;*.emf").value(), QStringList({"A.BMP", "b.bmp", "c.ico", "link.bmp"}));
    EXPECT_EQ(findFiles(dir, "*.*").value(), QStringList({"A.BMP", "a.bmp.txt", "b.bmp", "c.ico", "link.bmp"}));
    EXPECT_EQ(findFiles(dir, "b.bmp;B.BMP").value(), QStringList({"b.bmp", "b.bmp"}));
    EXPECT_EQ(findFiles(dir, "").value(), QStringList());
}

TEST_F(FolderFixture, SubfoldersSkipHiddenAndFollowLinks)
{
    EXPECT_EQ(findSubfolders(dir).value(), QStringList({"alpha", "folder.bmp", "linkdir", "self", "Zeta"}));
}

TEST(DirSearch, MissingOrUnreadableFolderGivesNothing)
{
    EXPECT_FALSE(findFiles("/nonexistent/kelpora", "*.*"));
    QTemporaryDir tmp;
    const QString locked = tmp.path() + "/locked";
    QDir().mkdir(locked);
    ::chmod(QFile::encodeName(locked), 0);
    if (::geteuid() != 0)
        EXPECT_FALSE(findSubfolders(locked));
    ::chmod(QFile::encodeName(locked), 0755);
}

TEST(NameOrder, CaseInsensitiveAndStable)
{
    QStringList names = {"b", "B", "a", "C", "A", "ab"};
    sortNames(names);
    ASSERT_EQ(names.size(), 6);
    EXPECT_EQ(names.mid(0, 2).join(',').toLower(), "a,a");
    EXPECT_EQ(names[2], "ab");
    EXPECT_EQ(names.mid(3, 2).join(',').toLower(), "b,b");
    EXPECT_EQ(names[5], "C");
    QStringList again = {"B", "b", "A", "a", "ab", "C"};
    sortNames(again);
    EXPECT_EQ(again, names);
}

} // namespace
