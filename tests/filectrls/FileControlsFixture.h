#pragma once
// A simulated drive D: over a temp folder, with the current folder set where
// the test wants the controls to start.
#include "fs/Paths.h"
#include "fs/Volumes.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class DriveD : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        root = QFileInfo(tmp.path()).canonicalFilePath();
        vols = vcl::fs::rootWithExtraVolume(root, "Work");
        vcl::fs::setVolumeProvider([this] { return vols; });
        vcl::fs::resetCurrentFolders();
    }
    void TearDown() override
    {
        vcl::fs::setVolumeProvider({});
        vcl::fs::resetCurrentFolders();
    }
    void mkdirs(const QString& rel) { ASSERT_TRUE(QDir(root).mkpath(rel)); }
    void touch(const QString& rel)
    {
        QFile f(root + "/" + rel);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    void startIn(const QString& drivePath) { ASSERT_TRUE(vcl::fs::setCurrentFolder(drivePath)); }

    QTemporaryDir tmp;
    QString root;
    QList<vcl::fs::VolumeInfo> vols;
};
