#include "params/ParamTable.h"

namespace {

// ---- flags and display forms used by the rows --------------------------------------------------
constexpr PF_ParamFlags kSupervise = PF_ParamFlag_SUPERVISE;        // changes are reported to us
constexpr PF_ParamFlags kFixed = PF_ParamFlag_CANNOT_TIME_VARY;     // no keyframes
constexpr PF_ParamFlags kCollapsed = PF_ParamFlag_START_COLLAPSED;  // group starts only
constexpr PF_ValueDisplayFlags kNumber = PF_ValueDisplayFlag_NONE;
constexpr PF_ValueDisplayFlags kPercent = PF_ValueDisplayFlag_PERCENT;

// ---- texts: checkbox labels, button texts and popup choice lists -------------------------------
constexpr char kNoLabel[] = "";
constexpr char kEnable[] = "Enable";
constexpr char kRevealInTimeline[] = "Reveal in Timeline";
constexpr char kCreatePlaceholders[] = "Create Placeholders";
constexpr char kBakeWorkArea[] = "Bake Work Area";
constexpr char kRelinkExpressions[] = "Relink Expressions";

constexpr char kLineCapChoices[] = "Butt Cap|Round Cap|Projecting Cap";
constexpr char kLineJoinChoices[] = "Miter Join|Round Join|Bevel Join";
constexpr char kGradientTypeChoices[] = "Linear|Radial";
constexpr char kFillPaletteChoices[] =
    "Single Color|Gradient|Hue Shift|Random|From Layer|(-|1944 Mustang|Afternoon Chai|"
    "Appalachian Spring|Birdfolio Blues|Cherry Cheesecake|Cote Azur|Firenze|Friends and Foes|"
    "Gettysburg|Granny Smith|Harbor|Herbs and Spice|Honey Pot|Japanese Garden|Neutral Blue|"
    "Ocean Sunset|Oddend|Optimist|Orange on Gray|Orange on Olive|Pear Lemon Fizz|Phaedra|"
    "Pistachio|Salmon on Ice|Sandy Stone Beach Ocean Diver|Sea Wolf|Tech Office|Vitamin C|"
    "Watermelon|Zen and Tea";
constexpr char kArrowheadChoices[] = "None|Circle|Square|Triangle";
constexpr char kFunctionChoices[] =
    "Linear|(-|Arc|Step (2D only)|Step After (2D only)|Step Before (2D only)|(-|"
    "Auto Bezier Tension|Custom Bezier Tension|(-|Dynamic Bezier|"
    "Dynamic Custom Bezier (2 layers only)|Dynamic Verlet|(-|"
    "Sine - In|Sine - Out|Sine - In Out|Quadratic - In|Quadratic - Out|Quadratic - In Out|"
    "Cubic - In|Cubic - Out|Cubic - In Out|Quartic - In|Quartic - Out|Quartic - In Out|"
    "Quintic - In|Quintic - Out|Quintic - In Out|Exponential - In|Exponential - Out|"
    "Exponential - In Out|Circular - In|Circular - Out|Circular - In Out|(-|"
    "Back - In|Back - Out|Back - In Out|Elastic - In|Elastic - Out|Elastic - In Out|"
    "Bounce - In|Bounce - Out|Bounce - In Out";
constexpr char kDynamicsPresetChoices[] =
    "None|Fifty-Fifty|Gum|Medium|Playdoh|Rubber Band|Soft Metal|Soft Plastic|Springy|"
    "Very Elastic";
constexpr char kVerletPresetChoices[] =
    "None|High Gravity|Low Gravity|Medium|Zero Gravity Flexible";
constexpr char kTrimChoices[] = "Simultaneously|Individually";
constexpr char kPointsChoices[] = "Corner|Smooth";

// ---- row makers, one per kind ------------------------------------------------------------------
constexpr ParamRow Row(PF_ParamIndex index, ParamKind kind, const char* name, PF_ParamFlags flags) {
    ParamRow row{};
    row.index = index;
    row.kind = kind;
    row.name = name;
    row.flags = flags;
    row.text = kNoLabel;
    return row;
}

constexpr ParamRow Group(PF_ParamIndex index, const char* name, PF_ParamFlags flags = 0) {
    return Row(index, ParamKind::GroupStart, name, flags);
}

constexpr ParamRow End(PF_ParamIndex index) {
    return Row(index, ParamKind::GroupEnd, "", 0);
}

// Default, valid minimum and maximum, slider minimum and maximum, digits after the point, and
// whether the value shows as a number or a percentage.
constexpr ParamRow Slider(PF_ParamIndex index, const char* name, double value, float valid_min,
                          float valid_max, float slider_min, float slider_max,
                          PF_Precision precision, PF_ValueDisplayFlags display,
                          PF_ParamFlags flags = 0) {
    ParamRow row = Row(index, ParamKind::FloatSlider, name, flags);
    row.value = value;
    row.valid_min = valid_min;
    row.valid_max = valid_max;
    row.slider_min = slider_min;
    row.slider_max = slider_max;
    row.precision = precision;
    row.display = display;
    return row;
}

constexpr ParamRow Check(PF_ParamIndex index, const char* name, int on, const char* label,
                         PF_ParamFlags flags = 0) {
    ParamRow row = Row(index, ParamKind::Checkbox, name, flags);
    row.value = on;
    row.text = label;
    return row;
}

constexpr ParamRow Colour(PF_ParamIndex index, const char* name, A_u_char red, A_u_char green,
                          A_u_char blue) {
    ParamRow row = Row(index, ParamKind::Color, name, 0);
    row.red = red;
    row.green = green;
    row.blue = blue;
    return row;
}

// Default item (from 1), number of choices, and the choice list.
constexpr ParamRow Popup(PF_ParamIndex index, const char* name, int item, A_short choices,
                         const char* list, PF_ParamFlags flags = 0) {
    ParamRow row = Row(index, ParamKind::Popup, name, flags);
    row.value = item;
    row.choices = choices;
    row.text = list;
    return row;
}

constexpr ParamRow Button(PF_ParamIndex index, const char* name, const char* text,
                          PF_ParamFlags flags) {
    ParamRow row = Row(index, ParamKind::Button, name, flags);
    row.text = text;
    return row;
}

constexpr ParamRow LayerParam(PF_ParamIndex index, const char* name) {
    return Row(index, ParamKind::Layer, name, 0);
}

constexpr ParamRow Arb(PF_ParamIndex index, const char* name) {
    return Row(index, ParamKind::ArbitraryData, name, 0);
}

// ---- the table ---------------------------------------------------------------------------------
// clang-format off
constexpr ParamRow kRows[] = {
    // Stroke
    Group (  1, "Stroke"),
    Colour(  2, "Stroke Color", 255, 255, 255),
    Slider(  3, "Stroke Opacity",        100,        0,     100,    0,  100, 1, kPercent),
    Check (  4, "Opacity From Distance", 0, kNoLabel, kSupervise),
    Slider(  5, "Near (px)",             100,        0, 1000000,    0,  200, 0, kNumber),
    Slider(  6, "Far (px)",              400,        0, 1000000,    0, 1000, 0, kNumber),
    Check (  7, "Reverse Behavior",      0, kNoLabel),
    Slider(  8, "Stroke Width",            5,        0,   10000,    0,  100, 1, kNumber),
    Popup (  9, "Line Cap",              1, 3, kLineCapChoices, kSupervise | kFixed),
    Popup ( 10, "Line Join",             1, 3, kLineJoinChoices, kSupervise | kFixed),
    Slider( 11, "Miter Limit",             4,        1,   10000,    1,   50, 1, kNumber),
    Check ( 12, "Enable Gradient",       0, kNoLabel, kSupervise),
    Popup ( 13, "Gradient Type",         1, 2, kGradientTypeChoices, kSupervise | kFixed),
    Slider( 14, "Highlight Length",        0,     -100,     100, -100,  100, 1, kPercent),
    Slider( 15, "Highlight Angle",         0,  -100000,  100000,    0,  360, 1, kNumber),
    Button( 16, "Gradient Colors",       kRevealInTimeline, kSupervise),
    Slider( 17, "Gradient Scale (%)",    100, -1000000, 1000000,    0,  200, 0, kNumber),
    Check ( 18, "Reverse Path",          0, kNoLabel),
    End   ( 19),
    // Fill
    Group ( 20, "Fill", kCollapsed),
    Check ( 21, "Enable Fill",           0, kNoLabel, kSupervise),
    // 36 choices, one per entry of the list: the last palette, "Zen and Tea" (item 36), can be chosen.
    Popup ( 22, "Fill Palette",          1, 36, kFillPaletteChoices, kSupervise),
    Colour( 23, "Fill Color", 200, 140, 248),
    Colour( 24, "End Color", 31, 0, 63),
    Slider( 25, "Saturation",             50,        0,     100,    0,  100, 1, kPercent),
    Slider( 26, "Luminance",              50,        0,     100,    0,  100, 1, kPercent),
    Slider( 27, "Random Seed",             1,        0,   10000,    0,  100, 0, kNumber),
    LayerParam(28, "Color Layer"),
    Slider( 29, "Fill Opacity",          100,        0,     100,    0,  100, 1, kPercent),
    Check ( 30, "Opacity From Distance", 0, kNoLabel, kSupervise),
    Slider( 31, "Near (px)",             100,        0, 1000000,    0,  200, 0, kNumber),
    Slider( 32, "Far (px)",              400,        0, 1000000,    0, 1000, 0, kNumber),
    Check ( 33, "Reverse Behavior",      0, kNoLabel),
    Check ( 34, "Enable Gradient",       0, kNoLabel, kSupervise),
    Popup ( 35, "Gradient Type",         1, 2, kGradientTypeChoices, kSupervise | kFixed),
    Slider( 36, "Highlight Length",        0,     -100,     100, -100,  100, 1, kPercent),
    Slider( 37, "Highlight Angle",         0,  -100000,  100000,    0,  360, 1, kNumber),
    Button( 38, "Gradient Colors",       kRevealInTimeline, kSupervise),
    Slider( 39, "Gradient Scale (%)",    100, -1000000, 1000000,    0,  200, 0, kNumber),
    End   ( 40),
    // Module panel and the module switches
    Arb   ( 41, "Modules"),
    Group ( 42, "Enable Modules", kCollapsed | kSupervise),
    Check ( 43, "Arrowheads",            0, kEnable, kSupervise | kFixed),
    Check ( 44, "Curviness",             0, kEnable, kSupervise | kFixed),
    Check ( 45, "Dashes",                0, kEnable, kSupervise | kFixed),
    Check ( 46, "Offset",                0, kEnable, kSupervise | kFixed),
    Check ( 47, "Repeater",              0, kEnable, kSupervise | kFixed),
    Check ( 48, "Round Corners",         0, kEnable, kSupervise | kFixed),
    Check ( 49, "Trim",                  0, kEnable, kSupervise | kFixed),
    Check ( 50, "Twist",                 0, kEnable, kSupervise | kFixed),
    Check ( 51, "Wiggle",                0, kEnable, kSupervise | kFixed),
    Check ( 52, "Zig Zag",               0, kEnable, kSupervise | kFixed),
    End   ( 53),
    // Arrowheads
    Group ( 54, "Arrowheads", kSupervise),
    Popup ( 55, "Start",                 1, 4, kArrowheadChoices),
    Popup ( 56, "End",                   1, 4, kArrowheadChoices),
    Colour( 57, "Stroke Color", 255, 255, 255),
    Slider( 58, "Stroke Opacity",        100,        0,     100,    0,  100, 1, kPercent),
    Slider( 59, "Stroke Width",            0,        0,   10000,    0,  100, 1, kNumber),
    Colour( 60, "Fill Color", 255, 255, 255),
    Slider( 61, "Fill Opacity",          100,        0,     100,    0,  100, 1, kPercent),
    Check ( 62, "Opacity from Path",     1, kNoLabel),
    Slider( 63, "Circle/Square Size",     15,        0,   10000,    0,  100, 0, kNumber),
    Slider( 64, "Triangle Scale",        100,        0,   10000,    0,  100, 0, kPercent),
    Slider( 65, "Triangle Length",        40,        0,   10000,    0,  100, 0, kNumber),
    Slider( 66, "Triangle Width",         20,        0,   10000,    0,  100, 0, kNumber),
    Slider( 67, "Round Corners",           0,        0,   10000,    0,  100, 1, kNumber),
    Button( 68, "Customization",         kCreatePlaceholders, kSupervise),
    End   ( 69),
    // Curviness
    Group ( 70, "Curviness"),
    Popup ( 71, "Function",              1, 45, kFunctionChoices, kSupervise),
    Check ( 72, "Flip Direction",        0, kNoLabel),
    Slider( 73, "Tension",            33.333,   -10000,   10000,    0,  100, 1, kPercent),
    Popup ( 74, "Preset",                1, 10, kDynamicsPresetChoices, kSupervise),
    Popup ( 75, "Preset",                1, 5, kVerletPresetChoices, kSupervise),
    Slider( 76, "Stiffness",             100,    -1000,    1000,    0,  100, 1, kPercent),
    Slider( 77, "Damping",                50,    -1000,    1000,    0,  100, 1, kPercent),
    Slider( 78, "Max Tangent Length", 100.0 / 3, -1000,    1000,    0,  100, 1, kPercent),
    Slider( 79, "Start Tangent X",         0,   -10000,   10000,    0,  300, 1, kNumber),
    Slider( 80, "Start Tangent Y",         0,   -10000,   10000,    0,  300, 1, kNumber),
    Slider( 81, "End Tangent X",           0,   -10000,   10000,    0,  300, 1, kNumber),
    Slider( 82, "End Tangent Y",           0,   -10000,   10000,    0,  300, 1, kNumber),
    Slider( 83, "Stiffness",              50,    -1000,    1000,    0,  100, 1, kPercent),
    Slider( 84, "Solver Steps",            5,        0,     100,    0,   10, 0, kNumber),
    Slider( 85, "Subsegments",            10,        2,    1000,    0,   20, 0, kNumber),
    Slider( 86, "Gravity",                 0,        0,   10000,    0,   20, 1, kNumber),
    Slider( 87, "Dynamics Start Frame",    0,        0,  100000,    0,  200, 0, kNumber, kFixed),
    Slider( 88, "Precision",              15,        2,   10000,    2,   50, 0, kNumber),
    Slider( 89, "Angle (3D only)",        45,        0,   10000,    0,  360, 0, kNumber),
    End   ( 90),
    // Dashes
    Group ( 91, "Dashes", kSupervise),
    Slider( 92, "Dash",                   10,   -10000,   10000,    0,  100, 1, kNumber),
    Slider( 93, "Gap",                    10,   -10000,   10000,    0,  100, 1, kNumber),
    Slider( 94, "Offset",                  0,   -10000,   10000,    0,  100, 1, kNumber),
    End   ( 95),
    // Offset
    Group ( 96, "Offset", kSupervise),
    Slider( 97, "Amount",                  0,   -10000,   10000,    0,  100, 1, kNumber),
    End   ( 98),
    // Repeater
    Group ( 99, "Repeater", kSupervise),
    Slider(100, "Copies",                  3,        0,   10000,    0,  100, 1, kNumber),
    Slider(101, "Offset",                  0,   -10000,   10000,    0,  100, 1, kNumber),
    Check (102, "Symmetric Offset",      1, kNoLabel),
    Group (103, "Transform: Repeater", kCollapsed),
    Slider(104, "Anchor Point X",          0, -1000000, 1000000, -300,  300, 1, kNumber),
    Slider(105, "Anchor Point Y",          0, -1000000, 1000000, -300,  300, 1, kNumber),
    Check (106, "Center Anchor",         1, kNoLabel),
    Slider(107, "Position Offset",         0, -1000000, 1000000, -300,  300, 1, kNumber),
    Slider(108, "Position X",              0, -1000000, 1000000, -300,  300, 1, kNumber),
    Slider(109, "Position Y",              0, -1000000, 1000000, -300,  300, 1, kNumber),
    Slider(110, "Scale",                 100,   -10000,   10000,    0,  300, 1, kPercent),
    Slider(111, "Rotation",                0,   -10000,   10000,    0,  360, 1, kNumber),
    Slider(112, "Start Opacity",         100,        0,     100,    0,  100, 1, kPercent),
    Slider(113, "End Opacity",           100,        0,     100,    0,  100, 1, kPercent),
    End   (114),
    End   (115),
    // Round Corners
    Group (116, "Round Corners", kSupervise),
    Slider(117, "Radius",                 10,        0,   10000,    0,  100, 1, kNumber),
    End   (118),
    // Trim
    Group (119, "Trim"),
    Slider(120, "Start",                   0,        0,     100,    0,  100, 1, kPercent),
    Slider(121, "End",                   100,        0,     100,    0,  100, 1, kPercent),
    Slider(122, "Both Ends",               0,        0,      50,    0,   50, 1, kPercent),
    Slider(123, "Offset",                  0,   -10000,   10000,    0,  360, 1, kNumber),
    Popup (124, "Trim Multiple Shapes",  1, 2, kTrimChoices, kSupervise),
    End   (125),
    // Twist
    Group (126, "Twist", kSupervise),
    Slider(127, "Angle",                  10,   -10000,   10000,    0,  100, 1, kNumber),
    Slider(128, "Center X",                0, -1000000, 1000000, -300,  300, 1, kNumber),
    Slider(129, "Center Y",                0, -1000000, 1000000, -300,  300, 1, kNumber),
    End   (130),
    // Wiggle
    Group (131, "Wiggle", kSupervise),
    Slider(132, "Size",                   10,        0,   10000,    0,  100, 1, kNumber),
    Slider(133, "Detail",                 10,        0,   10000,    0,  100, 1, kNumber),
    Popup (134, "Points",                1, 2, kPointsChoices),
    Slider(135, "Wiggles/Second",          2,        0,   10000,    0,  100, 1, kNumber),
    Slider(136, "Correlation",            50,        0,     100,    0,  100, 1, kPercent),
    Slider(137, "Temporal Phase",          0,   -10000,   10000,    0,  100, 1, kNumber),
    Slider(138, "Spatial Phase",           0,   -10000,   10000,    0,  100, 1, kNumber),
    Slider(139, "Random Seed",             0,        0,   10000,    0,  100, 0, kNumber),
    End   (140),
    // Zig Zag
    Group (141, "Zig Zag", kSupervise),
    Slider(142, "Size",                    5,        0,   10000,    0,  100, 1, kNumber),
    Slider(143, "Ridges per segment",     10,        0,   10000,    0,  100, 1, kNumber),
    Popup (144, "Points",                1, 2, kPointsChoices),
    End   (145),
    // Assistant
    Group (146, "Assistant", kCollapsed),
    Button(147, "Path Expressions",      kBakeWorkArea, kSupervise),
    Button(148, "Style Expressions",     kBakeWorkArea, kSupervise),
    Button(149, "",                      kRelinkExpressions, kSupervise),
    End   (150),
};
// clang-format on

// ---- checks on the table, at compile time ------------------------------------------------------
constexpr std::size_t kRowCount = sizeof(kRows) / sizeof(kRows[0]);
static_assert(kRowCount == static_cast<std::size_t>(kDeclaredParamCount), "one row per parameter");

constexpr std::size_t Length(const char* s) {
    std::size_t n = 0;
    while (s[n] != '\0') ++n;
    return n;
}

constexpr A_short EntryCount(const char* list) {
    A_short n = 1;
    for (std::size_t i = 0; list[i] != '\0'; ++i) {
        if (list[i] == '|') ++n;
    }
    return n;
}

constexpr bool RowsAreWellFormed() {
    int depth = 0;
    for (std::size_t i = 0; i < kRowCount; ++i) {
        const ParamRow& row = kRows[i];
        // Identifiers equal indices, in declaration order.
        if (row.index != static_cast<PF_ParamIndex>(i + 1)) return false;
        if (Length(row.name) > PF_MAX_EFFECT_PARAM_NAME_LEN) return false;
        if (row.kind == ParamKind::GroupStart) ++depth;
        if (row.kind == ParamKind::GroupEnd && --depth < 0) return false;
        // Every popup offers every entry of its list and starts on a real entry.
        if (row.kind == ParamKind::Popup &&
            (EntryCount(row.text) != row.choices || row.value < 1 || row.value > row.choices)) {
            return false;
        }
    }
    return depth == 0;
}
static_assert(RowsAreWellFormed(), "indices in order, names fit, popups match, groups balance");
static_assert(kRows[kParamModules - 1].kind == ParamKind::ArbitraryData, "the module panel");

}  // namespace

ParamTableView ParamTable() {
    return ParamTableView{kRows, kRowCount};
}
