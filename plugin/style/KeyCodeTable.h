// The character-to-key-code table of macOS key synthesis, without the platform: which key code
// of the keyboard layout types a character. It is built on first use by asking, for every key
// code from 0 to 127 in ascending order, what that key types with no modifier held; when several
// keys type the same character the lowest key code wins. Once built it is never rebuilt, so a
// later change of keyboard layout changes nothing within the process. When the table's storage
// cannot be made, nothing is built, the answer is "no key", and the next call tries again.
//
// The storage is the platform's dictionary, given as a type with:
//
//     using Ref = ...;                                        // null when there is none
//     static Ref Create(std::size_t capacity);                // null when it cannot be made
//     static void AddIfAbsent(Ref, char16_t unit, std::uint16_t key_code);  // never replaces
//     static bool Find(Ref, char16_t unit, std::uint16_t* key_code);
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "style/KeyEvents.h"

// The key codes asked about, and the room the storage is made with.
inline constexpr std::size_t kKeyCodeCount = 128;

template <class Storage>
class KeyCodeTable {
  public:
    // The key code that types `unit` in the layout the table was built from, or kNoKeyCode.
    // `typed_by(k)` tells the first UTF-16 unit key code k types with no modifier held in the
    // current layout, or nothing; it is asked only while the table is being built.
    template <class TypedBy>
    std::uint16_t KeyCodeFor(char16_t unit, TypedBy&& typed_by) {
        if (!table_) {
            table_ = Storage::Create(kKeyCodeCount);
            if (!table_) return kNoKeyCode;
            for (std::size_t k = 0; k < kKeyCodeCount; ++k) {
                const auto key_code = static_cast<std::uint16_t>(k);
                const std::optional<char16_t> typed = typed_by(key_code);
                if (typed) Storage::AddIfAbsent(table_, *typed, key_code);
            }
        }
        std::uint16_t key_code = kNoKeyCode;
        return Storage::Find(table_, unit, &key_code) ? key_code : kNoKeyCode;
    }

    bool built() const { return static_cast<bool>(table_); }

  private:
    typename Storage::Ref table_{};
};
