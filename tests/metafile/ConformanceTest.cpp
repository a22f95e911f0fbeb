#include "ImageSimilarity.h"
#include "MetafileBuilders.h"
#include "TestSupport.h"
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>
#include <map>

using namespace kelpora;

namespace {

struct Expectation {
    bool loads = true;
    double minColour = 0.90;  // coarse similarity to the reference rendering
    const char* why = "";
};

// Files that load but keep a known difference from their reference, and files refused by rule.
const std::map<QString, Expectation>& expectations()
{
    static const std::map<QString, Expectation> table = {
        {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/gdiwmfboundariesbug.wmf",
         {false, 0, "no placeable header"}},
        {"poi/test-data/document/testException2.doc-2.wmf", {false, 0, "no placeable header"}},
        {"poi/test-data/slideshow/61338.wmf", {false, 0, "no placeable header"}},
        {"poi/test-data/slideshow/nested_wmf.emf", {true, 0.6, "drawn only by EMF+ records, which are skipped"}},
        {"poi/test-data/spreadsheet/SimpleEMF_windows.emf",
         {true, 0.8, "text overflows the frame; the reference fits the bounds instead"}},
        {"rtfjs/test/emf-test-files/image-2/source.emf", {true, 0.8, "small text, font metrics differ"}},
        {"rtfjs/test/rtf-test-files/import-image/bm0.WMF", {true, 0.85, "reference drawn far smaller"}},
        {"wmf2svg/src/test/data/symbol/symbol-font-tables.wmf", {true, 0.85, "symbol fonts fall back"}},
    };
    return table;
}

} // namespace

TEST(MetafileConformance, CorpusLoadsPlaysAndResemblesTheReferences)
{
    if (!testsupport::haveCorpus())
        GTEST_SKIP() << "corpus absent";
    const QString root = QString::fromStdString(testsupport::corpusDir().string());
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    int seen = 0;
    while (it.hasNext()) {
        QString path = it.next();
        QString rel = QDir(root).relativeFilePath(path);
        QString suffix = QFileInfo(path).suffix().toLower();
        if (rel.startsWith(u"reference/") || (suffix != u"wmf" && suffix != u"emf"))
            continue;
        ++seen;
        SCOPED_TRACE(rel.toStdString());
        Expectation exp;
        auto found = expectations().find(rel);
        if (found != expectations().end())
            exp = found->second;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        auto m = mf::loadMetafile(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
        ASSERT_EQ(bool(m), exp.loads) << exp.why;
        if (!m)
            continue;
        QSize size = mf::pixelSize(*m, 96).boundedTo(QSize(2000, 2000)).expandedTo(QSize(1, 1));
        QImage img(size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            mf::play(p, *m, QRect(QPoint(0, 0), size));
        }
        QString ref = root + QStringLiteral("/reference/libreoffice/") + rel + QStringLiteral(".png");
        if (!QFile::exists(ref))
            continue;
        auto s = mfcompare::compareImages(img, QImage(ref));
        EXPECT_GE(s.colour, exp.minColour) << exp.why;
        std::printf("  %-72s colour %.3f overlap %.3f\n", qPrintable(rel), s.colour, s.overlap);
    }
    EXPECT_GT(seen, 0);
}
