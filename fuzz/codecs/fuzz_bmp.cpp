#include "TouchPixels.h"
#include "codecs/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    kelpora::codec::MemorySource src(data, size);
    auto r = kelpora::codec::decodeBmp(src);
    if (auto* bm = std::get_if<kelpora::codec::DecodedBitmap>(&r))
        touchPixels(*bm);
    return 0;
}
