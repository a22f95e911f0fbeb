#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace benchfiles {

struct LargeBitmap {
    std::string name;
    std::filesystem::path path;
    size_t decodedBytes; // what a decoder keeping the file's depth produces
};

// Writes the 8000 x 6000 test bitmaps into `dir` (once; existing files of
// the right size are kept) and lists them.
std::vector<LargeBitmap> makeLargeBitmaps(const std::filesystem::path& dir);

} // namespace benchfiles
