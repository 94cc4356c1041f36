#include "arrowheads/Export.h"

#include <cctype>
#include <cstring>
#include <limits>
#include <memory>
#include <sstream>
#include <vector>

#include "arrowheads/PlaceholderLayer.h"
#include "panel/ModuleTable.h"
#include "params/ParamTable.h"
#include "shell/GlobalSetup.h"
#include "shell/ModuleRecord.h"
#include "shell/Scoped.h"
#include "shell/SuiteHandler.h"
#include "style/ConnectedLayers.h"
#include "style/ExpressionText.h"
#include "style/Writers.h"

namespace {

constexpr char kContentsMatchName[] = "ADBE Root Vectors Group";
constexpr char kPathGroupMatchName[] = "ADBE Vector Shape - Group";
// The Arrowheads module: its byte in the module-state record, its checkbox and group name.
constexpr std::size_t kArrowheadsModule = 0;
// From an arrowhead path up to its set group, and from there up to the connection group.
constexpr int kStepsToSet = 2;
constexpr int kStepsToGroup = 4;

// ---- expression templates ----------------------------------------------------------------------

// The position along the path (0 to 1) of the trimmed start or end, from the effect's Trim
// settings; which end comes from the first word of the placeholder layer's own name.
constexpr char kGetMod[] =
    "function getMod(){\tvar mod = 0;\tif (trimB)\t{\t\tstart = fx(\"LK "
    "TetherlineStyles-0120\")/100;\t\tend = fx(\"LK TetherlineStyles-0121\")/100;\t\tdelta = "
    "fx(\"Both Ends\")/100;\t\toffset = fx(\"LK TetherlineStyles-0123\").value/360; while "
    "(offset < 0) offset += 1.0;\t\ttrimStart = delta + start; if (trimStart == 0) trimStart = "
    "0.00001; if (trimStart == 1) trimStart = 0.99999;\t\ttrimEnd = (1 - delta) * end; if "
    "(trimEnd == 1) trimEnd = 0.99999; if (trimEnd == 0) trimEnd = 0.00001;\t\ttrimVal = "
    "isStartB ? trimStart : trimEnd;\t\tmod = (trimVal + offset) %% 1;\t}\telse\t{\t\tmod = "
    "isStartB ? 0.00001 : 0.99999;\t}\treturn mod;}isStartB = (name.split(\" \")[0] == "
    "\"Start\");isEndB = (name.split(\" \")[0] == \"End\");";

// The effect the placeholder reads: on the effect layer for a 3D placeholder, on the
// connection layer otherwise. Formatted with the effect layer's name, the effect, the
// connection layer's name and the effect.
constexpr char kHead[] =
    "is3dB = true; try { foo = orientation.value; } catch(e){ is3dB = false; }fx = is3dB ? "
    "thisComp.layer(\"%s\").effect(\"%s\") : thisComp.layer(\"%s\").effect(\"%s\");trimB = "
    "(fx(\"Trim\").value > 0);";

// Formatted with the group name, the connection layer's name, the group name and the path
// number.
constexpr char kPositionBody[] =
    "H = value;L = is3dB ? thisComp.layer(\"%s\") : thisComp.layer(\"%s\");path = "
    "L.content(\"%s\").content(\"Paths\").content(\"Path %s\").content(\"Path\").path;pts = "
    "path.points();startPt = pts[0];endPt = pts[pts.length-1];mod = getMod();H = "
    "path.pointOnPath(mod);if (is3dB) H = L.toWorld(H);H;";

constexpr char kRotationBody[] =
    "u = [1,0];L = is3dB ? thisComp.layer(\"%s\") : thisComp.layer(\"%s\");path = "
    "L.content(\"%s\").content(\"Paths\").content(\"Path %s\").content(\"Path\").path;mod = "
    "getMod();u = path.tangentOnPath(mod);a = Math.atan2(u[1],u[0]);radiansToDegrees(a) + "
    "(isStartB ? 180 : 0);";

// Formatted with the connection layer's name.
constexpr char kOrientationTemplate[] = "thisComp.layer(\"%s\").orientation;";

constexpr char kOpacityBody[] =
    "opa = value;if (trimB){   start = fx(\"LK TetherlineStyles-0120\")/100;   end = fx(\"LK "
    "TetherlineStyles-0121\")/100;   if (start == end)   {      opa = 0;   }}opa;";

bool IsGroup(AEGP_StreamGroupingType grouping) {
    return grouping == AEGP_StreamGroupingType_NAMED_GROUP ||
           grouping == AEGP_StreamGroupingType_INDEXED_GROUP;
}

// ---- one arrowhead path ------------------------------------------------------------------------

struct PlaceholderStream {
    AEGP_LayerStream which;
    const std::string PlaceholderExpressions::*text;
};
// In the order they are written; the orientation only on a 3D placeholder.
constexpr PlaceholderStream kPlaceholderStreams[] = {
    {AEGP_LayerStream_POSITION, &PlaceholderExpressions::position},
    {AEGP_LayerStream_ROTATION, &PlaceholderExpressions::rotation},
    {AEGP_LayerStream_ORIENTATION, &PlaceholderExpressions::orientation},
    {AEGP_LayerStream_OPACITY, &PlaceholderExpressions::opacity},
};

// The placeholder layer for the arrowhead path `path` named `arrowhead_name`. The first host
// error ends it; a layer already added stays as far as it was built.
A_Err ExportArrowheadPath(PF_InData* in_data, AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id,
                          AEGP_CompH comp, AEGP_StreamRefH path, const std::string& arrowhead_name,
                          const std::string& effect_layer_name,
                          const std::string& connection_layer_name, bool other_layer) {
    RunningError err;
    // The parents, from the path's own group up to the connection group; given back on return.
    std::vector<std::unique_ptr<ScopedStream>> parents;
    std::string set_name;
    std::string group_name;
    for (int step = 0; step < kStepsToSet + kStepsToGroup && err.ok(); ++step) {
        const AEGP_StreamRefH child = parents.empty() ? path : parents.back()->get();
        parents.push_back(std::make_unique<ScopedStream>(suites));
        err.Then([&] {
            return suites.DynamicStreamSuite4()->AEGP_GetNewParentStreamRef(plugin_id, child,
                                                                            parents.back()->put());
        });
        if (step + 1 == kStepsToSet) {
            err.Then([&] {
                return GetStreamNameUTF8(suites, plugin_id, parents.back()->get(), set_name);
            });
        }
    }
    err.Then(
        [&] { return GetStreamNameUTF8(suites, plugin_id, parents.back()->get(), group_name); });

    AEGP_LayerH layer = nullptr;
    err.Then([&] { return getNewLayer(in_data, comp, &layer); });
    if (!err.ok() || layer == nullptr) return err.get();

    const std::string name =
        PlaceholderLayerName(arrowhead_name, effect_layer_name, set_name, group_name);
    err.Then([&] { return suites.LayerSuite5()->AEGP_SetLayerName(layer, name.c_str()); });
    if (other_layer) {
        err.Then([&] {
            return suites.LayerSuite7()->AEGP_SetLayerFlag(layer, AEGP_LayerFlag_LAYER_IS_3D, TRUE);
        });
    }

    PlaceholderExpressions texts;
    err.Then([&] {
        return FormatPlaceholderExpressions(in_data, effect_layer_name, connection_layer_name,
                                            group_name, PathNumberOf(set_name), texts);
    });
    for (const PlaceholderStream& row : kPlaceholderStreams) {
        if (!err.ok()) break;
        if (row.which == AEGP_LayerStream_ORIENTATION && !other_layer) continue;
        ScopedStream stream(suites);
        err.Then([&] {
               return suites.StreamSuite4()->AEGP_GetNewLayerStream(plugin_id, layer, row.which,
                                                                    stream.put());
           })
            .Then([&] {
                return suites.StreamSuite4()->AEGP_SetExpression(plugin_id, stream.get(),
                                                                 (texts.*row.text).c_str());
            });
        err.Release(stream.Dispose());
    }
    return err.get();
}

// The child of `root` whose match name is "ADBE Root Vectors Group", the first one found; none
// leaves `contents` empty.
A_Err FindContents(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_StreamRefH root,
                   ScopedStream& contents) {
    RunningError err;
    A_long count = 0;
    err.Then([&] { return suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(root, &count); });
    for (A_long i = 0; i < count && err.ok() && !contents; ++i) {
        ScopedStream child(suites);
        A_char match_name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
        err.Then([&] {
               return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(plugin_id, root, i,
                                                                                child.put());
           })
            .Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetMatchName(child.get(), match_name);
            });
        if (err.ok() && std::strcmp(match_name, kContentsMatchName) == 0) {
            *contents.put() = child.release();
        }
        err.Release(child.Dispose());
    }
    return err.get();
}

