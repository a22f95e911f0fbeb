// Renders every metafile under a corpus folder at its own pixel size, writes
// the renderings next to copies of the reference images and prints a
// similarity figure per file.
#include "ImageSimilarity.h"
#include "metafile/Metafile.h"
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

using namespace kelpora;

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: mfcompare CORPUS_DIR OUTPUT_DIR\n");
        return 2;
    }
    const QString corpus = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outDir);
    QStringList files;
    QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QString path = it.next();
        QString rel = QDir(corpus).relativeFilePath(path);
        QString suffix = QFileInfo(path).suffix().toLower();
        if (rel.startsWith(u"reference/") || (suffix != u"wmf" && suffix != u"emf"))
            continue;
        files << rel;
    }
    files.sort();
    std::printf("%-70s %9s %7s %7s %7s\n", "file", "size", "colour", "overlap", "ms");
    for (const QString& rel : files) {
        QFile f(corpus + u'/' + rel);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QByteArray bytes = f.readAll();
        auto m = mf::loadMetafile(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
        if (!m) {
            std::printf("%-70s %9s\n", qPrintable(rel), "refused");
            continue;
        }
        QSize size = mf::pixelSize(*m, 96);
        QSize drawn = size.boundedTo(QSize(4000, 4000)).expandedTo(QSize(1, 1));
        QImage img(drawn, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QElapsedTimer timer;
        timer.start();
        {
            QPainter p(&img);
            mf::play(p, *m, QRect(QPoint(0, 0), drawn));
        }
        double ms = timer.nsecsElapsed() / 1e6;
        QString safe = QString(rel).replace(u'/', u'_');
        img.save(outDir + u'/' + safe + QStringLiteral(".ours.png"));
        QString refPath;
        for (const char* source : {"upstream", "libreoffice"}) {
            QString candidate = corpus + QStringLiteral("/reference/") + QLatin1String(source) + u'/' + rel + QStringLiteral(".png");
            if (QFile::exists(candidate)) {
                refPath = candidate;
                break;
            }
        }
        if (refPath.isEmpty()) {
            std::printf("%-70s %4dx%-4d %7s %7s %7.1f\n", qPrintable(rel), size.width(), size.height(), "-", "-", ms);
            continue;
        }
        QFile::remove(outDir + u'/' + safe + QStringLiteral(".ref.png"));
        QFile::copy(refPath, outDir + u'/' + safe + QStringLiteral(".ref.png"));
        auto s = mfcompare::compareImages(img, QImage(refPath));
        std::printf("%-70s %4dx%-4d %7.3f %7.3f %7.1f\n", qPrintable(rel), size.width(), size.height(), s.colour,
                    s.overlap, ms);
    }
    return 0;
}
