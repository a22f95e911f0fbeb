#pragma once
#include "codecs/DecodedBitmap.h"

#include <cstdint>

// Reads the first and last byte of every row and checks the promises of the
// output, so that a buffer smaller than stride x height, or a stride out of
// step with the format, shows up under the address sanitizer.
inline void touchPixels(const kelpora::codec::DecodedBitmap& bm)
{
    using kelpora::codec::PixelFormat;
    if (bm.height < 0 || bm.width < 0 || bm.stride % 4 != 0)
        __builtin_trap();
    if (bm.format == PixelFormat::Empty || !bm.pixels)
        return;
    if ((bm.format == PixelFormat::Mono1 && bm.palette.size() < 2)
        || (bm.format == PixelFormat::Indexed8 && bm.palette.empty()))
        __builtin_trap();
    volatile uint8_t sink = 0;
    for (int y = 0; y < bm.height; ++y) {
        const uint8_t* row = bm.pixels.get() + static_cast<size_t>(y) * bm.stride;
        sink = sink + row[0] + row[bm.stride - 1];
        if (bm.format == PixelFormat::Indexed8)
            for (int x = 0; x < bm.width; ++x)
                if (row[x] >= bm.palette.size())
                    __builtin_trap();
    }
}
