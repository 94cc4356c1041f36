#include "core/Ledger.h"

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

const char* RefKindName(RefKind kind) {
    for (const auto& k : kKindNames) {
        if (k.kind == kind) return k.name;
    }
    return "Unknown";
}

std::string Describe(const LiveRef& ref) {
    return std::string(RefKindName(ref.kind)) + " (" + ref.what + ") from " + ref.created_by;
}

std::uint64_t Ledger::CountCall(const char* function, std::uint64_t* nth_of_function) {
    ++total_calls_;
    std::uint64_t nth = ++call_counts_[function];
    if (nth_of_function) *nth_of_function = nth;
    return total_calls_;
}

std::uint64_t Ledger::CallCount(const std::string& function) const {
    auto it = call_counts_.find(std::string_view(function));
    return it == call_counts_.end() ? 0 : it->second;
}

std::map<std::string, std::uint64_t> Ledger::CallCounts() const {
    std::map<std::string, std::uint64_t> out;
    for (const auto& [name, count] : call_counts_) out.emplace(std::string(name), count);
    return out;
}

std::string Ledger::CurrentCall() const {
    if (!current_function_) return "the host";
    return std::string(current_function_) + " #" + std::to_string(current_nth_);
}

RefId Ledger::Acquire(RefKind kind, std::string what) {
    RefId id = next_id_++;
    live_.emplace(id, LiveRef{id, kind, std::move(what), CurrentCall()});
    return id;
}

bool Ledger::Release(RefId id, const char* by) {
    auto it = live_.find(id);
    if (it == live_.end()) {
        Violation(std::string(by) + ": released a reference that is not live");
        return false;
    }
    live_.erase(it);
    return true;
}

void Ledger::Adopt(RefId id) {
    live_.erase(id);
}

const LiveRef* Ledger::Find(RefId id) const {
    auto it = live_.find(id);
    return it == live_.end() ? nullptr : &it->second;
}

std::vector<LiveRef> Ledger::Live() const {
    std::vector<LiveRef> out;
    out.reserve(live_.size());
    for (const auto& [id, ref] : live_) out.push_back(ref);
    return out;
}

std::size_t Ledger::LiveCount(RefKind kind) const {
    std::size_t n = 0;
    for (const auto& [id, ref] : live_) n += ref.kind == kind;
    return n;
}

void Ledger::Violation(std::string message) {
    violations_.push_back(std::move(message));
}

void Ledger::Declined(const char* function) {
    declined_.emplace_back(function);
}

}  // namespace tlhost
