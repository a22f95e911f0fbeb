#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace kelpora::mf {

// Appends enhanced metafile records; each record's size is patched when it ends
// and padded to a multiple of four bytes.
class EmfWriter {
public:
    explicit EmfWriter(std::vector<uint8_t>& out) : m_out(out) {}

    void begin(uint32_t type)
    {
        m_start = m_out.size();
        u32(type);
        u32(0);
        ++m_records;
    }
    void end()
    {
        while ((m_out.size() - m_start) % 4)
            m_out.push_back(0);
        put(m_start + 4, uint32_t(m_out.size() - m_start));
    }
    void u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_out.push_back(uint8_t(v >> (8 * i)));
    }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void u16(uint16_t v)
    {
        m_out.push_back(uint8_t(v));
        m_out.push_back(uint8_t(v >> 8));
    }
    void i16(int16_t v) { u16(uint16_t(v)); }
    void f32(float f)
    {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        u32(bits);
    }
    void bytes(const uint8_t* p, size_t n) { m_out.insert(m_out.end(), p, p + n); }
    void zeros(size_t n) { m_out.insert(m_out.end(), n, 0); }
    void rect(int l, int t, int r, int b) { i32(l), i32(t), i32(r), i32(b); }
    // Offset of the current write position from the start of the open record.
    uint32_t recordOffset() const { return uint32_t(m_out.size() - m_start); }
    void put(size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_out[at + i] = uint8_t(v >> (8 * i));
    }
    size_t recordStart() const { return m_start; }
    uint32_t records() const { return m_records; }

    // One-call records made of 32-bit fields.
    void simple(uint32_t type, std::initializer_list<int32_t> fields)
    {
        begin(type);
        for (int32_t f : fields)
            i32(f);
        end();
    }

private:
    std::vector<uint8_t>& m_out;
    size_t m_start = 0;
    uint32_t m_records = 0;
};

} // namespace kelpora::mf
