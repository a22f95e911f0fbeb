#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <variant>
#include <vector>

namespace kelpora::codec {

enum class DecodeError { Truncated, Malformed, Unsupported, TooLarge, OutOfMemory };

enum class PixelFormat {
    Empty,    // no pixels (0 x 0, or one of the sizes is 0)
    Mono1,    // 1 bit per pixel, most significant bit first, palette of 2
    Indexed8, // 1 byte per pixel, palette of 256 (short tables padded with black)
    Bgr24,    // bytes B, G, R
    Rgb555,   // 16-bit little-endian x1r5g5b5
    Rgb565,   // 16-bit little-endian r5g6b5
    Xrgb32,   // bytes B, G, R, 0xFF
    Argb32,   // bytes B, G, R, A, not premultiplied
};

struct DecodedBitmap {
    int width = 0, height = 0; // height is always positive
    PixelFormat format = PixelFormat::Empty;
    size_t stride = 0;              // bytes per row, a multiple of 4
    std::vector<uint32_t> palette;  // 0xFFRRGGBB entries for Mono1 and Indexed8
    std::unique_ptr<uint8_t, void (*)(void*)> pixels{nullptr, std::free}; // malloc'd, rows top-down
};

template<class T>
using Result = std::variant<T, DecodeError>;

const char* errorName(DecodeError e);

} // namespace kelpora::codec
