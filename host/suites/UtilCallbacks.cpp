// The utility callbacks of the input record (in_data->utils): handles, copies,
// formatted printing and string copying. Everything else is declined.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/Boundary.h"
#include "model/World.h"
#include "suites/Tables.h"

namespace tlhost {

namespace {

PF_Err Copy(PF_ProgPtr, PF_EffectWorld* src, PF_EffectWorld* dst, PF_Rect* src_r, PF_Rect* dst_r) {
    return Serve("copy", [&](Host&) -> A_Err {
        if (!src || !dst) Breach(PF_Err_BAD_CALLBACK_PARAM, "null world");
        return CopyWorldPixels(src, src_r, dst, dst_r) ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE;
    });
}

// Writes `text` to `dst`. Into a guarded host buffer the text is bounded by its
// size, and an overlong text is cut and recorded as a breach.
void WriteText(Host& host, const char* function, A_char* dst, const std::string& text) {
    std::size_t room = host.GuardedRoom(dst);
    if (room && text.size() + 1 > room) {
        host.ledger().Violation(std::string(function) + ": " + std::to_string(text.size()) +
                                " characters do not fit the " + std::to_string(room) +
                                "-byte host buffer");
        std::memcpy(dst, text.data(), room - 1);
        dst[room - 1] = '\0';
        return;
    }
    std::memcpy(dst, text.c_str(), text.size() + 1);
}

int Sprintf(A_char* dst, const A_char* format, ...) {
    int written = -1;
    va_list args;
    va_start(args, format);
    Serve("sprintf", [&](Host& host) -> A_Err {
        if (!dst || !format) Breach(A_Err_PARAMETER, "null buffer or format");
        va_list measure;
        va_copy(measure, args);
        int length = std::vsnprintf(nullptr, 0, format, measure);
        va_end(measure);
        if (length < 0) Breach(A_Err_PARAMETER, "bad format");
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), format, args);
        text.pop_back();
        WriteText(host, "sprintf", dst, text);
        written = length;
        return A_Err_NONE;
    });
    va_end(args);
    return written;
}

A_char* Strcpy(A_char* dst, const A_char* src) {
    Serve("strcpy", [&](Host& host) -> A_Err {
        if (!dst || !src) Breach(A_Err_PARAMETER, "null string");
        WriteText(host, "strcpy", dst, src);
        return A_Err_NONE;
    });
    return dst;
}

PF_Err App(PF_ProgPtr, A_long, ...) {
    return Decline("app");
}

PF_UtilCallbacks MakeUtilCallbacks() {
    PF_UtilCallbacks u{};
    TL_DECLINE(u, begin_sampling);
    TL_DECLINE(u, subpixel_sample);
    TL_DECLINE(u, area_sample);
    TL_DECLINE(u, end_sampling);
    TL_DECLINE(u, composite_rect);
    TL_DECLINE(u, blend);
    TL_DECLINE(u, convolve);
    u.copy = Copy;
    TL_DECLINE(u, fill);
    TL_DECLINE(u, gaussian_kernel);
    TL_DECLINE(u, iterate);
    TL_DECLINE(u, premultiply);
    TL_DECLINE(u, premultiply_color);
    TL_DECLINE(u, new_world);
    TL_DECLINE(u, dispose_world);
    TL_DECLINE(u, iterate_origin);
    TL_DECLINE(u, iterate_lut);
    TL_DECLINE(u, transfer_rect);
    TL_DECLINE(u, transform_world);
    u.host_new_handle = HostNewHandle;
    u.host_lock_handle = HostLockHandle;
    u.host_unlock_handle = HostUnlockHandle;
    u.host_dispose_handle = HostDisposeHandle;
    TL_DECLINE(u, get_callback_addr);
    u.app = App;
    // The math helpers are pure functions; they need no host state.
    u.ansi.atan = [](A_FpLong x) { return std::atan(x); };
    u.ansi.atan2 = [](A_FpLong y, A_FpLong x) { return std::atan2(y, x); };
    u.ansi.ceil = [](A_FpLong x) { return std::ceil(x); };
    u.ansi.cos = [](A_FpLong x) { return std::cos(x); };
    u.ansi.exp = [](A_FpLong x) { return std::exp(x); };
    u.ansi.fabs = [](A_FpLong x) { return std::fabs(x); };
    u.ansi.floor = [](A_FpLong x) { return std::floor(x); };
    u.ansi.fmod = [](A_FpLong x, A_FpLong y) { return std::fmod(x, y); };
    u.ansi.hypot = [](A_FpLong x, A_FpLong y) { return std::hypot(x, y); };
    u.ansi.log = [](A_FpLong x) { return std::log(x); };
    u.ansi.log10 = [](A_FpLong x) { return std::log10(x); };
    u.ansi.pow = [](A_FpLong x, A_FpLong y) { return std::pow(x, y); };
    u.ansi.sin = [](A_FpLong x) { return std::sin(x); };
    u.ansi.sqrt = [](A_FpLong x) { return std::sqrt(x); };
    u.ansi.tan = [](A_FpLong x) { return std::tan(x); };
    u.ansi.sprintf = Sprintf;
    u.ansi.strcpy = Strcpy;
    u.ansi.asin = [](A_FpLong x) { return std::asin(x); };
    u.ansi.acos = [](A_FpLong x) { return std::acos(x); };
    TL_DECLINE(u.colorCB, RGBtoHLS);
    TL_DECLINE(u.colorCB, HLStoRGB);
    TL_DECLINE(u.colorCB, RGBtoYIQ);
    TL_DECLINE(u.colorCB, YIQtoRGB);
    TL_DECLINE(u.colorCB, Luminance);
    TL_DECLINE(u.colorCB, Hue);
    TL_DECLINE(u.colorCB, Lightness);
    TL_DECLINE(u.colorCB, Saturation);
    TL_DECLINE(u, get_platform_data);
    u.host_get_handle_size = HostGetHandleSize;
    TL_DECLINE(u, iterate_origin_non_clip_src);
    TL_DECLINE(u, iterate_generic);
    u.host_resize_handle = HostResizeHandle;
    TL_DECLINE(u, subpixel_sample16);
    TL_DECLINE(u, area_sample16);
    TL_DECLINE(u, fill16);
    TL_DECLINE(u, premultiply_color16);
    TL_DECLINE(u, iterate16);
    TL_DECLINE(u, iterate_origin16);
    TL_DECLINE(u, iterate_origin_non_clip_src16);
    TL_DECLINE(u, get_pixel_data8);
    TL_DECLINE(u, get_pixel_data16);
    return u;
}

}  // namespace

const PF_UtilCallbacks& UtilCallbacksTable() {
    static const PF_UtilCallbacks table = MakeUtilCallbacks();
    return table;
}

}  // namespace tlhost
