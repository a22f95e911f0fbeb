#pragma once
#include "Metafile.h"
#include <cstdint>
#include <vector>

namespace kelpora::mf {

// What the 22-byte placeable header says.
struct PlaceableHeader {
    int left = 0, top = 0, right = 0, bottom = 0;
    int inch = 0;
};

// Reads and checks the placeable header (key and checksum). False when absent or wrong.
bool readPlaceableHeader(const uint8_t* data, size_t size, PlaceableHeader& out);

// Rewrites a Windows metafile (placeable header included) as enhanced metafile
// records. The picture's box becomes the frame and the bounds, and one device
// pixel one unit of the box. False when the metafile header itself is unusable.
bool convertWmfToEmf(const uint8_t* data, size_t size, std::vector<uint8_t>& emf, EmfHeaderInfo& header);

} // namespace kelpora::mf
