#pragma once
#include "metafile/Metafile.h"
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

// Fontconfig keeps what it reads for the first use of a family until exit;
// that is a cache of the system library, not a leak of ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libfreetype\n";
}

// Loads and plays one input into a small image, as the preview would.
inline void fuzzPlay(const uint8_t* data, size_t size)
{
    static QGuiApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    auto m = kelpora::mf::loadMetafile(data, size);
    if (!m)
        return;
    kelpora::mf::pixelSize(*m, 96);
    QImage img(62, 42, QImage::Format_ARGB32_Premultiplied);
    img.fill(0xFF808080);
    QPainter p(&img);
    kelpora::mf::play(p, *m, QRect(0, 0, 61, 41));
}
