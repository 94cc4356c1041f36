#include "model/Params.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
    : match_name(other.match_name),
      hidden(other.hidden),
      layer_id(other.layer_id),
      flat(other.flat),
      def_(other.def_),
      text_(other.text_) {
    PointAtText();
}

HostParam& HostParam::operator=(const HostParam& other) {
    if (this != &other) {
        def_ = other.def_;
        text_ = other.text_;
        match_name = other.match_name;
        hidden = other.hidden;
        layer_id = other.layer_id;
        flat = other.flat;
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

bool HostParam::SetFromText(const std::string& text, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    auto number = [&](const std::string& t, double* out) {
        char* end = nullptr;
        *out = std::strtod(t.c_str(), &end);
        return !t.empty() && end == t.c_str() + t.size();
    };
    double v = 0;
    switch (def_.param_type) {
        case PF_Param_FLOAT_SLIDER:
            if (!number(text, &v)) return fail("\"" + text + "\" is not a number");
            def_.u.fs_d.value = v;
            return true;
        case PF_Param_CHECKBOX:
            if (!number(text, &v) || (v != 0 && v != 1)) return fail("a checkbox takes 0 or 1");
            def_.u.bd.value = static_cast<A_long>(v);
            return true;
        case PF_Param_POPUP:
            if (!number(text, &v) || v < 1 || v > def_.u.pd.num_choices ||
                v != static_cast<A_long>(v)) {
                return fail("popup item must be 1 to " + std::to_string(def_.u.pd.num_choices));
            }
            def_.u.pd.value = static_cast<A_long>(v);
            return true;
        case PF_Param_BUTTON:
            if (!number(text, &v)) return fail("a button takes a number");
            def_.u.button_d.value = static_cast<A_long>(v);
            return true;
        case PF_Param_COLOR: {
            unsigned r = 0, g = 0, b = 0;
            char tail = 0;
            if (std::sscanf(text.c_str(), "%u,%u,%u%c", &r, &g, &b, &tail) != 3 || r > 255 ||
                g > 255 || b > 255) {
                return fail("a colour takes r,g,b from 0 to 255");
            }
            def_.u.cd.value.red = static_cast<A_u_char>(r);
            def_.u.cd.value.green = static_cast<A_u_char>(g);
            def_.u.cd.value.blue = static_cast<A_u_char>(b);
            return true;
        }
        default:
            return fail("this kind of parameter cannot be set from text");
    }
}

}  // namespace tlhost
