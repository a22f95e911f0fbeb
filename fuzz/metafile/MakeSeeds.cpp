// Writes the seed inputs of the metafile fuzzers: DIR/emf and DIR/wmf.
#include "SampleMetafiles.h"
#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_metafile_seeds DIR\n");
        return 2;
    }
    std::filesystem::path dir = argv[1];
    for (const auto& [name, bytes] : mftest::sampleMetafiles()) {
        std::filesystem::path sub = dir / (name.ends_with(".wmf") ? "wmf" : "emf");
        std::filesystem::create_directories(sub);
        std::ofstream(sub / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                         std::streamsize(bytes.size()));
    }
    return 0;
}
