#pragma once
// Starts the program's two windows, as the main program does, in a
// temporary start folder the test fills.
#include "browser/ImageWin.h"
#include "forms/Application.h"
#include "fs/Paths.h"
#include "viewer/ViewWin.h"
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace testsupport {

class AppFixture : public ::testing::Test {
protected:
    // Files to create in the start folder before the windows exist.
    virtual void populate(const QString& /*folder*/) {}

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        populate(dir.path());
        const auto drivePath = vcl::fs::toDrivePath(dir.path());
        ASSERT_TRUE(drivePath.has_value());
        folder = *drivePath;
        ASSERT_TRUE(vcl::fs::setCurrentFolder(folder));
        app = std::make_unique<vcl::TApplication>(QStringLiteral("/usr/bin/Kelpora"));
        app->CreateForm(ImageForm);
        app->CreateForm(ViewForm);
        QApplication::processEvents();
    }

    void TearDown() override
    {
        app.reset();
        ImageForm = nullptr;
        ViewForm = nullptr;
        vcl::fs::resetCurrentFolders();
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir dir;
    QString folder;   // drive form
    std::unique_ptr<vcl::TApplication> app;
};

} // namespace testsupport
