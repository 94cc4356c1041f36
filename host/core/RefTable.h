// Opaque host references (stream, effect, collection, memory handle...): each one
// handed out is a record in a slot array and an entry in the ledger. The reference
// the plug-in gets encodes the table, the slot and the slot's generation, so a
// reference passed back is checked before use: a foreign one (not made by this
// table), a disposed one and a twice-disposed one are caught at once and named with
// the calls that made and disposed it.
//
// A disposed slot is reused only after kRetiredKept later disposals (the free slots
// are taken oldest first), so a late use is named with its maker and disposer for at
// least that long; a reference older than that is still caught as disposed, without
// the names. Memory stays flat over a long session.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>

#include "A.h"
#include "core/Errors.h"
#include "core/Ledger.h"

namespace tlhost {

namespace detail {
// A tag of 16 bits per table, in the reference's top bits, where no user-space
// address has any: references of two tables (or two hosts) never pass for each other.
std::uint16_t NextRefTableTag();
}  // namespace detail

template <class Target>
class RefTable {
  public:
    RefTable(RefKind kind, const char* noun)
        : kind_(kind), noun_(noun), tag_(detail::NextRefTableTag()) {}

    // Hands out a new reference to `target`; the caller of the host function owns it.
    // `what` describes it in reports (written only when one is printed).
    template <class H>
    H Make(Ledger& ledger, Target target, RefWhat what) {
        const RefId ref = ledger.Acquire(kind_, what);
        return Fill<H>(ledger, std::move(target), ref);
    }
    template <class H>
    H Make(Ledger& ledger, Target target, std::string what) {
        const RefId ref = ledger.Acquire(kind_, std::move(what));
        return Fill<H>(ledger, std::move(target), ref);
    }

    // The target of a live reference; a breach otherwise.
    template <class H>
    Target& Get(H handle, const char* /*function*/) const {
        return Lookup(Bits(handle)).target;
    }

    template <class H>
    void Dispose(Ledger& ledger, H handle, const char* function) {
        const std::uint64_t bits = Bits(handle);
        Slot& slot = Lookup(bits);
        ledger.Release(slot.ref, function);
        Retire(slot, bits, ledger.Current(), false);
    }

    // The host takes a reference over (a stream adopted by a collection).
    template <class H>
    void Adopt(Ledger& ledger, H handle, const char* function) {
        const std::uint64_t bits = Bits(handle);
        Slot& slot = Lookup(bits);
        ledger.Adopt(slot.ref);
        Retire(slot, bits, CallSite{function, 0}, true);
    }

    static constexpr std::size_t kRetiredKept = 4096;

  private:
    struct Slot {
        Target target{};
        RefId ref = 0;
        std::uint32_t generation = 0;
        bool live = false;
        bool adopted = false;
        CallSite made_by;
        CallSite ended_by;
    };
    static constexpr unsigned kIndexBits = 24;
    static constexpr unsigned kGenerationBits = 24;
    static constexpr std::uint64_t kIndexMask = (std::uint64_t{1} << kIndexBits) - 1;
    static constexpr std::uint64_t kGenerationMask = (std::uint64_t{1} << kGenerationBits) - 1;

    template <class H>
    static std::uint64_t Bits(H handle) {
        return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
    }

    template <class H>
    H Fill(Ledger& ledger, Target target, RefId ref) {
        std::size_t index;
        if (free_.size() > kRetiredKept) {
            index = free_.front();
            free_.pop_front();
        } else {
            if (slots_.size() > kIndexMask) Refuse(A_Err_ALLOC);
            index = slots_.size();
            slots_.emplace_back();
        }
        Slot& slot = slots_[index];
        slot.generation = static_cast<std::uint32_t>((slot.generation + 1) & kGenerationMask);
        if (slot.generation == 0) slot.generation = 1;  // 0 is never handed out
        slot.target = std::move(target);
        slot.ref = ref;
        slot.live = true;
        slot.adopted = false;
        slot.made_by = ledger.Current();
        slot.ended_by = CallSite{};
        const std::uint64_t bits =
            (std::uint64_t{tag_} << 48) | (std::uint64_t{slot.generation} << kIndexBits) | index;
        return reinterpret_cast<H>(static_cast<std::uintptr_t>(bits));
    }

    void Retire(Slot& slot, std::uint64_t bits, CallSite by, bool adopted) {
        slot.live = false;
        slot.adopted = adopted;
        slot.ended_by = by;
        slot.target = Target{};
        free_.push_back(static_cast<std::uint32_t>(bits & kIndexMask));
    }

    Slot& Lookup(std::uint64_t bits) const {
        if (!bits) Breach(A_Err_PARAMETER, std::string("null ") + noun_);
        const std::uint64_t index = bits & kIndexMask;
        const auto generation = static_cast<std::uint32_t>((bits >> kIndexBits) & kGenerationMask);
        if ((bits >> 48) != tag_ || index >= slots_.size() || generation == 0) {
            Breach(A_Err_PARAMETER, std::string("foreign ") + noun_ + " (not made by this host)");
        }
        Slot& slot = const_cast<Slot&>(slots_[static_cast<std::size_t>(index)]);
        if (slot.generation == generation && slot.live) return slot;
        if (slot.generation == generation) {
            Breach(A_Err_PARAMETER, std::string("disposed ") + noun_ + " (made by " +
                                        slot.made_by.Text() + ", disposed by " + Ended(slot) + ")");
        }
        if (Older(generation, slot.generation)) {
            Breach(A_Err_PARAMETER, std::string("disposed ") + noun_ +
                                        " (disposed long ago: its record has been reused)");
        }
        Breach(A_Err_PARAMETER, std::string("foreign ") + noun_ + " (not made by this host)");
    }

    static std::string Ended(const Slot& slot) {
        if (slot.adopted) return std::string(slot.ended_by.function) + " (adopted)";
        return slot.ended_by.Text();
    }
    // Whether `generation` was handed out from the slot before `current`.
    static bool Older(std::uint32_t generation, std::uint32_t current) {
        return ((current - generation) & kGenerationMask) < (kGenerationMask / 2);
    }

    RefKind kind_;
    const char* noun_;
    std::uint16_t tag_;
    std::deque<Slot> slots_;
    std::deque<std::uint32_t> free_;
};

}  // namespace tlhost
