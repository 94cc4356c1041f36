// The effect's parameter table: one row per declared parameter, in declaration order. The row's
// index is also the parameter's identifier, so the host forms the parameter's match name from
// the effect's match name and the index written with four digits ("LK TetherlineStyles-0120").
#pragma once

#include <cstddef>
#include <cstdint>

#include "AE_Effect.h"

// Index 0 is the input layer the host supplies; 1 to 150 are declared.
inline constexpr A_long kDeclaredParamCount = 150;
inline constexpr A_long kParamCount = kDeclaredParamCount + 1;

// Indices that code outside the table refers to.
inline constexpr PF_ParamIndex kParamEnableFill = 21;
inline constexpr PF_ParamIndex kParamFillPalette = 22;
inline constexpr PF_ParamIndex kParamFillColor = 23;
inline constexpr PF_ParamIndex kParamModules = 41;
inline constexpr PF_ParamIndex kParamFirstModuleSwitch = 43;  // 43 to 52, in panel order
inline constexpr int kModuleCount = 10;

// The module panel's custom interface in the effect controls.
inline constexpr PF_ParamUIFlags kModulePanelUIFlags = PF_PUI_CONTROL | PF_PUI_DONT_ERASE_CONTROL;
inline constexpr A_short kModulePanelWidth = 267;
inline constexpr A_short kModulePanelHeight = 39;

enum class ParamKind : std::uint8_t {
    GroupStart,
    GroupEnd,
    FloatSlider,
    Checkbox,
    Color,
    Popup,
    Button,
    Layer,
    ArbitraryData,
};

// One parameter. Which of the kind-specific fields count depends on the kind:
//   FloatSlider: value (the default), valid and slider ranges, precision, display
//   Checkbox:    value (0 off, 1 on), text (the label beside the box, may be empty)
//   Color:       red, green, blue
//   Popup:       value (the default item, counted from 1), choices, text (entries split by '|')
//   Button:      text (shown on the button)
struct ParamRow {
    PF_ParamIndex index;
    ParamKind kind;
    const char* name;
    PF_ParamFlags flags;
    double value;
    float valid_min, valid_max;
    float slider_min, slider_max;
    PF_Precision precision;
    PF_ValueDisplayFlags display;
    A_short choices;
    const char* text;
    A_u_char red, green, blue;
};

// The rows in declaration order; row i (from 0) declares index i + 1.
struct ParamTableView {
    const ParamRow* rows;
    std::size_t size;
    const ParamRow* begin() const { return rows; }
    const ParamRow* end() const { return rows + size; }
};
ParamTableView ParamTable();
