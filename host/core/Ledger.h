// The host's ledger: every call the plug-in makes into the host is counted by
// function name, and every reference the host hands out is recorded until it is
// given back. A reference still live after a command is a leak the session reports.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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

const char* RefKindName(RefKind kind);

using RefId = std::uint64_t;

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
    // Counts one call of `function` and returns its sequence number among all host calls
    // (1-based) and, through `nth_of_function`, among calls of that function.
    std::uint64_t CountCall(const char* function, std::uint64_t* nth_of_function = nullptr);

    std::uint64_t CallCount(const std::string& function) const;
    std::uint64_t TotalCalls() const { return total_calls_; }
    // Every function called so far with its count, sorted by name.
    std::map<std::string, std::uint64_t> CallCounts() const;

    // The call currently being served (for `created_by`), set by the boundary.
    void SetCurrentCall(const char* function, std::uint64_t nth) {
        current_function_ = function;
        current_nth_ = nth;
    }
    std::string CurrentCall() const;

    RefId Acquire(RefKind kind, std::string what);
    // Gives a reference back; false (and a violation) when it is not live.
    bool Release(RefId id, const char* by);
    // The host takes ownership (a handle stored as global data or a parameter value):
    // it stays valid but is no longer the plug-in's to give back within the command.
    void Adopt(RefId id);
    bool IsLive(RefId id) const { return live_.count(id) != 0; }
    const LiveRef* Find(RefId id) const;

    std::vector<LiveRef> Live() const;
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
    // Keyed by the function's name; the names are string literals that live for the
    // whole process, so counting a call allocates nothing.
    std::unordered_map<std::string_view, std::uint64_t> call_counts_;
    std::uint64_t total_calls_ = 0;
    const char* current_function_ = nullptr;
    std::uint64_t current_nth_ = 0;
    RefId next_id_ = 1;
    std::map<RefId, LiveRef> live_;  // ordered by id: reports list leaks oldest first
    std::vector<std::string> violations_;
    std::vector<std::string> declined_;
};

}  // namespace tlhost
