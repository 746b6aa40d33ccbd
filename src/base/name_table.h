// A table of distinct names, each with a dense number, for makefiles of
// millions of names: open addressing with a part of each hash kept in the
// slot, so that a lookup seldom touches a name it does not want.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace vexel {

// The table keeps views: the caller keeps the bytes of every name alive for
// the table's lifetime.
class NameTable {
public:
    static constexpr int32_t Missing = -1;

    // The number of name, or Missing.
    int32_t Find(std::string_view name) const {
        if (slots_.empty()) return Missing;
        const uint32_t hash = Hash(name);
        for (std::size_t slot = hash & Mask();; slot = (slot + 1) & Mask()) {
            const Slot& entry = slots_[slot];
            if (entry.number == 0) return Missing;
            if (entry.hash == hash && names_[entry.number - 1] == name) return entry.number - 1;
        }
    }

    // The number of name, adding it when it is new; added tells which.
    int32_t Insert(std::string_view name, bool& added) {
        if ((names_.size() + 1) * 2 > slots_.size()) Grow();
        const uint32_t hash = Hash(name);
        std::size_t slot = hash & Mask();
        for (; slots_[slot].number != 0; slot = (slot + 1) & Mask()) {
            const Slot& entry = slots_[slot];
            if (entry.hash == hash && names_[entry.number - 1] == name) {
                added = false;
                return entry.number - 1;
            }
        }
        names_.emplace_back(name);
        hashes_.push_back(hash);
        slots_[slot] = {static_cast<uint32_t>(names_.size()), hash};
        added = true;
        return static_cast<int32_t>(names_.size() - 1);
    }

    std::size_t Count() const { return names_.size(); }
    std::string_view At(int32_t number) const { return names_[static_cast<std::size_t>(number)]; }

private:
    struct Slot {
        uint32_t number = 0; // 0 = free, else 1 + the name's number
        uint32_t hash = 0;
    };

    static uint32_t Hash(std::string_view name) {
        return static_cast<uint32_t>(std::hash<std::string_view>{}(name));
    }
    std::size_t Mask() const { return slots_.size() - 1; }

    void Grow() {
        slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, Slot{});
        for (std::size_t i = 0; i < names_.size(); ++i) {
            std::size_t slot = hashes_[i] & Mask();
            while (slots_[slot].number != 0)
                slot = (slot + 1) & Mask();
            slots_[slot] = {static_cast<uint32_t>(i + 1), hashes_[i]};
        }
    }

    std::vector<std::string_view> names_;
    std::vector<uint32_t> hashes_;
    std::vector<Slot> slots_;
};

} // namespace vexel
