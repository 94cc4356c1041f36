// "Create Placeholders": every arrowhead path of the connection layers ("Start Arrowhead" and
// "End Arrowhead" path operators) becomes a layer of its own showing the placeholder
// composition, whose position, rotation, opacity and (3D) orientation expressions keep it on
// the connection path's trimmed end, turned along the path and hidden when the trim leaves
// nothing; then the Arrowheads module is switched off. One press is one undo group of the host.
#pragma once

#include <string>

#include "AE_Effect.h"
#include "AE_GeneralPlug.h"
#include "shell/RunningError.h"

inline constexpr char kExportArrowheadsTitle[] = "Export Arrowheads as Placeholders";
inline constexpr char kStartArrowheadName[] = "Start Arrowhead";
inline constexpr char kEndArrowheadName[] = "End Arrowhead";
// The longest placeholder layer name, in bytes.
inline constexpr std::size_t kMaxPlaceholderNameBytes = 255;

// The export run and the switch-off of the Arrowheads module, updating the handler's running
// error `err`. The export runs only when `err` is zero on entry, inside the undo group
// "Export Arrowheads as Placeholders", which is ended on every path; its error (the loop's,
// else the group end's) becomes the running error. The switch-off follows whatever happened:
// the record's Arrowheads byte is cleared and "Modules" (41) flagged changed in every case;
// only while `err` is zero is the "Arrowheads" checkbox (43) set to 0 and the "Arrowheads"
// group hidden on every connection layer.
void ExecuteExportArrowheads(PF_InData* in_data, PF_ParamDef* params[], RunningError& err);

// Exports the child `index` of `parent`: an arrowhead path becomes a placeholder layer in
// `comp`; any other named or indexed group is searched the same way. A host error ends this
// call (and with it that arrowhead's export) silently; siblings are still visited. Every
// reference taken is given back. `other_layer` (the connection layer is not the effect layer)
// makes the placeholder 3D, its orientation following the connection layer's.
void ExportLayerArrowheadsFunct(PF_InData* in_data, AEGP_CompH comp, AEGP_StreamRefH parent,
                                A_long index, const std::string& effect_layer_name,
                                const std::string& connection_layer_name, bool other_layer);

// The decimal text of `value`: an optional minus sign and the digits.
std::string intToString(A_long value);

// The path number a set name gives: the second piece when the name cut at every space has
// exactly two pieces (two spaces in a row leave an empty piece between them, a trailing space
// adds none), read as a decimal integer as the C library reads one (leading white space, a
// sign, the digits up to the first other character; none give 0; beyond 32 bits the nearest
// 32-bit value); 1 otherwise.
A_long PathNumberOf(const std::string& set_name);

// "<arrowhead> - <effect layer> - <set> - <group>", cut to kMaxPlaceholderNameBytes on a
// character boundary (never inside a UTF-8 sequence).
std::string PlaceholderLayerName(const std::string& arrowhead_name,
                                 const std::string& effect_layer_name, const std::string& set_name,
                                 const std::string& group_name);

// The four expressions of one placeholder. Every name is escaped for its string literal.
struct PlaceholderExpressions {
    std::string position;
    std::string rotation;
    std::string orientation;
    std::string opacity;
};
A_Err FormatPlaceholderExpressions(PF_InData* in_data, const std::string& effect_layer_name,
                                   const std::string& connection_layer_name,
                                   const std::string& group_name, A_long path_number,
                                   PlaceholderExpressions& out);
