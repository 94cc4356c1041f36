// A parameter as the host keeps it: the plug-in's definition record plus the
// texts its pointers referred to, owned by the host so that the record stays
// valid after the plug-in's buffers are gone.
#pragma once

#include <string>

#include "AE_Effect.h"

namespace tlhost {

class HostParam {
  public:
    HostParam() = default;
    // Copies a definition the plug-in handed over, taking its texts.
    explicit HostParam(const PF_ParamDef& def);
    HostParam(const HostParam& other);
    HostParam& operator=(const HostParam& other);

    PF_ParamDef& def() { return def_; }
    const PF_ParamDef& def() const { return def_; }
    std::string name() const;
    void set_name(const std::string& name);
    // Checkbox label, popup choices or button label.
    const std::string& text() const { return text_; }
    bool hidden = false;

  private:
    void PointAtText();
    PF_ParamDef def_{};
    std::string text_;
};

}  // namespace tlhost
