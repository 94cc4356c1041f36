#include "tetherline-host/ParamsJson.h"

#include <cstdio>
#include <string>

namespace tltool {

namespace {

struct TypeName {
    PF_ParamType type;
    const char* name;
};
constexpr TypeName kTypeNames[] = {
    {PF_Param_GROUP_START, "group_start"},
    {PF_Param_GROUP_END, "group_end"},
    {PF_Param_FLOAT_SLIDER, "float_slider"},
    {PF_Param_CHECKBOX, "checkbox"},
    {PF_Param_COLOR, "color"},
    {PF_Param_POPUP, "popup"},
    {PF_Param_BUTTON, "button"},
    {PF_Param_LAYER, "layer"},
    {PF_Param_ARBITRARY_DATA, "arbitrary_data"},
};

const char* TypeNameOf(PF_ParamType type) {
    for (const auto& t : kTypeNames) {
        if (t.type == type) return t.name;
    }
    return "other";
}

nlohmann::json Choices(const std::string& text) {
    nlohmann::json out = nlohmann::json::array();
    std::size_t start = 0;
    while (true) {
        std::size_t bar = text.find('|', start);
        out.push_back(
            text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return out;
}

}  // namespace

nlohmann::json DescribeParam(int index, const tlhost::HostParam& param) {
    const PF_ParamDef& def = param.def();
    char id[8];
    std::snprintf(id, sizeof id, "%04d", static_cast<int>(def.uu.id));
    nlohmann::json j;
    j["index"] = index;
    j["id"] = id;
    j["match_name"] = param.match_name;
    j["name"] = param.name();
    j["type"] = TypeNameOf(def.param_type);
    nlohmann::json flags = nlohmann::json::array();
    if (def.flags & PF_ParamFlag_SUPERVISE) flags.push_back("supervise");
    if (def.flags & PF_ParamFlag_CANNOT_TIME_VARY) flags.push_back("cannot_time_vary");
    // The collapse bit means "start collapsed" on a group start.
    if (def.param_type == PF_Param_GROUP_START && (def.flags & PF_ParamFlag_START_COLLAPSED)) {
        flags.push_back("start_collapsed");
    }
    j["flags"] = flags;
    switch (def.param_type) {
        case PF_Param_FLOAT_SLIDER: {
            const PF_FloatSliderDef& f = def.u.fs_d;
            j["default"] = f.dephault;
            j["valid_min"] = f.valid_min;
            j["valid_max"] = f.valid_max;
            j["slider_min"] = f.slider_min;
            j["slider_max"] = f.slider_max;
            j["precision"] = f.precision;
            j["percent"] = (f.display_flags & PF_ValueDisplayFlag_PERCENT) != 0;
            break;
        }
        case PF_Param_CHECKBOX:
            j["default"] = def.u.bd.dephault ? 1 : 0;
            j["label"] = param.text();
            break;
        case PF_Param_COLOR:
            j["default"] = {def.u.cd.dephault.red, def.u.cd.dephault.green, def.u.cd.dephault.blue};
            break;
        case PF_Param_POPUP:
            j["default"] = def.u.pd.dephault;
            j["choices"] = Choices(param.text());
            break;
        case PF_Param_BUTTON:
            j["label"] = param.text();
            break;
        case PF_Param_ARBITRARY_DATA:
            j["ui_width"] = def.ui_width;
            j["ui_height"] = def.ui_height;
            j["ui_flags"] = def.ui_flags;
            break;
        default:
            break;
    }
    return j;
}

}  // namespace tltool
