#include <dlfcn.h>

#include "session/Module.h"

namespace tlhost {

std::unique_ptr<Module> Module::Open(const std::string& path, const std::string& entry_point,
                                     std::string* error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) *error = "cannot open " + path + ": " + dlerror();
        return nullptr;
    }
    std::unique_ptr<Module> module(new Module);
    module->handle_ = handle;
    module->entry_points_.data_entry =
        reinterpret_cast<PF_PluginDataEntryFunc>(dlsym(handle, "PluginDataEntryFunction"));
    module->entry_points_.effect_main =
        reinterpret_cast<PF_EffectMainFunc>(dlsym(handle, entry_point.c_str()));
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
    if (handle_) dlclose(handle_);
}

}  // namespace tlhost
