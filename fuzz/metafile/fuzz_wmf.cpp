#include "FuzzPlay.h"
#include <vector>

// The placeable header's key and checksum are set here so that mutations
// reach the records instead of dying at the checksum.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> in(data, data + size);
    if (in.size() >= 22) {
        in[0] = 0xD7, in[1] = 0xCD, in[2] = 0xC6, in[3] = 0x9A;
        uint16_t sum = 0;
        for (size_t i = 0; i < 20; i += 2)
            sum ^= uint16_t(in[i] | (in[i + 1] << 8));
        in[20] = uint8_t(sum), in[21] = uint8_t(sum >> 8);
    }
    fuzzPlay(in.data(), in.size());
    return 0;
}
