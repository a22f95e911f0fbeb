// Decodes every bitmap and icon of the shared picture corpus and compares
// the result with the reference renderings kept beside it.
#include "BmpBuilder.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

using namespace kelpora::codec;
using namespace codectest;
namespace fs = std::filesystem;

namespace {

Bytes readFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

QImage loadReference(const fs::path& p)
{
    QImage img(QString::fromStdString(p.string()));
    return img.isNull() ? img : img.convertToFormat(QImage::Format_ARGB32);
}

// Pixels equal within `tolerance` per channel; fully transparent pixels
// equal whatever their colour. Returns the count of differing pixels.
int countDifferences(const std::vector<uint32_t>& ours, int w, int h, const QImage& ref, int tolerance = 1)
{
    if (ref.width() != w || ref.height() != h)
        return -1;
    int diff = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t a = ours[size_t(y) * w + x], b = ref.pixel(x, y);
            if ((a >> 24) == 0 && (b >> 24) == 0)
                continue;
            for (int s = 0; s < 32; s += 8)
                if (std::abs(int((a >> s) & 0xFF) - int((b >> s) & 0xFF)) > tolerance) {
                    ++diff;
                    break;
                }
        }
    }
    return diff;
}

std::vector<fs::path> referencesFor(const std::string& path, const std::string& suffix)
{
    const fs::path ref = testsupport::corpusDir() / "reference";
    std::vector<fs::path> out;
    if (path.rfind("bmpsuite/", 0) == 0) {
        // Where the suite shows cut-short data both ways, the "-0" picture
        // is the one with the missing pixels at colour 0.
        const fs::path dir = ref / "upstream/bmpsuite/html";
        const std::string stem = fs::path(path).stem().string();
        for (const std::string& name : {stem + "-0.png", stem + ".png"})
            if (fs::exists(dir / name))
                return {dir / name};
    }
    if (fs::exists(ref / "upstream" / (path + suffix)))
        return {ref / "upstream" / (path + suffix)};
    for (const char* who : {"imagemagick", "libreoffice"})
        if (fs::exists(ref / who / (path + suffix)))
            out.push_back(ref / who / (path + suffix));
    return out;
}

// One word for what happened to a file: "match", "differ", "noref",
// "decoded" (nothing to compare), or the error's name.
std::string compareWithReferences(const DecodedBitmap& bm, const std::string& path, const std::string& suffix,
                                  std::string& detail)
{
    const auto refs = referencesFor(path, suffix);
    const auto ours = allPixels(bm);
    if (refs.empty())
        return "noref";
    if (refs.size() == 1 && refs[0].string().find("/upstream/") == std::string::npos && bm.format != PixelFormat::Argb32)
        return "noref";
    if (refs.size() == 2) {
        // Two renderers: trusted only where they agree with each other.
        const QImage a = loadReference(refs[0]), b = loadReference(refs[1]);
        std::vector<uint32_t> bp;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                bp.push_back(b.pixel(x, y));
        if (countDifferences(bp, b.width(), b.height(), a) != 0)
            return "noref";
    }
    const QImage ref = loadReference(refs[0]);
    const int d = countDifferences(ours, bm.width, bm.height, ref);
    std::ostringstream s;
    s << refs[0].lexically_relative(testsupport::corpusDir()).string() << ": " << d << " pixels differ";
    detail = s.str();
    return d == 0 ? "match" : "differ";
}

std::string outcomeOfBitmap(const std::string& path, std::string& detail)
{
    const Bytes file = readFile(testsupport::corpusDir() / path);
    MemorySource src(file.data(), file.size());
    auto r = decodeBmp(src);
    if (auto* e = std::get_if<DecodeError>(&r))
        return errorName(*e);
    return compareWithReferences(std::get<DecodedBitmap>(r), path, ".png", detail);
}

std::string outcomeOfIcon(const std::string& path, std::string& detail)
{
    const Bytes file = readFile(testsupport::corpusDir() / path);
    MemorySource src(file.data(), file.size());
    auto parsed = parseIconDirectory(src);
    if (auto* e = std::get_if<DecodeError>(&parsed))
        return errorName(*e);
    const auto& dir = std::get<IconDirectory>(parsed);
    // Every entry must be handled; the one chosen for a small window icon
    // on a true-colour screen is compared.
    for (const auto& e : dir.entries)
        (void)decodeIconImage(src, e);
    const size_t chosen = chooseIconImage(dir, 16, 16, 32);
    if (chosen == kNoIconImage)
        return "empty";
    detail = "entry " + std::to_string(chosen) + " ";
    if (iconImageIsPng(src, dir.entries[chosen]))
        return "png";
    auto r = decodeIconImage(src, dir.entries[chosen]);
    if (auto* e = std::get_if<DecodeError>(&r))
        return errorName(*e);
    std::string more;
    const std::string o = compareWithReferences(std::get<DecodedBitmap>(r), path, "." + std::to_string(chosen) + ".png", more);
    detail += more;
    return o;
}

