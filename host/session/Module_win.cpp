// Loading a module on Windows: LoadLibrary, and the two entry points by name.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "session/Module.h"

namespace tlhost {

namespace {

// The path as the system takes it: UTF-8 to UTF-16.
std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
    }
    return out;
}

std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = "error " + std::to_string(code);
    if (n > 0 && text != nullptr) {
        std::string message(text, n);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                    message.back() == ' ' || message.back() == '.')) {
            message.pop_back();
        }
        out += " (" + message + ")";
    }
    if (text != nullptr) LocalFree(text);
    return out;
}

// An exported function as the pointer type the host calls it through.
template <class Function>
Function Resolve(HMODULE module, const char* name) {
    const FARPROC address = GetProcAddress(module, name);
    // Through the generic function pointer type, which converts to any other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

}  // namespace

std::unique_ptr<Module> Module::Open(const std::string& path, const std::string& entry_point,
                                     std::string* error) {
    HMODULE handle = LoadLibraryW(Wide(path).c_str());
    if (!handle) {
        if (error) *error = "cannot open " + path + ": " + SystemMessage(GetLastError());
        return nullptr;
    }
    std::unique_ptr<Module> module(new Module);
    module->handle_ = handle;
    module->entry_points_.data_entry =
        Resolve<PF_PluginDataEntryFunc>(handle, "PluginDataEntryFunction");
    module->entry_points_.effect_main = Resolve<PF_EffectMainFunc>(handle, entry_point.c_str());
    if (!module->entry_points_.data_entry || !module->entry_points_.effect_main) {
        if (error) {
            *error = path + " does not export " +
                     (module->entry_points_.data_entry ? entry_point : "PluginDataEntryFunction");
        }
        return nullptr;
    }
    return module;
}

Module::~Module() {
    if (handle_) FreeLibrary(static_cast<HMODULE>(handle_));
}

}  // namespace tlhost
