// Preview drawing of large bitmaps, one page scroll of the view window, and
// the memory the program takes for a large picture.
//
//   bench_ui [dir]            timings (medians) for every large test bitmap
//   bench_ui --memory FILE    peak memory after selecting FILE and pressing
//                             the actual-size button, against its pixel bytes
#include "../codecs/LargeBitmaps.h"
#include "browser/ImageWin.h"
#include "forms/Application.h"
#include "fs/Paths.h"
#include "viewer/ViewWin.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long statusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(strlen(key))).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Both windows, standing on the folder of `file`, with it selected and the
// actual-size button pressed.
struct Program {
    vcl::TApplication app{QStringLiteral("/usr/bin/Kelpora")};
    explicit Program(const QString& folder)
    {
        vcl::fs::setCurrentFolder(*vcl::fs::toDrivePath(folder));
        app.CreateForm(ImageForm);
        app.CreateForm(ViewForm);
        QApplication::processEvents();
    }
    void selectAndView(const QString& name)
    {
        vcl::TFileListBox* list = ImageForm->FileListBox1;
        list->SetItemIndex(int(list->Items().indexOf(name)));
        ImageForm->FileListBox1Click(list);
        ImageForm->ViewBtnClick(ImageForm->ViewBtn);
        ImageForm->repaint();
        ViewForm->repaint();
        QApplication::processEvents();
    }
};

int memoryMode(const QString& file)
{
    const QFileInfo fi(file);
    Program p(fi.absolutePath());
    const long idle = statusKb("VmRSS:");
    p.selectAndView(fi.fileName());
    const long peak = statusKb("VmHWM:");
    const vcl::TBitmap* bmp = ImageForm->Image1->Picture().Bitmap();
    const double pixelBytes = bmp ? double(bmp->image().sizeInBytes()) : 0;
    std::printf("%s: idle %ld kB, peak %ld kB, pixels %.0f kB, (peak - idle) / pixels = %.3f\n",
                qPrintable(fi.fileName()), idle, peak, pixelBytes / 1024, (peak - idle) * 1024.0 / pixelBytes);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--memory")
        return memoryMode(QString::fromLocal8Bit(argv[2]));

    const std::filesystem::path dir = argc > 1 ? argv[1] : "/tmp/kelpora-bench";
    std::filesystem::create_directories(dir);
    const auto files = benchfiles::makeLargeBitmaps(dir);

    std::printf("%-28s %12s\n", "preview draw (496 x 337)", "median ms");
    for (const auto& f : files) {
        vcl::TBitmap bmp;
        bmp.LoadFromFile(QString::fromStdString(f.path.string()));
        QImage target(496, 337, QImage::Format_RGB32);
        const QRect dest = vcl::TImage::destRect(QSize(bmp.Width(), bmp.Height()), target.size(), false, true, true);
        std::vector<double> ms;
        for (int i = 0; i < 25; ++i) {
            QElapsedTimer t;
            t.start();
            QPainter p(&target);
            bmp.Draw(p, dest);
            p.end();
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        std::printf("%-28s %12.3f\n", f.name.c_str(), median(ms));
    }

    // One page scroll of the 24-bit picture in an 800 x 600 view window.
    const auto big = std::find_if(files.begin(), files.end(), [](const auto& f) { return f.name.find("24") != std::string::npos; });
    if (big != files.end()) {
        Program p(QString::fromStdString(dir.string()));
        p.selectAndView(QString::fromStdString(big->path.filename().string()));
        ViewForm->resize(800, 600);
        QApplication::processEvents();
        std::vector<double> ms;
        for (int i = 0; i < 25; ++i) {
            QElapsedTimer t;
            t.start();
            ViewForm->VertScrollBar()->bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
            ViewForm->repaint();
            ms.push_back(t.nsecsElapsed() / 1e6);
        }
        std::printf("page scroll of %s in an 800 x 600 view: median %.3f ms, worst %.3f ms\n", big->name.c_str(),
                    median(ms), *std::max_element(ms.begin(), ms.end()));
    }
    return 0;
}
