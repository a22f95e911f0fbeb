#pragma once
#include <cstdint>

namespace kelpora::codec::detail {

// Turns a pixel with arbitrary channel masks into bytes B, G, R, A.
// A channel's bits need not be contiguous or 8 wide: the masked value is
// scaled from [0, mask >> shift] to [0, 255]. A zero colour mask reads as 0,
// a zero alpha mask as opaque. Masks are cut to the pixel's width first;
// overlapping masks simply read the same bits twice.
class BitFieldConverter {
public:
    BitFieldConverter() = default;
    BitFieldConverter(const uint32_t masks[4], bool useAlpha, unsigned bitsPerPixel);

    bool hasAlpha() const { return channels_[3].max != 0; }

    void write(uint32_t pixel, uint8_t* bgra) const
    {
        bgra[0] = channel(2, pixel);
        bgra[1] = channel(1, pixel);
        bgra[2] = channel(0, pixel);
        bgra[3] = channels_[3].max ? channel(3, pixel) : 0xFF;
    }

private:
    struct Channel {
        uint32_t mask = 0;
        unsigned shift = 0;
        uint32_t max = 0;
    };
    uint8_t channel(int i, uint32_t pixel) const
    {
        const Channel& c = channels_[i];
        if (c.max == 0)
            return 0;
        const uint64_t v = (pixel & c.mask) >> c.shift;
        return static_cast<uint8_t>((v * 255 + c.max / 2) / c.max);
    }
    Channel channels_[4];
};

inline BitFieldConverter::BitFieldConverter(const uint32_t masks[4], bool useAlpha, unsigned bitsPerPixel)
{
    const uint32_t pixelMask = bitsPerPixel >= 32 ? 0xFFFFFFFFu : ((uint32_t(1) << bitsPerPixel) - 1);
    for (int i = 0; i < 4; ++i) {
        const uint32_t m = (i == 3 && !useAlpha) ? 0 : (masks[i] & pixelMask);
        if (m == 0)
            continue;
        unsigned shift = 0;
        while (((m >> shift) & 1u) == 0)
            ++shift;
        channels_[i] = {m, shift, m >> shift};
    }
}

} // namespace kelpora::codec::detail
