#pragma once
#include <cstdint>

namespace kelpora::codec::detail {

inline uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t le32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8)
        | (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t les32(const uint8_t* p) { return static_cast<int32_t>(le32(p)); }

} // namespace kelpora::codec::detail
