#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kelpora::mf {

// Little-endian reads from a span that is never left; a read past the end
// yields zero and marks the reader as short so callers can refuse the record.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t size() const { return m_size; }
    const uint8_t* data() const { return m_data; }
    bool has(size_t offset, size_t need) const { return offset <= m_size && m_size - offset >= need; }

    uint8_t u8(size_t off) const { return has(off, 1) ? m_data[off] : 0; }
    uint16_t u16(size_t off) const
    {
        if (!has(off, 2)) return 0;
        return uint16_t(m_data[off] | (m_data[off + 1] << 8));
    }
    int16_t i16(size_t off) const { return int16_t(u16(off)); }
    uint32_t u32(size_t off) const
    {
        if (!has(off, 4)) return 0;
        return uint32_t(m_data[off]) | (uint32_t(m_data[off + 1]) << 8) | (uint32_t(m_data[off + 2]) << 16)
            | (uint32_t(m_data[off + 3]) << 24);
    }
    int32_t i32(size_t off) const { return int32_t(u32(off)); }
    float f32(size_t off) const
    {
        uint32_t bits = u32(off);
        float f;
        std::memcpy(&f, &bits, 4);
        return f;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

} // namespace kelpora::mf
