#include "FuzzPlay.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzPlay(data, size);
    return 0;
}
