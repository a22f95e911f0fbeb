#include "TouchPixels.h"
#include "codecs/IconDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kelpora::codec;
    MemorySource src(data, size);
    auto parsed = parseIconDirectory(src);
    auto* dir = std::get_if<IconDirectory>(&parsed);
    if (!dir)
        return 0;
    const size_t chosen = chooseIconImage(*dir, 16, 16, 32);
    if (chosen != kNoIconImage && chosen >= dir->entries.size())
        __builtin_trap();
    (void)chooseIconImage(*dir, 32, 32, 4);
    for (const auto& e : dir->entries) {
        (void)iconImageIsPng(src, e);
        auto r = decodeIconImage(src, e);
        if (auto* bm = std::get_if<DecodedBitmap>(&r))
            touchPixels(*bm);
    }
    return 0;
}
