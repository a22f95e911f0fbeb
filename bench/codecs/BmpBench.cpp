// Large-bitmap decoding: the floor (read the file, allocate the decoded size
// and fill it), decodeBmp over a file descriptor, gdk-pixbuf when present,
// and Qt's image reader. Files go to $KELPORA_BENCH_DIR or a temp folder.
#include "LargeBitmaps.h"
#include "codecs/BmpDecoder.h"

#include <QImage>
#include <QImageReader>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#ifdef KELPORA_HAVE_GDK_PIXBUF
#include <gdk-pixbuf/gdk-pixbuf.h>
#endif

namespace {

using benchfiles::LargeBitmap;

void floorCost(benchmark::State& state, const LargeBitmap& f)
{
    for (auto _ : state) {
        const int fd = ::open(f.path.c_str(), O_RDONLY);
        const off_t size = ::lseek(fd, 0, SEEK_END);
        auto* file = static_cast<uint8_t*>(std::malloc(size_t(size)));
        if (::pread(fd, file, size_t(size), 0) != size)
            state.SkipWithError("short read");
        ::close(fd);
        auto* pixels = static_cast<uint8_t*>(std::malloc(f.decodedBytes));
        std::memset(pixels, 0x55, f.decodedBytes);
        benchmark::DoNotOptimize(pixels);
        benchmark::DoNotOptimize(file);
        std::free(pixels);
        std::free(file);
    }
}

void decodeWithKelpora(benchmark::State& state, const LargeBitmap& f)
{
    for (auto _ : state) {
        const int fd = ::open(f.path.c_str(), O_RDONLY);
        kelpora::codec::FileSource src(fd);
        auto r = kelpora::codec::decodeBmp(src);
        ::close(fd);
        if (!std::holds_alternative<kelpora::codec::DecodedBitmap>(r))
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(r);
    }
}

#ifdef KELPORA_HAVE_GDK_PIXBUF
void decodeWithGdkPixbuf(benchmark::State& state, const LargeBitmap& f)
{
    for (auto _ : state) {
        GError* error = nullptr;
        GdkPixbuf* pb = gdk_pixbuf_new_from_file(f.path.c_str(), &error);
        if (!pb) {
            state.SkipWithError(error ? error->message : "gdk-pixbuf failed");
            if (error)
                g_error_free(error);
            break;
        }
        benchmark::DoNotOptimize(gdk_pixbuf_get_pixels(pb));
        g_object_unref(pb);
    }
}
#endif

void decodeWithQt(benchmark::State& state, const LargeBitmap& f)
{
    QImageReader::setAllocationLimit(0);
    for (auto _ : state) {
        QImageReader reader(QString::fromStdString(f.path.string()));
        QImage img = reader.read();
        if (img.isNull()) {
            state.SkipWithError("Qt could not read it");
            break;
        }
        benchmark::DoNotOptimize(img.constBits());
    }
}

} // namespace

int main(int argc, char** argv)
{
    const char* dirEnv = std::getenv("KELPORA_BENCH_DIR");
    const std::filesystem::path dir = dirEnv ? dirEnv : std::filesystem::temp_directory_path() / "kelpora-bench";
    static const auto files = benchfiles::makeLargeBitmaps(dir);
    for (const auto& f : files) {
        auto reg = [&](const char* method, void (*fn)(benchmark::State&, const LargeBitmap&)) {
            benchmark::RegisterBenchmark((f.name + "/" + method).c_str(), fn, f)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MinTime(1.0);
        };
        reg("floor", floorCost);
        reg("kelpora", decodeWithKelpora);
#ifdef KELPORA_HAVE_GDK_PIXBUF
        reg("gdkpixbuf", decodeWithGdkPixbuf);
#endif
        reg("qt", decodeWithQt);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
