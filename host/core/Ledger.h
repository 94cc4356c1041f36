// The host's ledger: every call the plug-in makes into the host is counted by
// function name, and every reference the host hands out is recorded until it is
// given back. A reference still live after a command is a leak the session reports.
//
// Accounting runs on every host call, so it keeps only what a report needs, in
// plain records: the function's name as a pointer to its static text, the call
// number, and what the reference is as static text or as an object and a writer.
// Texts are written only when a report, a breach or a late use is printed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/FlatTable.h"

namespace tlhost {

enum class RefKind {
    Suite,
    Handle,
    HandleLock,
    Stream,
    Effect,
    StreamValue,
    Collection,
    MemHandle,
    MemHandleLock,
    UndoGroup,
    KeyframeBatch,
    PixelCheckout,
    DrawbotObject,
};
inline constexpr std::size_t kRefKindCount = static_cast<std::size_t>(RefKind::DrawbotObject) + 1;

const char* RefKindName(RefKind kind);

using RefId = std::uint64_t;

// A host call: the function's name (static text) and its number among the calls of
// that function. No function means the host itself.
struct CallSite {
    const char* function = nullptr;
    std::uint64_t nth = 0;
    // "host_new_handle #3", or "the host".
    std::string Text() const;
};

// What a reference is, written out only when a report asks: static text, or a
// writer applied to an object that outlives the reference (a property node, an
// effect, a handle's block) and a number.
struct RefWhat {
    using Writer = std::string (*)(const void* object, std::uint64_t number);
    const char* text = nullptr;
    Writer write = nullptr;
    const void* object = nullptr;
    std::uint64_t number = 0;

    static RefWhat Static(const char* text) { return RefWhat{text, nullptr, nullptr, 0}; }
    static RefWhat Of(Writer write, const void* object, std::uint64_t number = 0) {
        return RefWhat{nullptr, write, object, number};
    }
    std::string Text() const;
};

struct LiveRef {
    RefId id = 0;
    RefKind kind = RefKind::Suite;
    std::string what;        // e.g. "\"PF Handle Suite\" v2" or "handle of 10 bytes"
    std::string created_by;  // host function and call number that handed it out
};

// One line naming a reference for reports: "Handle (handle of 10 bytes) from host_new_handle #3".
std::string Describe(const LiveRef& ref);

class Ledger {
  public:
    Ledger();

    // Counts one call of `function` (a name with static storage) and returns its
    // sequence number among all host calls (1-based) and, through `nth_of_function`,
    // among calls of that function. Calls are told apart by the name's text.
    std::uint64_t CountCall(const char* function, std::uint64_t* nth_of_function = nullptr);

    std::uint64_t CallCount(const std::string& function) const;
    // While a sink is set, the name of every call counted is appended to it, in order.
    void TraceCalls(std::vector<const char*>* sink) { trace_ = sink; }
    std::uint64_t TotalCalls() const { return total_calls_; }
    // Every function called so far with its count, sorted by name.
    std::map<std::string, std::uint64_t> CallCounts() const;

    // The call currently being served (for `created_by`), set by the boundary.
    void SetCurrentCall(const char* function, std::uint64_t nth) { current_ = {function, nth}; }
    CallSite Current() const { return current_; }
    std::string CurrentCall() const { return current_.Text(); }

    // Records a reference made by the current call.
    RefId Acquire(RefKind kind, RefWhat what);
    RefId Acquire(RefKind kind, std::string what);
    // Gives a reference back; false (and a violation) when it is not live.
    bool Release(RefId id, const char* by);
    // The host takes ownership (a handle stored as global data or a parameter value):
    // it stays valid but is no longer the plug-in's to give back within the command.
    void Adopt(RefId id);
    bool IsLive(RefId id) const { return SlotOf(id) != nullptr; }
    std::optional<LiveRef> Find(RefId id) const;

    // The live references, oldest first.
    std::vector<LiveRef> Live() const;
    std::size_t LiveCount() const { return live_count_; }
    std::size_t LiveCount(RefKind kind) const;

    // Breaches of the interface rules by the plug-in: foreign or disposed handles, an
    // unbalanced release, an exception at the boundary.
    void Violation(std::string message);
    const std::vector<std::string>& Violations() const { return violations_; }

    // Host functions the stand-in does not implement; each call is recorded here
    // and answered with an error.
    void Declined(const char* function);
    const std::vector<std::string>& DeclinedCalls() const { return declined_; }

    // Marks used by the session to report what happened during one command.
    std::size_t ViolationMark() const { return violations_.size(); }
    std::size_t DeclinedMark() const { return declined_.size(); }

  private:
    // One reference record. Records are reused once given back; the generation in
    // the reference's id tells a given-back reference from the record's next one.
    struct Slot {
        std::uint32_t generation = 0;
        bool live = false;
        RefKind kind = RefKind::Suite;
        std::uint64_t serial = 0;  // order of acquisition, for reports
        CallSite made_by;
        RefWhat what;
        std::string text;  // what the reference is, when given as text
    };
    const Slot* SlotOf(RefId id) const;
    Slot& Take(RefKind kind);
    LiveRef Report(const Slot& slot, std::size_t index) const;
    static RefId IdOf(std::size_t index, std::uint32_t generation) {
        return (static_cast<RefId>(generation) << 32) | static_cast<RefId>(index + 1);
    }

    // Counters by name; `by_pointer_` maps each name pointer seen to its counter, so
    // that counting a call neither hashes nor compares text. Counters keep their place
    // as more are added.
    struct Counter {
        const char* name;
        std::uint64_t count;
    };
    Counter& CounterFor(const char* function);
    Counter* NewPointer(const char* function);
    std::deque<Counter> counters_;
    FlatTable<const char*, Counter*> by_pointer_;

    std::uint64_t total_calls_ = 0;
    std::vector<const char*>* trace_ = nullptr;
    CallSite current_;
    std::vector<Slot> slots_;
    std::vector<std::uint32_t> free_;
    std::size_t live_count_ = 0;
    std::uint64_t next_serial_ = 1;
    std::vector<std::string> violations_;
    std::vector<std::string> declined_;
};

}  // namespace tlhost
