// "PF Handle Suite" v2 and the handle utilities of the input record's callbacks
// share one implementation over the host's handle table.
#include "core/Boundary.h"
#include "suites/Tables.h"

namespace tlhost {

PF_Handle HostNewHandle(A_HandleSize size) {
    return ServeValue<PF_Handle>("host_new_handle", nullptr,
                                 [&](Host& host) { return host.handles().New(size); });
}

void* HostLockHandle(PF_Handle handle) {
    return ServeValue<void*>("host_lock_handle", nullptr,
                             [&](Host& host) { return host.handles().Lock(handle); });
}

void HostUnlockHandle(PF_Handle handle) {
    Serve("host_unlock_handle", [&](Host& host) -> A_Err {
        host.handles().Unlock(handle);
        return A_Err_NONE;
    });
}

void HostDisposeHandle(PF_Handle handle) {
    Serve("host_dispose_handle", [&](Host& host) -> A_Err {
        host.handles().Dispose(handle);
        return A_Err_NONE;
    });
}

A_HandleSize HostGetHandleSize(PF_Handle handle) {
    return ServeValue<A_HandleSize>("host_get_handle_size", 0,
                                    [&](Host& host) { return host.handles().Size(handle); });
}

PF_Err HostResizeHandle(A_HandleSize size, PF_Handle* handle) {
    return Serve("host_resize_handle", [&](Host& host) -> A_Err {
        host.handles().Resize(size, handle);
        return A_Err_NONE;
    });
}

const PF_HandleSuite1* HandleSuiteTable() {
    static const PF_HandleSuite1 table = [] {
        PF_HandleSuite1 s{};
        s.host_new_handle = HostNewHandle;
        s.host_lock_handle = HostLockHandle;
        s.host_unlock_handle = HostUnlockHandle;
        s.host_dispose_handle = HostDisposeHandle;
        s.host_get_handle_size = HostGetHandleSize;
        s.host_resize_handle = HostResizeHandle;
        return s;
    }();
    return &table;
}

}  // namespace tlhost
