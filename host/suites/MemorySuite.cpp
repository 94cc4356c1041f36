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

// The project holds names as UTF-8; the host hands them out as UTF-16. The rule for bytes
// that are not UTF-8 (a name set in code to 8-bit text): each such byte is read as the Latin-1
// character of that value, as the expression engine reads 8-bit names. A surrogate in its
// three-byte form (a name that holds half of a pair) becomes that code unit, as the host keeps
// such a name.
std::vector<std::uint8_t> Utf16Bytes(const std::string& utf8) {
    std::vector<std::uint8_t> out;
    out.reserve(utf8.size() * 2 + 2);
    auto put = [&](std::uint32_t unit) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8 & 0xFF));
    };
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        const auto c = static_cast<std::uint8_t>(utf8[i]);
        std::size_t extra = 0;
        bool valid = true;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
        } else if (c >= 0x80) {
            valid = false;
        }
        std::uint32_t code = c;
        if (valid && extra > 0) {
            valid = i + extra < n;
            code = c & (0x3Fu >> extra);
            for (std::size_t k = 1; valid && k <= extra; ++k) {
                const auto b = static_cast<std::uint8_t>(utf8[i + k]);
                valid = (b & 0xC0) == 0x80;
                code = code << 6 | (b & 0x3Fu);
            }
            // Overlong forms and code points beyond the range are not UTF-8.
            constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
            valid = valid && code >= kLeast[extra] && code <= 0x10FFFF;
        }
        if (!valid) {
            put(c);  // Latin-1
            ++i;
            continue;
        }
        i += extra + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            put(0xD800 | code >> 10);
            put(0xDC00 | (code & 0x3FF));
        } else {
            put(code);
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
