// Lists a 100,000-file folder (75,000 pictures) in the file list, from the
// reading to the first paint, against a bare readdir + match + sort of the
// same folder measured in the same run. Prints medians and their ratio.
#include "controls/StdControls.h"
#include "filectrls/FileListBox.h"
#include "fs/DirSearch.h"
#include "fs/Paths.h"
#include "fs/Volumes.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFiles = 100'000;
constexpr int kRuns = 5;

void populate(const QString& dir)
{
    static const char* const ext[] = {".bmp", ".ICO", ".wmf", ".emf", ".txt", ".Bmp", ".EMF", ".png"};
    const QByteArray base = QFile::encodeName(dir);
    for (int i = 0; i < kFiles; ++i) {
        // 6 of 8 extensions match the picture mask: 75,000 files.
        char name[64];
        std::snprintf(name, sizeof name, "/%s%05d%s", (i % 3) ? "img_" : "Photo ", (i * 7919) % kFiles, ext[i % 8]);
        const int fd = ::open((base + name).constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            ::close(fd);
    }
}

bool hasPictureExt(const char* n)
{
    const size_t len = std::strlen(n);
    if (len < 4)
        return false;
    const char* e = n + len - 4;
    return !strcasecmp(e, ".bmp") || !strcasecmp(e, ".ico") || !strcasecmp(e, ".wmf") || !strcasecmp(e, ".emf");
}

// The floor: what listing the folder costs with no drive mapping, no
// strings beyond the bytes, and no widget.
size_t plainListing(const QString& dir)
{
    std::vector<std::string> names;
    DIR* d = ::opendir(QFile::encodeName(dir).constData());
    while (const dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.' || e->d_type != DT_REG)
            continue;
        if (hasPictureExt(e->d_name))
            names.emplace_back(e->d_name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    return names.size();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString dir = QFileInfo(tmp.path()).canonicalFilePath();
    populate(dir);
    vcl::fs::setVolumeProvider([dir] { return vcl::fs::rootWithExtraVolume(dir); });
    const QString picMask = QStringLiteral("*.bmp;*.ico;*.wmf;*.emf");

    vcl::TEdit edit;
    vcl::TFileListBox list;
    list.setGeometry(0, 0, 139, 227);
    list.SetFileEdit(&edit);
    list.SetMask(picMask);
    list.SetDirectory(QStringLiteral("D:\\"));
    list.show();
    QApplication::processEvents();

    std::vector<double> plain, control, maskChange, search;
    size_t plainCount = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        plainCount = plainListing(dir);
        plain.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        const auto found = vcl::fs::findFiles(dir, picMask);
        search.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        list.Update();
        list.viewport()->repaint();
        control.push_back(t.nsecsElapsed() / 1e6);

        // A mask change and back: each is one freeze of the window.
        t.restart();
        list.SetMask(QStringLiteral("*.*"));
        list.viewport()->repaint();
        maskChange.push_back(t.nsecsElapsed() / 1e6);
        list.SetMask(picMask);
    }
    const double p = median(plain), c = median(control), m = median(maskChange);
    std::printf("files in folder      %d\n", kFiles);
    std::printf("listed (plain/list)  %zu / %d\n", plainCount, list.ItemCount());
    std::printf("plain readdir+match+sort  %8.1f ms (median of %d)\n", p, kRuns);
    std::printf("directory search alone    %8.1f ms (median of %d)\n", median(search), kRuns);
    std::printf("file list read+paint      %8.1f ms (median of %d)\n", c, kRuns);
    std::printf("ratio                     %8.2fx\n", c / p);
    std::printf("mask change to *.* +paint %8.1f ms (median)\n", m);
    vcl::fs::setVolumeProvider({});
    return 0;
}
