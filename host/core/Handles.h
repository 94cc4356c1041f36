// Host memory handles (PF_Handle). Every handle the host gives out is a tagged
// block registered here; a handle passed back is looked up before it is touched,
// so a foreign, disposed or twice-disposed handle is caught at once and reported
// with the call that made it. Blocks are kept after disposal (their bytes freed)
// so that a late use can be named.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "AE_Effect.h"
#include "core/Ledger.h"

namespace tlhost {

class HandleTable {
  public:
    explicit HandleTable(Ledger& ledger) : ledger_(ledger) {}

    // Plug-in side operations; each throws HostError (with a breach message) on a
    // handle that is not one of ours or no longer valid.
    PF_Handle New(std::uint64_t size);
    void* Lock(PF_Handle handle);
    void Unlock(PF_Handle handle);
    void Dispose(PF_Handle handle);
    std::uint64_t Size(PF_Handle handle) const;
    void Resize(std::uint64_t size, PF_Handle* handle);

    // Host side: the host takes ownership of a handle the plug-in gave it (global
    // data, a parameter value); host-owned handles are not leaks.
    void AdoptByHost(PF_Handle handle);
    // The host itself disposes a handle it owns (when a value is replaced).
    void DisposeByHost(PF_Handle handle);
    bool IsLive(PF_Handle handle) const;
    bool IsLocked(PF_Handle handle) const;
    std::vector<std::uint8_t> Bytes(PF_Handle handle) const;
    // The host allocates a handle it owns from the start (values it creates itself).
    PF_Handle NewHostOwned(const std::vector<std::uint8_t>& bytes);

  private:
    static constexpr std::uint32_t kTag = 0x484E444C;  // "HNDL"
    struct Block {
        std::uint32_t tag = kTag;
        void* master = nullptr;  // what the PF_Handle points at: the data
        std::vector<std::uint8_t> bytes;
        RefId ref = 0;
        std::vector<RefId> locks;
        bool disposed = false;
        bool host_owned = false;
        CallSite created_by;
        CallSite disposed_by;  // no function: the host
    };
    static std::string LockText(const void* block, std::uint64_t);
    Block& Get(PF_Handle handle, const char* what) const;
    static PF_Handle HandleOf(Block& block) { return &block.master; }

    Ledger& ledger_;
    std::unordered_map<const void*, std::unique_ptr<Block>> blocks_;
};

}  // namespace tlhost
