// A parameter as the host keeps it: the plug-in's definition record plus the
// texts its pointers referred to, owned by the host so that the record stays
// valid after the plug-in's buffers are gone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"

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
    // The parameter's stream match name in the effect ("<effect match name>-0001").
    std::string match_name;
    bool hidden = false;
    // A layer parameter's value: the id of the layer it points at, 0 for none.
    AEGP_LayerIDVal layer_id = 0;
    // An arbitrary-data parameter's value in its flat form, as the effect last gave it
    // (what a project file stores); the live value is the handle in the definition.
    std::vector<std::uint8_t> flat;

    // Sets the value from text as a user would type it: a number for sliders,
    // checkboxes (0 or 1), popups (1-based item) and buttons, "r,g,b" for colours.
    // False, with the reason, for text that does not fit the parameter.
    bool SetFromText(const std::string& text, std::string* error);

    // Whether `value` is one this parameter can hold, as the host's controls allow it: a
    // finite number within a slider's valid range, a whole item number of a popup, 0 or 1
    // for a checkbox. False, with the reason, otherwise. Kinds without a one-dimensional
    // value accept anything.
    bool Accepts(double value, std::string* error) const;

  private:
    void PointAtText();
    PF_ParamDef def_{};
    std::string text_;
};

}  // namespace tlhost