// The export loop over the connection layers, inside its undo group; its error.
A_Err ExportPlaceholders(PF_InData* in_data) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    AEGP_PluginID plugin_id = 0;
    LayerIDList layer_ids;
    AEGP_LayerIDVal effect_layer_id = 0;
    AEGP_LayerH effect_layer = nullptr;
    AEGP_CompH comp = nullptr;
    ScopedUndoGroup undo(suites);
    err.Then([&] { return GetPluginID(in_data, &plugin_id); })
        .Then([&] { return GetConcernedLayersIDs(in_data, layer_ids, effect_layer_id); })
        .Then([&] {
            return suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref,
                                                                   &effect_layer);
        })
        .Then([&] { return suites.LayerSuite7()->AEGP_GetLayerParentComp(effect_layer, &comp); })
        .Then([&] { return undo.Start(kExportArrowheadsTitle); });

    for (const AEGP_LayerIDVal layer_id : layer_ids) {
        if (!err.ok()) break;
        AEGP_LayerH connection_layer = nullptr;
        AEGP_LayerH named_effect_layer = nullptr;
        ScopedStream root(suites);
        ScopedStream contents(suites);
        std::string connection_layer_name;
        std::string effect_layer_name;
        err.Then([&] {
               return suites.LayerSuite7()->AEGP_GetLayerFromLayerID(comp, layer_id,
                                                                     &connection_layer);
           })
            .Then([&] {
                return suites.LayerSuite7()->AEGP_GetLayerFromLayerID(comp, effect_layer_id,
                                                                      &named_effect_layer);
            })
            .Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(
                    plugin_id, connection_layer, root.put());
            })
            .Then([&] {
                return GetLayerNameUTF8(suites, plugin_id, connection_layer, connection_layer_name);
            })
            .Then([&] {
                return GetLayerNameUTF8(suites, plugin_id, named_effect_layer, effect_layer_name);
            })
            .Then([&] { return FindContents(suites, plugin_id, root.get(), contents); });

        // A layer without contents has nothing to export.
        A_long count = 0;
        if (contents) {
            err.Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(contents.get(),
                                                                               &count);
            });
        }
        for (A_long j = 0; j < count && err.ok(); ++j) {
            ExportLayerArrowheadsFunct(in_data, comp, contents.get(), j, effect_layer_name,
                                       connection_layer_name, layer_id != effect_layer_id);
        }
        err.Release(contents.Dispose());
        err.Release(root.Dispose());
    }
    err.Release(undo.End());
    return err.get();
}

