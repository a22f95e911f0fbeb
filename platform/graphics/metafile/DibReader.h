#pragma once
#include <QImage>
#include <cstddef>
#include <cstdint>

namespace kelpora::mf {

// Largest bitmap a record may carry, in pixels; beyond it the record is skipped.
constexpr int64_t MaxDibPixels = 16 * 1024 * 1024;

// Bytes taken by the info header, colour masks and colour table at the start of
// a packed device-independent bitmap, or 0 when the header is not one.
size_t dibInfoSize(const uint8_t* p, size_t n, bool paletteIndices = false);

// Decodes a device-independent bitmap held as info (header + table) and bits.
// Rows missing from short bit data stay transparent. Returns a null image on
// any malformed or oversized header. The result is Format_ARGB32; the alpha of
// 32-bit pixels is kept only when keepAlpha is set, else pixels are opaque.
QImage decodeDib(const uint8_t* info, size_t infoLen, const uint8_t* bits, size_t bitsLen, bool keepAlpha,
                 bool paletteIndices = false);

} // namespace kelpora::mf
