// The ten modules, in panel order. A module's row index is its byte in the module-state record,
// its button's position in the panel, and its checkbox's offset from the first module switch.
#pragma once

#include <array>
#include <cstddef>
#include <utility>

#include "AE_Effect.h"
#include "params/ParamTable.h"

// What switching a module does to the shapes of every connection layer.
enum class ModuleShapes {
    NamedGroup,  // the module's named shape groups are switched on or off
    Dashes,      // the stroke dash properties are set up or removed
    None,        // the module acts through expressions only: nothing to switch
};

struct ModuleRow {
    const A_char* group_name;    // the name the connection layers' shape groups bear (8-bit)
    const wchar_t* short_name;   // the caption under the button
    PF_ParamIndex enable_param;  // the module's enable checkbox
    ModuleShapes shapes;
};

// clang-format off
inline constexpr ModuleRow kModuleTable[kModuleCount] = {
    //  group name        caption   checkbox  on the connection layers
    {"Arrowheads",       L"Arw",    43,      ModuleShapes::NamedGroup},
    {"Curviness",        L"Curv",   44,      ModuleShapes::None},
    {"Dashes",           L"Dsh",    45,      ModuleShapes::Dashes},
    {"Offset Paths",     L"Ofst",   46,      ModuleShapes::NamedGroup},
    {"Repeater",         L"Rpt",    47,      ModuleShapes::NamedGroup},
    {"Round Corners",    L"RCo",    48,      ModuleShapes::NamedGroup},
    {"Trim Paths",       L"Trm",    49,      ModuleShapes::NamedGroup},
    {"Twist",            L"Twt",    50,      ModuleShapes::NamedGroup},
    {"Wiggle Paths",     L"Wgl",    51,      ModuleShapes::NamedGroup},
    {"Zig Zag",          L"ZgZ",    52,      ModuleShapes::NamedGroup},
};
// clang-format on

namespace module_table_detail {

template <class T, class Column, std::size_t... I>
constexpr std::array<T, sizeof...(I)> ColumnOf(Column column, std::index_sequence<I...>) {
    return {{column(kModuleTable[I])...}};
}

constexpr bool CheckboxesFollowTheRows() {
    for (int i = 0; i < kModuleCount; ++i) {
        if (kModuleTable[i].enable_param != kParamFirstModuleSwitch + i) return false;
    }
    return true;
}

}  // namespace module_table_detail

static_assert(module_table_detail::CheckboxesFollowTheRows(), "module i switches checkbox 43 + i");

// The group names and the captions, as columns of the table above.
inline constexpr std::array<const A_char*, kModuleCount> moduleNames =
    module_table_detail::ColumnOf<const A_char*>([](const ModuleRow& r) { return r.group_name; },
                                                 std::make_index_sequence<kModuleCount>());
inline constexpr std::array<const wchar_t*, kModuleCount> moduleShortNames =
    module_table_detail::ColumnOf<const wchar_t*>([](const ModuleRow& r) { return r.short_name; },
                                                  std::make_index_sequence<kModuleCount>());