// The Arrowheads module off: its byte in the record, its checkbox and its group on every
// connection layer.
void SwitchArrowheadsOff(PF_InData* in_data, PF_ParamDef* params[], RunningError& err) {
    const ModuleRow& module = kModuleTable[kArrowheadsModule];
    RecordLock record(in_data, params[kParamModules]->u.arb_d.value);
    A_u_char* state = record.bytes();
    if (state != nullptr) {
        state[kArrowheadsModule] = 0;
    } else {
        err.Then([&] { return A_Err{record.error()}; });
    }
    if (err.ok()) {
        PF_ParamDef* checkbox = params[module.enable_param];
        checkbox->u.bd.value = 0;
        checkbox->uu.change_flags = PF_ChangeFlag_CHANGED_VALUE;
    }
    params[kParamModules]->uu.change_flags |= PF_ChangeFlag_CHANGED_VALUE;
    if (err.ok()) {
        AEGP_SuiteHandler suites(in_data->pica_basicP);
        RunOnConnectionLayers(
            in_data, suites, err, [&](AEGP_StreamRefH root, AEGP_LayerIDVal, AEGP_LayerIDVal) {
                A_char name[64];
                const A_Err e = FormatText(in_data, name, sizeof name, "%s", module.group_name);
                if (e != A_Err_NONE) return e;
                return SetStreamVisibility(in_data, root, name, TRUE, state[kArrowheadsModule]);
            });
    }
    record.Unlock();
}

}  // namespace

void ExecuteExportArrowheads(PF_InData* in_data, PF_ParamDef* params[], RunningError& err) {
    err.Then([&] { return ExportPlaceholders(in_data); });
    SwitchArrowheadsOff(in_data, params, err);
}

