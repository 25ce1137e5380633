#pragma once
// The open key handles of a store. A handle is a slot number (plus one) in the low 20 bits and the
// slot's use count above, so a closed handle stays invalid until its slot has been reused 2,047
// times. Slot is what the store keeps for an open key.

#include "registry/registry.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace orvanex::reg {

// The predefined roots: open for ever, never in a table.
inline bool isPredefinedKey(HKey key) {
    return key >= HKEY_CLASSES_ROOT && key <= HKEY_CURRENT_CONFIG && key != 0x80000004u;
}

template <typename Slot> class HandleTable {
public:
    // A fresh slot for a new handle, which *key receives; null (and *key 0) when a million
    // handles are open.
    Slot* open(HKey* key) {
        std::uint32_t index = 0;
        if (!m_free.empty()) {
            index = m_free.back();
            m_free.pop_back();
        } else {
            if (m_entries.size() >= kSlotMask) {
                *key = 0;
                return nullptr;
            }
            index = std::uint32_t(m_entries.size());
            m_entries.emplace_back();
        }
        Entry& e = m_entries[index];
        e.used = true;
        e.generation = e.generation % kMaxGeneration + 1;
        e.slot = Slot{};
        *key = (e.generation << 20) | (index + 1);
        return &e.slot;
    }

    // The slot of an open handle; null for one that is closed or was never given.
    Slot* find(HKey key) { return const_cast<Slot*>(std::as_const(*this).find(key)); }
    const Slot* find(HKey key) const {
        const std::uint32_t index = (key & kSlotMask) - 1;
        if (index >= m_entries.size() || !m_entries[index].used ||
            m_entries[index].generation != key >> 20)
            return nullptr;
        return &m_entries[index].slot;
    }

    // False for a handle that is not open. The slot lets go of what it held.
    bool close(HKey key) {
        Slot* slot = find(key);
        if (!slot)
            return false;
        const std::uint32_t index = (key & kSlotMask) - 1;
        m_entries[index].used = false;
        *slot = Slot{};
        m_free.push_back(index);
        return true;
    }

private:
    static constexpr HKey kSlotMask = 0xFFFFF;
    static constexpr std::uint32_t kMaxGeneration = 0x7FF;
    struct Entry {
        Slot slot;
        bool used = false;
        std::uint32_t generation = 0;
    };
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_free;
};

} // namespace orvanex::reg