std::vector<std::string> corpusFiles()
{
    std::vector<std::string> files;
    std::ifstream index(testsupport::corpusDir() / "INDEX.tsv");
    std::string line;
    while (std::getline(index, line)) {
        const std::string path = line.substr(0, line.find('\t'));
        const std::string ext = path.size() > 4 ? path.substr(path.size() - 4) : "";
        if (ext == ".bmp" || ext == ".ico")
            files.push_back(path);
    }
    return files;
}

struct Expectation {
    const char* path;
    // "match": decodes to the reference pixels; "decodes": decodes, with no
    // trusted reference (none, or the two renderers disagree); "differs":
    // decodes, knowingly unlike the reference; "png": the chosen icon image
    // is PNG; otherwise the name of the error it is refused with.
    const char* outcome;
    const char* why = "";
};

const Expectation kExpected[] = {
    {"bmpsuite/g/pal1.bmp", "match"},
    {"bmpsuite/g/pal1bg.bmp", "match"},
    {"bmpsuite/g/pal1wb.bmp", "match"},
    {"bmpsuite/g/pal4.bmp", "match"},
    {"bmpsuite/g/pal4gs.bmp", "match"},
    {"bmpsuite/g/pal4rle.bmp", "match"},
    {"bmpsuite/g/pal8-0.bmp", "match"},
    {"bmpsuite/g/pal8.bmp", "match"},
    {"bmpsuite/g/pal8gs.bmp", "match"},
    {"bmpsuite/g/pal8nonsquare.bmp", "match"},
    {"bmpsuite/g/pal8os2.bmp", "match"},
    {"bmpsuite/g/pal8rle.bmp", "match"},
    {"bmpsuite/g/pal8topdown.bmp", "match"},
    {"bmpsuite/g/pal8v4.bmp", "match"},
    {"bmpsuite/g/pal8v5.bmp", "match"},
    {"bmpsuite/g/pal8w124.bmp", "match"},
    {"bmpsuite/g/pal8w125.bmp", "match"},
    {"bmpsuite/g/pal8w126.bmp", "match"},
    {"bmpsuite/g/rgb16-565.bmp", "match"},
    {"bmpsuite/g/rgb16-565pal.bmp", "decodes", "the two renderers scale 5-bit channels differently"},
    {"bmpsuite/g/rgb16.bmp", "match"},
    {"bmpsuite/g/rgb16bfdef.bmp", "decodes", "the two renderers scale 5-bit channels differently"},
    {"bmpsuite/g/rgb24.bmp", "match"},
    {"bmpsuite/g/rgb24pal.bmp", "match"},
    {"bmpsuite/g/rgb32.bmp", "match"},
    {"bmpsuite/g/rgb32bf.bmp", "match"},
    {"bmpsuite/g/rgb32bfdef.bmp", "match"},
    {"bmpsuite/q/pal1huffmsb.bmp", "Unsupported", "OS/2 Huffman 1D"},
    {"bmpsuite/q/pal1p1.bmp", "match"},
    {"bmpsuite/q/pal2.bmp", "Unsupported", "2 bits per pixel"},
    {"bmpsuite/q/pal2color.bmp", "Unsupported", "2 bits per pixel"},
    {"bmpsuite/q/pal4rlecut.bmp", "match"},
    {"bmpsuite/q/pal4rletrns.bmp", "match"},
    {"bmpsuite/q/pal8offs.bmp", "match"},
    {"bmpsuite/q/pal8os2-hs.bmp", "decodes"},
    {"bmpsuite/q/pal8os2-sz.bmp", "decodes"},
    {"bmpsuite/q/pal8os2sp.bmp", "decodes"},
    {"bmpsuite/q/pal8os2v2-16.bmp", "match"},
    {"bmpsuite/q/pal8os2v2-40sz.bmp", "decodes"},
    {"bmpsuite/q/pal8os2v2-sz.bmp", "decodes"},
    {"bmpsuite/q/pal8os2v2.bmp", "decodes"},
    {"bmpsuite/q/pal8oversizepal.bmp", "decodes"},
    {"bmpsuite/q/pal8rlecut.bmp", "match"},
    {"bmpsuite/q/pal8rletrns.bmp", "match"},
    {"bmpsuite/q/rgb16-231.bmp", "match"},
    {"bmpsuite/q/rgb16-3103.bmp", "match"},
    {"bmpsuite/q/rgb16faketrns.bmp", "differs", "the unused top bit of 16-bit pixels is not read as transparency"},
    {"bmpsuite/q/rgb24jpeg.bmp", "Unsupported", "embedded JPEG"},
    {"bmpsuite/q/rgb24largepal.bmp", "match"},
    {"bmpsuite/q/rgb24lprof.bmp", "match"},
    {"bmpsuite/q/rgb24png.bmp", "Unsupported", "embedded PNG"},
    {"bmpsuite/q/rgb24prof.bmp", "match"},
    {"bmpsuite/q/rgb24prof2.bmp", "match"},
    {"bmpsuite/q/rgb24rle24.bmp", "Unsupported", "OS/2 24-bit RLE"},
    {"bmpsuite/q/rgb32-111110.bmp", "decodes"},
    {"bmpsuite/q/rgb32-7187.bmp", "match"},
    {"bmpsuite/q/rgb32-xbgr.bmp", "match"},
    {"bmpsuite/q/rgb32fakealpha.bmp", "decodes"},
    {"bmpsuite/q/rgb32h52.bmp", "match"},
    {"bmpsuite/q/rgba16-1924.bmp", "match"},
    {"bmpsuite/q/rgba16-4444.bmp", "match"},
    {"bmpsuite/q/rgba16-5551.bmp", "match"},
    {"bmpsuite/q/rgba32-1.bmp", "decodes"},
    {"bmpsuite/q/rgba32-1010102.bmp", "match"},
    {"bmpsuite/q/rgba32-2.bmp", "decodes"},
    {"bmpsuite/q/rgba32-61754.bmp", "match"},
    {"bmpsuite/q/rgba32-81284.bmp", "match"},
    {"bmpsuite/q/rgba32abf.bmp", "decodes"},
    {"bmpsuite/q/rgba32h56.bmp", "decodes"},
    {"bmpsuite/q/rgba64.bmp", "Unsupported", "64 bits per pixel"},
    {"bmpsuite/b/badbitcount.bmp", "Malformed"},
    {"bmpsuite/b/badbitssize.bmp", "match"},
    {"bmpsuite/b/baddens1.bmp", "match"},
    {"bmpsuite/b/baddens2.bmp", "match"},
    {"bmpsuite/b/badfilesize.bmp", "decodes"},
    {"bmpsuite/b/badheadersize.bmp", "Malformed"},
    {"bmpsuite/b/badpalettesize.bmp", "decodes"},
    {"bmpsuite/b/badplanes.bmp", "Malformed"},
    {"bmpsuite/b/badrle.bmp", "decodes"},
    {"bmpsuite/b/badrle4.bmp", "decodes"},
    {"bmpsuite/b/badrle4bis.bmp", "decodes"},
    {"bmpsuite/b/badrle4ter.bmp", "decodes"},
    {"bmpsuite/b/badrlebis.bmp", "decodes"},
    {"bmpsuite/b/badrleter.bmp", "decodes"},
    {"bmpsuite/b/badwidth.bmp", "Malformed", "negative width"},
    {"bmpsuite/b/pal8badindex.bmp", "decodes"},
    {"bmpsuite/b/rgb16-880.bmp", "match"},
    {"bmpsuite/b/reallybig.bmp", "TooLarge", "3000000 x 2000000"},
    {"bmpsuite/b/rletopdown.bmp", "Malformed", "run-length data must be bottom-up"},
    {"bmpsuite/b/shortfile.bmp", "decodes"},
    {"bmpsuite/x/ba-bm.bmp", "Unsupported", "OS/2 bitmap array"},
    {"pillow/Tests/images/black_and_white.ico", "match"},
    {"pillow/Tests/images/bmp/g/pal8v4.bmp", "match"},
    {"pillow/Tests/images/decompression_bomb.ico", "TooLarge", "65535 x 65535 image in a tiny file"},
    {"pillow/Tests/images/eps/1.bmp", "match"},
    {"pillow/Tests/images/hopper.bmp", "match"},
    {"pillow/Tests/images/hopper.ico", "match"},
    {"pillow/Tests/images/hopper_256x256.ico", "match"},
    {"pillow/Tests/images/hopper_draw.ico", "png", "PNG image: decoded on the Qt side"},
    {"pillow/Tests/images/hopper_emboss.bmp", "match"},
    {"pillow/Tests/images/hopper_emboss_more.bmp", "match"},
    {"pillow/Tests/images/hopper_mask.ico", "match"},
    {"pillow/Tests/images/hopper_rle8.bmp", "match"},
    {"pillow/Tests/images/hopper_rle8_grayscale.bmp", "match"},
    {"pillow/Tests/images/hopper_rle8_row_overflow.bmp", "match"},
    {"pillow/Tests/images/hopper_unexpected.ico", "match"},
    {"pillow/Tests/images/l2rgb_read.bmp", "Malformed", "not a bitmap: header size 0x303030"},
    {"pillow/Tests/images/mmap_error.bmp", "decodes"},
    {"pillow/Tests/images/pillow.ico", "match"},
    {"pillow/Tests/images/python.ico", "match"},
    {"pillow/Tests/images/rgb32bf-abgr.bmp", "match"},
    {"pillow/Tests/images/rgb32bf-rgba.bmp", "decodes"},
    {"dotnet-runtime-assets/src/System.ComponentModel.TypeConverter.TestData/bitmaps/TestIcon.ico", "match"},
    {"dotnet-runtime-assets/src/System.ComponentModel.TypeConverter.TestData/bitmaps/TestImage.bmp", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/10x16_one_entry_32bit.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/16x16_one_entry_4bit.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/256x256_one_entry_32bit.ico", "png", "PNG image: decoded on the Qt side"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/256x256_seven_entries_multiple_bits.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/256x256_two_entries_multiple_bits.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/32x32_one_entry_4bit.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/415581.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/48x48_multiple_entries_32bit.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/48x48_multiple_entries_4bit.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/48x48_one_entry_1bit.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/64x64_one_entry_8bit.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/96x96_one_entry_8bit.ico", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/almogaver-os2.bmp", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/almogaver1bit.bmp", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/almogaver24bits.bmp", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/almogaver32bits.bmp", "decodes"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/almogaver8bits.bmp", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/invalid.ico", "Truncated", "empty file"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/maketransparent.bmp", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/non-inverted.bmp", "match"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/overflowicon.ico", "Malformed", "chosen entry's header is broken"},
    {"dotnet-runtime-assets/src/System.Drawing.Common.TestData/bitmaps/pngwithheight_icon.ico", "decodes"},
    {"dotnet-runtime-assets/src/System.Windows.Extensions.TestData/bitmaps/TestImageWithOleHeader.bmp", "Malformed", "OLE wrapper, not \"BM\""},
    {"libgdiplus/tests/test.bmp", "match"},
    {"libgdiplus/tests/test3.ico", "match"},
    {"rust-ico/tests/images/litexl.ico", "match"},
    {"rust-ico/tests/images/ship.ico", "match"},
    {"rust-ico/tests/images/wiki.ico", "match"},
    {"faint/graphics/faint-icon.ico", "match"},
    {"faint/installer/installer.ico", "match"},
    {"faint/installer/instsplash.bmp", "match"},
    {"faint/tests/test-data/12x6-8bipp.bmp", "match"},
    {"faint/tests/test-data/13x7-8bipp-gray.bmp", "decodes"},
    {"faint/tests/test-data/24bipp.ico", "match"},
    {"faint/tests/test-data/32-bipp_8-bit-alpha_no-palette-BI_RGB.ico", "match"},
    {"faint/tests/test-data/65x65-24bipp.bmp", "match"},
};

TEST(CorpusConformance, EveryBitmapAndIconAsExpected)
{
    if (!testsupport::haveCorpus())
        GTEST_SKIP() << "picture corpus absent";
    std::map<std::string, const Expectation*> table;
    for (const auto& e : kExpected)
        table[e.path] = &e;
    for (const auto& path : corpusFiles()) {
        SCOPED_TRACE(path);
        std::string detail;
        const bool icon = path.substr(path.size() - 4) == ".ico";
        const std::string got = icon ? outcomeOfIcon(path, detail) : outcomeOfBitmap(path, detail);
        auto it = table.find(path);
        ASSERT_NE(it, table.end()) << "new corpus file, add a row: " << got << " " << detail;
        const std::string expected = it->second->outcome;
        // An unmatched reference would fail a "decodes" row too if it were trusted.
        EXPECT_EQ(got == "noref" ? "decodes" : got == "differ" ? "differs" : got, expected) << detail;
    }
}

} // namespace