void ExportLayerArrowheadsFunct(PF_InData* in_data, AEGP_CompH comp, AEGP_StreamRefH parent,
                                A_long index, const std::string& effect_layer_name,
                                const std::string& connection_layer_name, bool other_layer) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    AEGP_PluginID plugin_id = 0;
    ScopedStream child(suites);
    A_char match_name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
    std::string name;
    err.Then([&] { return GetPluginID(in_data, &plugin_id); })
        .Then([&] {
            return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(plugin_id, parent,
                                                                             index, child.put());
        })
        .Then([&] { return child ? A_Err{A_Err_NONE} : A_Err{A_Err_GENERIC}; })
        .Then([&] {
            return suites.DynamicStreamSuite4()->AEGP_GetMatchName(child.get(), match_name);
        })
        .Then([&] { return GetStreamNameUTF8(suites, plugin_id, child.get(), name); });
    if (!err.ok()) return;

    const bool arrowhead = std::strcmp(match_name, kPathGroupMatchName) == 0 &&
                           (name == kStartArrowheadName || name == kEndArrowheadName);
    if (arrowhead) {
        ExportArrowheadPath(in_data, suites, plugin_id, comp, child.get(), name, effect_layer_name,
                            connection_layer_name, other_layer);
        return;
    }
    AEGP_StreamGroupingType grouping = AEGP_StreamGroupingType_LEAF;
    A_long count = 0;
    err.Then([&] {
        return suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(child.get(), &grouping);
    });
    if (!err.ok() || !IsGroup(grouping)) return;
    err.Then([&] {
        return suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(child.get(), &count);
    });
    // A failure inside one child's export does not stop its siblings.
    for (A_long i = 0; i < count && err.ok(); ++i) {
        ExportLayerArrowheadsFunct(in_data, comp, child.get(), i, effect_layer_name,
                                   connection_layer_name, other_layer);
    }
}

std::string intToString(A_long value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

A_long PathNumberOf(const std::string& set_name) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start < set_name.size()) {
        const std::size_t space = set_name.find(' ', start);
        if (space == std::string::npos) {
            pieces.push_back(set_name.substr(start));
            break;
        }
        pieces.push_back(set_name.substr(start, space - start));
        start = space + 1;
    }
    if (pieces.size() != 2) return 1;

    // As the C library reads a decimal integer, held to 32 bits.
    const std::string& piece = pieces[1];
    std::size_t i = 0;
    while (i < piece.size() && std::isspace(static_cast<unsigned char>(piece[i]))) ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) negative = piece[i++] == '-';
    long long magnitude = 0;
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<A_long>::max()) + 1;
    for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
        magnitude = std::min(kLimit, magnitude * 10 + (piece[i] - '0'));
    }
    const long long value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<A_long>(value);
}

std::string PlaceholderLayerName(const std::string& arrowhead_name,
                                 const std::string& effect_layer_name, const std::string& set_name,
                                 const std::string& group_name) {
    std::string name =
        arrowhead_name + " - " + effect_layer_name + " - " + set_name + " - " + group_name;
    if (name.size() > kMaxPlaceholderNameBytes) {
        std::size_t end = kMaxPlaceholderNameBytes;
        // A cut inside a character moves back to where that character starts.
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
        name.resize(end);
    }
    return name;
}

A_Err FormatPlaceholderExpressions(PF_InData* in_data, const std::string& effect_layer_name,
                                   const std::string& connection_layer_name,
                                   const std::string& group_name, A_long path_number,
                                   PlaceholderExpressions& out) {
    const LiteralText effect_layer(effect_layer_name);
    const LiteralText connection_layer(connection_layer_name);
    const LiteralText group(group_name);
    const LiteralText effect(kEffectMatchName);
    // Digits only; the text of the "Path N" name the connection's path group bears.
    const LiteralText number(intToString(path_number));
    const std::string head = kHead;
    const std::string with_trim = std::string(kGetMod) + head;

    RunningError err;
    err.Then([&] {
           return FormatExpression(in_data, out.position, (with_trim + kPositionBody).c_str(),
                                   effect_layer, effect, connection_layer, effect, group,
                                   connection_layer, group, number);
       })
        .Then([&] {
            return FormatExpression(in_data, out.rotation, (with_trim + kRotationBody).c_str(),
                                    effect_layer, effect, connection_layer, effect, group,
                                    connection_layer, group, number);
        })
        .Then([&] {
            return FormatExpression(in_data, out.orientation, kOrientationTemplate,
                                    connection_layer);
        })
        .Then([&] {
            return FormatExpression(in_data, out.opacity, (head + kOpacityBody).c_str(),
                                    effect_layer, effect, connection_layer, effect);
        });
    return err.get();
}
