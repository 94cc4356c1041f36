#include "core/Ledger.h"

#include <atomic>

#include <algorithm>
#include <cstring>

namespace tlhost {

namespace {
struct KindName {
    RefKind kind;
    const char* name;
};
constexpr KindName kKindNames[] = {
    {RefKind::Suite, "Suite"},
    {RefKind::Handle, "Handle"},
    {RefKind::HandleLock, "HandleLock"},
    {RefKind::Stream, "Stream"},
    {RefKind::Effect, "Effect"},
    {RefKind::StreamValue, "StreamValue"},
    {RefKind::Collection, "Collection"},
    {RefKind::MemHandle, "MemHandle"},
    {RefKind::MemHandleLock, "MemHandleLock"},
    {RefKind::UndoGroup, "UndoGroup"},
    {RefKind::KeyframeBatch, "KeyframeBatch"},
    {RefKind::PixelCheckout, "PixelCheckout"},
    {RefKind::DrawbotObject, "DrawbotObject"},
};

}  // namespace

namespace detail {
std::uint16_t NextRefTableTag() {
    // Top bits 0xA5: no user-space address on the platforms served has them set.
    static std::atomic<std::uint16_t> next{0};
    return static_cast<std::uint16_t>(0xA500u | (next++ & 0xFFu));
}
}  // namespace detail

const char* RefKindName(RefKind kind) {
    for (const auto& k : kKindNames) {
        if (k.kind == kind) return k.name;
    }
    return "Unknown";
}

std::string CallSite::Text() const {
    if (!function) return "the host";
    return std::string(function) + " #" + std::to_string(nth);
}

std::string RefWhat::Text() const {
    if (write) return write(object, number);
    return text ? text : "";
}

std::string Describe(const LiveRef& ref) {
    return std::string(RefKindName(ref.kind)) + " (" + ref.what + ") from " + ref.created_by;
}

Ledger::Ledger() = default;

Ledger::Counter& Ledger::CounterFor(const char* function) {
    if (Counter* counter = by_pointer_.Find(function)) return *counter;
    return *NewPointer(function);
}

// A name pointer met for the first time: its counter is the one of an equal name
// met before (the same literal in another translation unit), else a new one.
Ledger::Counter* Ledger::NewPointer(const char* function) {
    Counter* counter = nullptr;
    for (Counter& c : counters_) {
        if (std::strcmp(c.name, function) == 0) {
            counter = &c;
            break;
        }
    }
    if (!counter) counter = &counters_.emplace_back(Counter{function, 0});
    by_pointer_.Insert(function, counter);
    return counter;
}

std::uint64_t Ledger::CountCall(const char* function, std::uint64_t* nth_of_function) {
    ++total_calls_;
    if (trace_) trace_->push_back(function);
    const std::uint64_t nth = ++CounterFor(function).count;
    if (nth_of_function) *nth_of_function = nth;
    return total_calls_;
}

std::uint64_t Ledger::CallCount(const std::string& function) const {
    for (const Counter& c : counters_) {
        if (function == c.name) return c.count;
    }
    return 0;
}

std::map<std::string, std::uint64_t> Ledger::CallCounts() const {
    std::map<std::string, std::uint64_t> out;
    for (const Counter& c : counters_) out.emplace(c.name, c.count);
    return out;
}

Ledger::Slot& Ledger::Take(RefKind kind) {
    std::size_t index;
    if (!free_.empty()) {
        index = free_.back();
        free_.pop_back();
    } else {
        index = slots_.size();
        slots_.emplace_back();
    }
    Slot& slot = slots_[index];
    slot.live = true;
    slot.kind = kind;
    slot.serial = next_serial_++;
    slot.made_by = current_;
    ++live_count_;
    return slot;
}

RefId Ledger::Acquire(RefKind kind, RefWhat what) {
    Slot& slot = Take(kind);
    slot.what = what;
    slot.text.clear();
    return IdOf(static_cast<std::size_t>(&slot - slots_.data()), slot.generation);
}

RefId Ledger::Acquire(RefKind kind, std::string what) {
    Slot& slot = Take(kind);
    slot.what = RefWhat{};
    slot.text = std::move(what);
    return IdOf(static_cast<std::size_t>(&slot - slots_.data()), slot.generation);
}

const Ledger::Slot* Ledger::SlotOf(RefId id) const {
    const std::uint64_t low = id & 0xFFFFFFFFu;
    if (low == 0 || low > slots_.size()) return nullptr;
    const Slot& slot = slots_[static_cast<std::size_t>(low - 1)];
    if (!slot.live || slot.generation != static_cast<std::uint32_t>(id >> 32)) return nullptr;
    return &slot;
}

bool Ledger::Release(RefId id, const char* by) {
    const Slot* found = SlotOf(id);
    if (!found) {
        Violation(std::string(by) + ": released a reference that is not live");
        return false;
    }
    Adopt(id);
    return true;
}

void Ledger::Adopt(RefId id) {
    const Slot* found = SlotOf(id);
    if (!found) return;
    const std::size_t index = static_cast<std::size_t>(found - slots_.data());
    Slot& slot = slots_[index];
    slot.live = false;
    ++slot.generation;
    if (!slot.text.empty()) std::string().swap(slot.text);
    free_.push_back(static_cast<std::uint32_t>(index));
    --live_count_;
}

LiveRef Ledger::Report(const Slot& slot, std::size_t index) const {
    return LiveRef{IdOf(index, slot.generation), slot.kind,
                   slot.what.write || slot.what.text ? slot.what.Text() : slot.text,
                   slot.made_by.Text()};
}

std::optional<LiveRef> Ledger::Find(RefId id) const {
    const Slot* slot = SlotOf(id);
    if (!slot) return std::nullopt;
    return Report(*slot, static_cast<std::size_t>(slot - slots_.data()));
}

std::vector<LiveRef> Ledger::Live() const {
    std::vector<std::pair<std::uint64_t, std::size_t>> order;
    if (live_count_ == 0) return {};
    order.reserve(live_count_);
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i].live) order.emplace_back(slots_[i].serial, i);
    }
    std::sort(order.begin(), order.end());
    std::vector<LiveRef> out;
    out.reserve(order.size());
    for (const auto& [serial, index] : order) out.push_back(Report(slots_[index], index));
    return out;
}

std::size_t Ledger::LiveCount(RefKind kind) const {
    std::size_t n = 0;
    for (const Slot& slot : slots_) n += slot.live && slot.kind == kind;
    return n;
}

void Ledger::Violation(std::string message) {
    violations_.push_back(std::move(message));
}

void Ledger::Declined(const char* function) {
    declined_.emplace_back(function);
}

}  // namespace tlhost
