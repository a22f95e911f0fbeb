#pragma once
#include "codecs/ByteSource.h"
#include "codecs/DecodedBitmap.h"

namespace kelpora::codec {

// Decodes a whole .bmp file. An empty source is an empty 0 x 0 bitmap; 1 to
// 13 bytes are Truncated. The file's own depth is kept where a PixelFormat
// matches it (4-bit and run-length data come out as Indexed8, bit-field
// masks other than the plain 555/565/888 ones as Xrgb32 or Argb32). Pixel
// data that ends early is accepted: the rest reads as colour 0.
Result<DecodedBitmap> decodeBmp(ByteSource& src);

} // namespace kelpora::codec
