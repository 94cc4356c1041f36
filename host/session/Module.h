// Loading a plug-in module as the host does: open the file and resolve its two
// exported entry points by name.
#pragma once

#include <memory>
#include <string>

#include "AE_Effect.h"

namespace tlhost {

struct EntryPoints {
    PF_PluginDataEntryFunc data_entry = nullptr;
    PF_EffectMainFunc effect_main = nullptr;
};

class Module {
  public:
    // Null, with the reason in `error`, when the file cannot be loaded or lacks an
    // entry point.
    static std::unique_ptr<Module> Open(const std::string& path, const std::string& entry_point,
                                        std::string* error);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    EntryPoints entry_points() const { return entry_points_; }

  private:
    Module() = default;
    void* handle_ = nullptr;
    EntryPoints entry_points_;
};

}  // namespace tlhost
