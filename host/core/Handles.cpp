#include "core/Handles.h"

#include "core/Errors.h"

namespace tlhost {

namespace {
std::string SizeText(const void*, std::uint64_t size) {
    return "handle of " + std::to_string(size) + " bytes";
}
}  // namespace

std::string HandleTable::LockText(const void* block, std::uint64_t) {
    return "lock of " + static_cast<const Block*>(block)->created_by.Text();
}

HandleTable::Block& HandleTable::Get(PF_Handle handle, const char* what) const {
    if (!handle) Breach(A_Err_PARAMETER, std::string("null handle passed to ") + what);
    auto it = blocks_.find(handle);
    if (it == blocks_.end() || it->second->tag != kTag) {
        Breach(A_Err_PARAMETER,
               std::string("foreign handle passed to ") + what + " (not made by this host)");
    }
    Block& block = *it->second;
    if (block.disposed) {
        Breach(A_Err_PARAMETER, std::string("disposed handle passed to ") + what + " (made by " +
                                    block.created_by.Text() + ", disposed by " +
                                    block.disposed_by.Text() + ")");
    }
    return block;
}

PF_Handle HandleTable::New(std::uint64_t size) {
    if (size > (std::uint64_t{1} << 32)) Refuse(A_Err_ALLOC);
    auto block = std::make_unique<Block>();
    // Keep at least one byte so that the master pointer is never null.
    block->bytes.assign(size ? size : 1, 0);
    block->bytes.resize(size);
    block->master = block->bytes.data();
    block->ref = ledger_.Acquire(RefKind::Handle, RefWhat::Of(SizeText, nullptr, size));
    block->created_by = ledger_.Current();
    PF_Handle handle = HandleOf(*block);
    blocks_.emplace(handle, std::move(block));
    return handle;
}

PF_Handle HandleTable::NewHostOwned(const std::vector<std::uint8_t>& bytes) {
    PF_Handle handle = New(bytes.size());
    Block& block = *blocks_.at(handle);
    block.bytes = bytes;
    block.master = block.bytes.data();
    AdoptByHost(handle);
    return handle;
}

void* HandleTable::Lock(PF_Handle handle) {
    Block& block = Get(handle, "host_lock_handle");
    block.locks.push_back(ledger_.Acquire(RefKind::HandleLock, RefWhat::Of(LockText, &block)));
    return block.master;
}

void HandleTable::Unlock(PF_Handle handle) {
    Block& block = Get(handle, "host_unlock_handle");
    // Unlocking an unlocked handle is harmless to the host (a lock that failed is
    // still followed by an unlock), so it is not held against the plug-in.
    if (block.locks.empty()) return;
    ledger_.Release(block.locks.back(), "host_unlock_handle");
    block.locks.pop_back();
}

void HandleTable::Dispose(PF_Handle handle) {
    Block& block = Get(handle, "host_dispose_handle");
    if (!block.locks.empty()) {
        ledger_.Violation("host_dispose_handle: handle disposed while locked (made by " +
                          block.created_by.Text() + ")");
        for (RefId lock : block.locks) ledger_.Release(lock, "host_dispose_handle");
        block.locks.clear();
    }
    if (!block.host_owned) ledger_.Release(block.ref, "host_dispose_handle");
    block.disposed = true;
    block.disposed_by = ledger_.Current();
    block.bytes.clear();
    block.bytes.shrink_to_fit();
    block.master = nullptr;
}

std::uint64_t HandleTable::Size(PF_Handle handle) const {
    return Get(handle, "host_get_handle_size").bytes.size();
}

void HandleTable::Resize(std::uint64_t size, PF_Handle* handle) {
    if (!handle) Breach(A_Err_PARAMETER, "null handle place passed to host_resize_handle");
    Block& block = Get(*handle, "host_resize_handle");
    if (!block.locks.empty()) Breach(A_Err_PARAMETER, "resize of a locked handle");
    block.bytes.resize(size);
    if (block.bytes.capacity() == 0) block.bytes.reserve(1);
    block.master = block.bytes.data();
    if (!block.host_owned) {
        // The reference keeps its identity; only its description follows the size.
        ledger_.Adopt(block.ref);
        block.ref = ledger_.Acquire(RefKind::Handle, RefWhat::Of(SizeText, nullptr, size));
    }
}

void HandleTable::AdoptByHost(PF_Handle handle) {
    Block& block = Get(handle, "the host (adopting a handle)");
    if (block.host_owned) return;
    block.host_owned = true;
    ledger_.Adopt(block.ref);
}

void HandleTable::DisposeByHost(PF_Handle handle) {
    Block& block = Get(handle, "the host (disposing a handle)");
    if (!block.host_owned) ledger_.Release(block.ref, "the host");
    for (RefId lock : block.locks) ledger_.Release(lock, "the host");
    block.locks.clear();
    block.disposed = true;
    block.disposed_by = CallSite{};
    block.bytes.clear();
    block.bytes.shrink_to_fit();
    block.master = nullptr;
}

bool HandleTable::IsLive(PF_Handle handle) const {
    auto it = blocks_.find(handle);
    return it != blocks_.end() && !it->second->disposed;
}

bool HandleTable::IsLocked(PF_Handle handle) const {
    auto it = blocks_.find(handle);
    return it != blocks_.end() && !it->second->locks.empty();
}

std::vector<std::uint8_t> HandleTable::Bytes(PF_Handle handle) const {
    return Get(handle, "the host (reading a handle)").bytes;
}

}  // namespace tlhost
