#include "model/Params.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
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

namespace {

std::string Number(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

// A slider's bounds are single precision: a value that rounds to the bound is on it.
bool Below(double value, float bound) {
    return value < bound && !(std::fabs(value) <= FLT_MAX && static_cast<float>(value) == bound);
}
bool Above(double value, float bound) {
    return value > bound && !(std::fabs(value) <= FLT_MAX && static_cast<float>(value) == bound);
}

}  // namespace

bool HostParam::Accepts(double value, std::string* error) const {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    const bool one_d = def_.param_type == PF_Param_FLOAT_SLIDER ||
                       def_.param_type == PF_Param_SLIDER || def_.param_type == PF_Param_CHECKBOX ||
                       def_.param_type == PF_Param_POPUP || def_.param_type == PF_Param_BUTTON;
    if (!one_d) return true;
    if (!std::isfinite(value)) return fail(Number(value) + " is not a finite number");
    switch (def_.param_type) {
        case PF_Param_FLOAT_SLIDER: {
            const PF_FloatSliderDef& fs = def_.u.fs_d;
            if (Below(value, fs.valid_min) || Above(value, fs.valid_max)) {
                return fail(Number(value) + " is outside the slider's range " +
                            Number(fs.valid_min) + " to " + Number(fs.valid_max));
            }
            return true;
        }
        case PF_Param_SLIDER:
            if (value != std::floor(value) || value < def_.u.sd.valid_min ||
                value > def_.u.sd.valid_max) {
                return fail(Number(value) + " is not a whole number from " +
                            std::to_string(def_.u.sd.valid_min) + " to " +
                            std::to_string(def_.u.sd.valid_max));
            }
            return true;
        case PF_Param_CHECKBOX:
            if (value != 0 && value != 1)
                return fail("a checkbox takes 0 or 1, not " + Number(value));
            return true;
        case PF_Param_POPUP:
            if (value != std::floor(value) || value < 1 || value > def_.u.pd.num_choices) {
                return fail(Number(value) + " is not one of the popup's items 1 to " +
                            std::to_string(def_.u.pd.num_choices));
            }
            return true;
        case PF_Param_BUTTON:
            if (value != std::floor(value) || std::fabs(value) > 2147483647.0) {
                return fail("a button takes a whole number, not " + Number(value));
            }
            return true;
        default:
            return true;
    }
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
        case PF_Param_CHECKBOX:
        case PF_Param_POPUP:
        case PF_Param_BUTTON:
            if (!number(text, &v)) return fail("\"" + text + "\" is not a number");
            if (!Accepts(v, error)) return false;
            break;
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
    switch (def_.param_type) {
        case PF_Param_FLOAT_SLIDER:
            def_.u.fs_d.value = v;
            break;
        case PF_Param_CHECKBOX:
            def_.u.bd.value = static_cast<A_long>(v);
            break;
        case PF_Param_POPUP:
            def_.u.pd.value = static_cast<A_long>(v);
            break;
        default:
            def_.u.button_d.value = static_cast<A_long>(v);
            break;
    }
    return true;
}

}  // namespace tlhost
