// A table from keys (integers or pointers) to object pointers, in one array probed
// from the key's hash. A lookup reads one or two neighbouring cache lines, where a
// node-based map reads its bucket and then a node somewhere in the heap: on a project
// of thousands of layers, that is the difference between one miss and two or three
// for every layer handle the plug-in passes back. Entries are never removed; a slot
// whose value is null is empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

namespace tlhost {

template <class Key, class Value>
class FlatTable {
    static_assert(std::is_pointer<Value>::value, "values are object pointers");

  public:
    // The value of `key`, or null.
    Value Find(Key key) const {
        if (slots_.empty()) return nullptr;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = Hash(key) & mask;; i = (i + 1) & mask) {
            const Entry& entry = slots_[i];
            if (!entry.second) return nullptr;
            if (entry.first == key) return entry.second;
        }
    }

    // Adds `key` with `value` (not null); a key already present keeps its value.
    void Insert(Key key, Value value) {
        if ((count_ + 1) * 2 > slots_.size()) Grow();
        if (Place(slots_, key, value)) ++count_;
    }

    std::size_t size() const { return count_; }

    // Asks the processor for the slot where a search for `key` starts; reads nothing.
    void Prefetch(Key key) const {
        if (!slots_.empty()) __builtin_prefetch(&slots_[Hash(key) & (slots_.size() - 1)]);
    }

  private:
    using Entry = std::pair<Key, Value>;

    static std::size_t Hash(Key key) {
        std::uint64_t x;
        if constexpr (std::is_pointer<Key>::value) {
            x = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
        } else {
            x = static_cast<std::uint64_t>(key);
        }
        x ^= x >> 29;
        x *= 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(x >> 32);
    }

    // Puts `key` in `slots`; false when it was there already.
    static bool Place(std::vector<Entry>& slots, Key key, Value value) {
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = Hash(key) & mask;; i = (i + 1) & mask) {
            Entry& entry = slots[i];
            if (!entry.second) {
                entry = {key, value};
                return true;
            }
            if (entry.first == key) return false;
        }
    }

    void Grow() {
        std::vector<Entry> bigger(slots_.empty() ? 16 : slots_.size() * 2, Entry{Key{}, nullptr});
        for (const Entry& entry : slots_) {
            if (entry.second) Place(bigger, entry.first, entry.second);
        }
        slots_.swap(bigger);
    }

    std::vector<Entry> slots_;
    std::size_t count_ = 0;
};

}  // namespace tlhost
