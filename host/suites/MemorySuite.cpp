// "AEGP Memory Suite" v1: memory handles the host hands out (names, texts).
#include <cstring>

#include "core/Boundary.h"
#include "suites/Objects.h"
#include "suites/Tables.h"

namespace tlhost {

AEGP_MemHandle NewMemHandle(Host& host, std::vector<std::uint8_t> bytes, std::string what) {
    MemBlock block;
    block.bytes = std::move(bytes);
    return host.mem_handles().Make<AEGP_MemHandle>(host.ledger(), std::move(block),
                                                   std::move(what));
}

std::vector<std::uint8_t> Utf16Bytes(const std::string& utf8) {
    std::vector<std::uint8_t> out;
    std::size_t i = 0;
    auto put = [&](std::uint16_t unit) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    while (i < utf8.size()) {
        const auto c = static_cast<std::uint8_t>(utf8[i]);
        std::uint32_t cp = c;
        std::size_t extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra) cp = c & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra && i + k < utf8.size(); ++k) {
            cp = cp << 6 | (static_cast<std::uint8_t>(utf8[i + k]) & 0x3F);
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(static_cast<std::uint16_t>(0xD800 | (cp >> 10)));
            put(static_cast<std::uint16_t>(0xDC00 | (cp & 0x3FF)));
        } else {
            put(static_cast<std::uint16_t>(cp));
        }
    }
    put(0);
    return out;
}

namespace {

A_Err FreeMemHandle(AEGP_MemHandle memH) {
    return Serve("AEGP_FreeMemHandle", [&](Host& host) -> A_Err {
        MemBlock& block = host.mem_handles().Get(memH, "AEGP_FreeMemHandle");
        if (!block.locks.empty()) {
            host.ledger().Violation("AEGP_FreeMemHandle: memory handle freed while locked");
            for (RefId lock : block.locks) host.ledger().Release(lock, "AEGP_FreeMemHandle");
            block.locks.clear();
        }
        host.mem_handles().Dispose(host.ledger(), memH, "AEGP_FreeMemHandle");
        return A_Err_NONE;
    });
}

A_Err LockMemHandle(AEGP_MemHandle memH, void** ptr) {
    return Serve("AEGP_LockMemHandle", [&](Host& host) -> A_Err {
        Require(ptr, "pointer place");
        MemBlock& block = host.mem_handles().Get(memH, "AEGP_LockMemHandle");
        block.locks.push_back(host.ledger().Acquire(RefKind::MemHandleLock, "memory handle lock"));
        *ptr = block.bytes.data();
        return A_Err_NONE;
    });
}

A_Err UnlockMemHandle(AEGP_MemHandle memH) {
    return Serve("AEGP_UnlockMemHandle", [&](Host& host) -> A_Err {
        MemBlock& block = host.mem_handles().Get(memH, "AEGP_UnlockMemHandle");
        if (block.locks.empty())
            Breach(A_Err_PARAMETER, "unlock of a memory handle that is not locked");
        host.ledger().Release(block.locks.back(), "AEGP_UnlockMemHandle");
        block.locks.pop_back();
        return A_Err_NONE;
    });
}

A_Err GetMemHandleSize(AEGP_MemHandle memH, AEGP_MemSize* size) {
    return Serve("AEGP_GetMemHandleSize", [&](Host& host) -> A_Err {
        Require(size, "size place");
        *size = static_cast<AEGP_MemSize>(
            host.mem_handles().Get(memH, "AEGP_GetMemHandleSize").bytes.size());
        return A_Err_NONE;
    });
}

AEGP_MemorySuite1 MakeMemorySuite1() {
    AEGP_MemorySuite1 s{};
    TL_DECLINE(s, AEGP_NewMemHandle);
    s.AEGP_FreeMemHandle = FreeMemHandle;
    s.AEGP_LockMemHandle = LockMemHandle;
    s.AEGP_UnlockMemHandle = UnlockMemHandle;
    s.AEGP_GetMemHandleSize = GetMemHandleSize;
    TL_DECLINE(s, AEGP_ResizeMemHandle);
    TL_DECLINE(s, AEGP_SetMemReportingOn);
    TL_DECLINE(s, AEGP_GetMemStats);
    return s;
}

}  // namespace

const AEGP_MemorySuite1* MemorySuite1Table() {
    static const AEGP_MemorySuite1 table = MakeMemorySuite1();
    return &table;
}

}  // namespace tlhost
