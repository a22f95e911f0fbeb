#pragma once
#include <QRect>
#include <set>
#include <unordered_map>
#include <vector>

namespace kelpora::mf {

// The Windows metafile object table: a new object takes the lowest free slot
// and deleting an object frees its slot for the next one.
class WmfObjectSlots {
public:
    enum Kind { Free, Pen, Brush, Font, Palette, Region };
    static constexpr int MaxSlots = 65535;

    int allocate(Kind kind)
    {
        int slot;
        if (!m_free.empty()) {
            slot = *m_free.begin();
            m_free.erase(m_free.begin());
        } else if (int(m_kinds.size()) < MaxSlots) {
            slot = int(m_kinds.size());
            m_kinds.push_back(Free);
        } else {
            return -1;
        }
        m_kinds[size_t(slot)] = kind;
        return slot;
    }
    void release(int slot)
    {
        if (kind(slot) == Free)
            return;
        m_kinds[size_t(slot)] = Free;
        m_regions.erase(slot);
        m_free.insert(slot);
    }
    Kind kind(int slot) const { return slot >= 0 && slot < int(m_kinds.size()) ? m_kinds[size_t(slot)] : Free; }
    void setRegion(int slot, std::vector<QRect> rects) { m_regions[slot] = std::move(rects); }
    const std::vector<QRect>* region(int slot) const
    {
        auto it = m_regions.find(slot);
        return it == m_regions.end() ? nullptr : &it->second;
    }
    int highWater() const { return int(m_kinds.size()); }

private:
    std::vector<Kind> m_kinds;
    std::set<int> m_free;
    std::unordered_map<int, std::vector<QRect>> m_regions;
};

} // namespace kelpora::mf
