#pragma once
// Both windows started in a temporary "pics" folder on C:, with a second
// folder elsewhere on C:, a drive D: over a temp folder (its current folder
// D:\work), a removable drive E: without a medium and a network drive whose
// remote name is \\srv\share.
#include "AppFixture.h"
#include "PictureFiles.h"
#include "fs/Paths.h"
#include "fs/Volumes.h"
#include <QDir>
#include <QFileInfo>
#include <QTest>

class TypedPathApp : public testsupport::AppFixture {
protected:
    static inline const QString kStartMask = QStringLiteral("*.bmp;*.ico;*.wmf;*.emf");

    void SetUp() override
    {
        ASSERT_TRUE(outside.isValid());
        out = QFileInfo(outside.path()).canonicalFilePath();
        for (const char* sub : {"other", "d/data", "d/work", "e", "net/shared"})
            ASSERT_TRUE(QDir(out).mkpath(sub));
        writeFile(out + "/other/far.bmp", testsupport::bmp24(3, 3, QColor(Qt::red)));
        writeFile(out + "/other/far.ico", testsupport::icon32({{16, Qt::blue}}));
        writeFile(out + "/d/data/dd.bmp", testsupport::bmp24(3, 3, QColor(Qt::red)));
        writeFile(out + "/net/shared/n.bmp", testsupport::bmp24(3, 3, QColor(Qt::red)));

        QList<vcl::fs::VolumeInfo> vols = vcl::fs::rootWithExtraVolume(out + "/d", "Data");
        vcl::fs::VolumeInfo floppy;
        floppy.mountPoint = out + "/e";
        floppy.fsType = "vfat";
        floppy.device = "/dev/sdz1";
        floppy.removable = true;
        floppy.ready = false;
        vcl::fs::VolumeInfo share;
        share.mountPoint = out + "/net";
        share.fsType = "cifs";
        share.device = "//srv/share";
        vols << floppy << share;
        vcl::fs::setVolumeProvider([vols] { return vols; });
        vcl::fs::resetCurrentFolders();
        ASSERT_TRUE(vcl::fs::setCurrentFolder("D:\\work"));

        AppFixture::SetUp(); // makes pics the current folder
        other = *vcl::fs::toDrivePath(out + "/other");
        parent = vcl::fs::ExtractFileDir(folder);
    }

    void TearDown() override
    {
        AppFixture::TearDown();
        vcl::fs::setVolumeProvider({});
        vcl::fs::resetCurrentFolders();
    }

    void populate(const QString& d) override
    {
        ASSERT_TRUE(QDir(d).mkpath("sub/deeper"));
        writeFile(d + "/photo.bmp", testsupport::bmp24(20, 10, QColor(Qt::green)));
        writeFile(d + "/zebra.bmp", testsupport::bmp24(30, 15, QColor(Qt::blue)));
        writeFile(d + "/icon.ico", testsupport::icon32({{16, Qt::red}}));
        writeFile(d + "/readme.txt", "hello");
        writeFile(d + "/.secret.bmp", testsupport::bmp24(2, 2, QColor(Qt::red)));
        writeFile(d + "/sub/s.bmp", testsupport::bmp24(2, 2, QColor(Qt::red)));
        writeFile(d + "/sub/deeper/deep.bmp", testsupport::bmp24(2, 2, QColor(Qt::red)));
    }

    // Replaces the entry line's text by typing and presses Enter.
    static void typeAndEnter(const QString& text)
    {
        ImageForm->FileEdit->selectAll();
        ImageForm->FileEdit->del();
        QTest::keyClicks(ImageForm->FileEdit, text);
        QTest::keyClick(ImageForm->FileEdit, Qt::Key_Return);
    }

    // Text that can't be typed key by key is put into the line first.
    static void setAndEnter(const QString& text)
    {
        ImageForm->FileEdit->setText(text);
        QTest::keyClick(ImageForm->FileEdit, Qt::Key_Return);
    }

    // Back to the state after start-up, standing in `from`.
    void restart(const QString& from)
    {
        ImageForm->DriveComboBox1->SetDrive(u'C');
        ASSERT_TRUE(vcl::fs::setCurrentFolder("D:\\work"));
        ASSERT_TRUE(ImageForm->DirectoryListBox1->SetDirectory(from));
        ImageForm->FileListBox1->SetMask(kStartMask);
        ImageForm->FileListBox1->Update();
    }

    static QString shownFolder() { return ImageForm->FileListBox1->Directory(); }

    QTemporaryDir outside;
    QString out;    // its real path
    QString other;  // drive form of out/other
    QString parent; // drive form of the folder above pics
};
