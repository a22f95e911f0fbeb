// Plays every metafile of the corpus into the preview frame (496 x 337, the
// picture shrunk to fit when larger) and prints the median, the 90th
// percentile and the worst of the per-file times.
#include "metafile/Metafile.h"
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QRect previewRect(QSize picture, QSize frame)
{
    QSize s = picture;
    if (s.width() > frame.width() || s.height() > frame.height())
        s = s.scaled(frame, Qt::KeepAspectRatio);
    s = s.expandedTo(QSize(1, 1));
    QPoint topLeft((frame.width() - s.width()) / 2, (frame.height() - s.height()) / 2);
    // One pixel off the right and bottom edges, as the preview plays it.
    return QRect(topLeft, s - QSize(1, 1));
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(KELPORA_CORPUS_DIR);
    int repeats = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const QSize frame(496, 337);
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    struct Result {
        QString file;
        double ms;
    };
    std::vector<Result> results;
    while (it.hasNext()) {
        QString path = it.next();
        QString rel = QDir(root).relativeFilePath(path);
        QString suffix = QFileInfo(path).suffix().toLower();
        if (rel.startsWith(u"reference/") || (suffix != u"wmf" && suffix != u"emf"))
            continue;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QByteArray bytes = f.readAll();
        auto m = kelpora::mf::loadMetafile(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
        if (!m)
            continue;
        QRect dest = previewRect(kelpora::mf::pixelSize(*m, 96), frame);
        QImage img(frame, QImage::Format_ARGB32_Premultiplied);
        std::vector<double> times;
        for (int i = 0; i < repeats; ++i) {
            img.fill(Qt::lightGray);
            QElapsedTimer t;
            t.start();
            QPainter p(&img);
            kelpora::mf::play(p, *m, dest);
            p.end();
            times.push_back(t.nsecsElapsed() / 1e6);
        }
        std::sort(times.begin(), times.end());
        results.push_back({rel, times[times.size() / 2]});
    }
    if (results.empty()) {
        std::printf("no metafiles under %s\n", qPrintable(root));
        return 1;
    }
    std::sort(results.begin(), results.end(), [](const Result& a, const Result& b) { return a.ms < b.ms; });
    for (const Result& r : results)
        std::printf("%8.2f ms  %s\n", r.ms, qPrintable(r.file));
    auto pick = [&](double q) { return results[std::min(results.size() - 1, size_t(q * (results.size() - 1) + 0.5))].ms; };
    std::printf("files %zu  median %.2f ms  p90 %.2f ms  worst %.2f ms (%s)\n", results.size(), pick(0.5), pick(0.9),
                results.back().ms, qPrintable(results.back().file));
    return 0;
}
