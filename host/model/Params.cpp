#include "model/Params.h"

#include <cstring>

namespace tlhost {

namespace {
const char* TextOf(const PF_ParamDef& def) {
    switch (def.param_type) {
        case PF_Param_CHECKBOX:
            return def.u.bd.u.nameptr;
        case PF_Param_POPUP:
            return def.u.pd.u.namesptr;
        case PF_Param_BUTTON:
            return def.u.button_d.u.namesptr;
        default:
            return nullptr;
    }
}
}  // namespace

HostParam::HostParam(const PF_ParamDef& def) : def_(def) {
    def_.name[sizeof(def_.name) - 1] = '\0';
    if (const char* text = TextOf(def)) text_ = text;
    PointAtText();
}

HostParam::HostParam(const HostParam& other)
    : hidden(other.hidden), def_(other.def_), text_(other.text_) {
    PointAtText();
}

HostParam& HostParam::operator=(const HostParam& other) {
    if (this != &other) {
        def_ = other.def_;
        text_ = other.text_;
        hidden = other.hidden;
        PointAtText();
    }
    return *this;
}

void HostParam::PointAtText() {
    switch (def_.param_type) {
        case PF_Param_CHECKBOX:
            def_.u.bd.u.nameptr = text_.c_str();
            break;
        case PF_Param_POPUP:
            def_.u.pd.u.namesptr = text_.c_str();
            break;
        case PF_Param_BUTTON:
            def_.u.button_d.u.namesptr = text_.c_str();
            break;
        default:
            break;
    }
}

std::string HostParam::name() const {
    return std::string(def_.name, strnlen(def_.name, sizeof(def_.name)));
}

void HostParam::set_name(const std::string& name) {
    std::memset(def_.name, 0, sizeof(def_.name));
    std::memcpy(def_.name, name.data(), std::min(name.size(), sizeof(def_.name) - 1));
}

}  // namespace tlhost
