#include "style/Writers.h"

#include <cstring>

#include "shell/GlobalSetup.h"
#include "shell/RunningError.h"
#include "style/ConnectedLayers.h"

namespace {

// Values are read and written where the composition starts, before expressions.
constexpr A_Time kCompTimeZero = {0, 1};

bool SameName(const A_char* a, const A_char* b) {
    return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

// ---- expression templates ----------------------------------------------------------------------

constexpr char kMiterLimitTemplate[] =
    "fx = thisComp.layer(\"%s\").effect(\"%s\"); fx(\"Miter Limit\");";

// Each dash property's template, all formatted with the same arguments: the effect layer name,
// the effect match name, and for the offset the dash "Offset" slider's match name (the effect
// match name and its identifier), since several parameters are named "Offset".
struct DashTemplate {
    const char* match_name;
    const char* format;
};
constexpr DashTemplate kDashTemplates[] = {
    {kDashMatchName,
     "fx = thisComp.layer(\"%s\").effect(\"%s\"); if (fx(\"Dashes\").value > 0) fx(\"Dash\"); "
     "else 0;"},
    {kGapMatchName,
     "fx = thisComp.layer(\"%s\").effect(\"%s\"); if (fx(\"Dashes\").value > 0) fx(\"Gap\"); "
     "else 0;"},
    {kDashOffsetMatchName,
     "fx = thisComp.layer(\"%s\").effect(\"%s\"); if (fx(\"Dashes\").value > 0) "
     "fx(\"%s-00%d\"); else 0;"},
};
// The Dashes group's "Offset" slider.
constexpr int kDashOffsetParamId = 94;

constexpr char kHighlightTemplate[] =
    "fxMatchName = \"%s\"; fx = thisComp.layer(\"%s\").effect(fxMatchName); gradEnabB = "
    "(fx(fxMatchName+\"-00%d\").value > 0); gradType = 1; highlight = 0; try{ gradType = "
    "fx(fxMatchName+\"-00%d\").value; }catch(e){} if (gradEnabB && gradType == 2) { "
    "try{highlight = fx(fxMatchName+\"-00%d\");}catch(e){} highlight; } else 0;";

const DashTemplate* FindDashTemplate(const A_char* match_name) {
    for (const DashTemplate& row : kDashTemplates) {
        if (SameName(row.match_name, match_name)) return &row;
    }
    return nullptr;
}

// ---- host steps shared by the writers ----------------------------------------------------------

// The effect layer's current name, found from its identifier in the composition of the layer
// that carries this effect. Read afresh for every property written, so that a rename between
// two writes is honoured.
A_Err GetEffectLayerName(PF_InData* in_data, AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id,
                         AEGP_LayerIDVal effect_layer_id, std::string& name) {
    RunningError err;
    AEGP_LayerH carrier = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH effect_layer = nullptr;
    err.Then([&] {
           return suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref, &carrier);
       })
        .Then([&] { return suites.LayerSuite7()->AEGP_GetLayerParentComp(carrier, &comp); })
        .Then([&] {
            return suites.LayerSuite7()->AEGP_GetLayerFromLayerID(comp, effect_layer_id,
                                                                  &effect_layer);
        })
        .Then([&] { return GetLayerNameUTF8(suites, plugin_id, effect_layer, name); });
    return err.get();
}

// The walk every writer of values or expressions uses: properties named `match_name`, and with
// `within_group` set only those directly inside a group named `group_match_name`.
A_Err WriteMatches(PF_InData* in_data, AEGP_StreamRefH group, const A_char* match_name,
                   A_Boolean within_group, const A_char* group_match_name,
                   const std::function<A_Err(MatchingWalk&, AEGP_StreamRefH)>& write) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    AEGP_PluginID plugin_id = 0;
    if (const A_Err e = GetPluginID(in_data, &plugin_id)) return e;
    MatchingWalk walk(suites, plugin_id);
    walk.test = MatchNameTest(suites, match_name);
    walk.act = [&](ScopedStream& child) {
        bool in_group = true;
        if (within_group) {
            const A_Err e = ParentMatchNameIs(walk, child.get(), group_match_name, in_group);
            if (e != A_Err_NONE) return e;
        }
        return in_group ? write(walk, child.get()) : A_Err_NONE;
    };
    return WalkMatching(walk, group);
}

// Runs `write` on the root stream of every connection layer, in list order, while no error has
// occurred. The roots are disposed after each layer's work.
A_Err ForEachConnectionLayerRoot(PF_InData* in_data, const ConnectionLayerWrite& write) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    RunOnConnectionLayers(in_data, suites, err, write);
    return err.get();
}

}  // namespace

// ---- expression texts --------------------------------------------------------------------------

A_Err FormatMiterLimitExpression(PF_InData* in_data, const std::string& effect_layer_name,
                                 std::string& out) {
    return FormatExpression(in_data, out, kMiterLimitTemplate, LiteralText(effect_layer_name),
                            LiteralText(kEffectMatchName));
}

A_Err FormatDashExpression(PF_InData* in_data, const A_char* dash_match_name,
                           const std::string& effect_layer_name, std::string& out) {
    const DashTemplate* row = FindDashTemplate(dash_match_name);
    if (row == nullptr) return A_Err_PARAMETER;
    const LiteralText effect(kEffectMatchName);
    return FormatExpression(in_data, out, row->format, LiteralText(effect_layer_name), effect,
                            effect, kDashOffsetParamId);
}

A_Err FormatHighlightExpression(PF_InData* in_data, const std::string& effect_layer_name,
                                A_long enable_id, A_long type_id, A_long value_id,
                                std::string& out) {
    return FormatExpression(in_data, out, kHighlightTemplate, LiteralText(kEffectMatchName),
                            LiteralText(effect_layer_name), enable_id, type_id, value_id);
}

// ---- the matching walk -------------------------------------------------------------------------

A_Err WalkMatching(const MatchingWalk& walk, AEGP_StreamRefH group) {
    RunningError err;
    if (walk.enter) {
        bool enter = false;
        err.Then([&] { return walk.enter(group, enter); });
        if (!err.ok() || !enter) return err.get();
    }

    A_long num_children = 0;
    err.Then([&] {
        return walk.suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(group, &num_children);
    });
    for (A_long k = 0; k < num_children && err.ok(); ++k) {
        ScopedStream child(walk.suites);
        bool matched = false;
        err.Then([&] {
               return walk.suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(
                   walk.plugin_id, group, k, child.put());
           })
            .Then([&] { return walk.test(child.get(), matched); });

        if (matched) {
            // A match is acted on and not searched further.
            err.Then([&] { return walk.act(child); });
        } else {
            AEGP_StreamGroupingType grouping = AEGP_StreamGroupingType_LEAF;
            err.Then([&] {
                return walk.suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(child.get(),
                                                                                     &grouping);
            });
            if (grouping == AEGP_StreamGroupingType_NAMED_GROUP ||
                grouping == AEGP_StreamGroupingType_INDEXED_GROUP) {
                err.Then([&] { return WalkMatching(walk, child.get()); });
            }
        }
        err.Release(child.Dispose());
    }
    return err.get();
}

std::function<A_Err(AEGP_StreamRefH, bool&)> MatchNameTest(AEGP_SuiteHandler& suites,
                                                           const A_char* match_name) {
    return [&suites, match_name](AEGP_StreamRefH child, bool& matched) {
        A_char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
        const A_Err e = suites.DynamicStreamSuite4()->AEGP_GetMatchName(child, name);
        matched = e == A_Err_NONE && SameName(name, match_name);
        return e;
    };
}

A_Err ParentMatchNameIs(const MatchingWalk& walk, AEGP_StreamRefH stream,
                        const A_char* group_match_name, bool& same) {
    RunningError err;
    ScopedStream parent(walk.suites);
    A_char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
    err.Then([&] {
           return walk.suites.DynamicStreamSuite4()->AEGP_GetNewParentStreamRef(
               walk.plugin_id, stream, parent.put());
       })
        .Then([&] {
            return walk.suites.DynamicStreamSuite4()->AEGP_GetMatchName(parent.get(), name);
        });
    err.Release(parent.Dispose());
    same = err.ok() && SameName(name, group_match_name);
    return err.get();
}

void RunOnConnectionLayers(PF_InData* in_data, AEGP_SuiteHandler& suites, RunningError& err,
                           const ConnectionLayerWrite& write) {
    AEGP_PluginID plugin_id = 0;
    LayerIDList layer_ids;
    AEGP_LayerIDVal effect_layer_id = 0;
    AEGP_LayerH effect_layer = nullptr;
    AEGP_CompH comp = nullptr;
    err.Then([&] { return GetPluginID(in_data, &plugin_id); })
        .Then([&] { return GetConcernedLayersIDs(in_data, layer_ids, effect_layer_id); })
        .Then([&] {
            return suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref,
                                                                   &effect_layer);
        })
        .Then([&] { return suites.LayerSuite7()->AEGP_GetLayerParentComp(effect_layer, &comp); });

    for (const AEGP_LayerIDVal layer_id : layer_ids) {
        if (!err.ok()) break;
        AEGP_LayerH layer = nullptr;
        ScopedStream root(suites);
        err.Then([&] {
               return suites.LayerSuite7()->AEGP_GetLayerFromLayerID(comp, layer_id, &layer);
           })
            .Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(plugin_id, layer,
                                                                                  root.put());
            })
            .Then([&] { return write(root.get(), layer_id, effect_layer_id); });
        err.Release(root.Dispose());
    }
}

// ---- writers -----------------------------------------------------------------------------------

A_Err SetPropValue(PF_InData* in_data, AEGP_StreamRefH group, const A_char* match_name,
                   A_long value, A_Boolean within_group, const A_char* group_match_name) {
    return WriteMatches(
        in_data, group, match_name, within_group, group_match_name,
        [&](MatchingWalk& walk, AEGP_StreamRefH property) {
            AEGP_StreamSuite4* streams = walk.suites.StreamSuite4();
            RunningError err;
            ScopedStreamValue current(walk.suites);
            err.Then([&] {
                   return streams->AEGP_GetNewStreamValue(walk.plugin_id, property,
                                                          AEGP_LTimeMode_CompTime, &kCompTimeZero,
                                                          TRUE, current.put());
               })
                .Then([&] {
                    current.get().val.one_d = static_cast<AEGP_OneDVal>(value);
                    return streams->AEGP_SetStreamValue(walk.plugin_id, property, &current.get());
                });
            // The value read is given back whether or not the write succeeded.
            err.Release(current.Dispose());
            return err.get();
        });
}

A_Err ExecuteSetPropValue(PF_InData* in_data, const A_char* match_name, A_long value,
                          A_Boolean within_group, const A_char* group_match_name) {
    return ForEachConnectionLayerRoot(
        in_data, [&](AEGP_StreamRefH root, AEGP_LayerIDVal, AEGP_LayerIDVal) {
            return SetPropValue(in_data, root, match_name, value, within_group, group_match_name);
        });
}

A_Err SetPropExpression(PF_InData* in_data, AEGP_StreamRefH group, const A_char* match_name,
                        const A_char* expression, A_Boolean within_group,
                        const A_char* group_match_name, A_Boolean enable) {
    return WriteMatches(
        in_data, group, match_name, within_group, group_match_name,
        [&](MatchingWalk& walk, AEGP_StreamRefH property) {
            AEGP_StreamSuite4* streams = walk.suites.StreamSuite4();
            RunningError err;
            err.Then(
                [&] { return streams->AEGP_SetExpression(walk.plugin_id, property, expression); });
            if (enable) {
                err.Then([&] {
                    return streams->AEGP_SetExpressionState(walk.plugin_id, property, TRUE);
                });
            }
            return err.get();
        });
}

A_Err ExecuteSetPropExpression(PF_InData* in_data, const A_char* match_name,
                               const A_char* expression, A_Boolean within_group,
                               const A_char* group_match_name) {
    return ForEachConnectionLayerRoot(
        in_data, [&](AEGP_StreamRefH root, AEGP_LayerIDVal, AEGP_LayerIDVal) {
            return SetPropExpression(in_data, root, match_name, expression, within_group,
                                     group_match_name, TRUE);
        });
}

A_Err SetMiterLimitExpression(PF_InData* in_data, AEGP_StreamRefH group,
                              AEGP_LayerIDVal /*layer_id*/, AEGP_LayerIDVal effect_layer_id) {
    return WriteMatches(
        in_data, group, kMiterLimitMatchName, FALSE, nullptr,
        [&](MatchingWalk& walk, AEGP_StreamRefH property) {
            std::string name;
            std::string text;
            RunningError err;
            err.Then([&] {
                   return GetEffectLayerName(in_data, walk.suites, walk.plugin_id, effect_layer_id,
                                             name);
               })
                .Then([&] { return FormatMiterLimitExpression(in_data, name, text); })
                // The expression state is left as it is.
                .Then([&] {
                    return walk.suites.StreamSuite4()->AEGP_SetExpression(walk.plugin_id, property,
                                                                          text.c_str());
                });
            return err.get();
        });
}

A_Err SetupDashes(PF_InData* in_data, AEGP_StreamRefH group, AEGP_LayerIDVal /*layer_id*/,
                  AEGP_LayerIDVal effect_layer_id) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    AEGP_PluginID plugin_id = 0;
    if (const A_Err e = GetPluginID(in_data, &plugin_id)) return e;
    MatchingWalk walk(suites, plugin_id);
    // The test keeps which dash property it matched, for the act that follows it.
    const DashTemplate* matched_row = nullptr;
    walk.test = [&](AEGP_StreamRefH child, bool& matched) {
        A_char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
        const A_Err e = suites.DynamicStreamSuite4()->AEGP_GetMatchName(child, name);
        matched_row = e == A_Err_NONE ? FindDashTemplate(name) : nullptr;
        matched = matched_row != nullptr;
        return e;
    };
    walk.act = [&](ScopedStream& child) {
        std::string name;
        std::string text;
        RunningError err;
        err.Then([&] {
               return suites.DynamicStreamSuite4()->AEGP_SetDynamicStreamFlag(
                   child.get(), AEGP_DynStreamFlag_HIDDEN, FALSE, FALSE);
           })
            .Then([&] {
                return GetEffectLayerName(in_data, suites, plugin_id, effect_layer_id, name);
            })
            .Then(
                [&] { return FormatDashExpression(in_data, matched_row->match_name, name, text); })
            .Then([&] {
                return suites.StreamSuite4()->AEGP_SetExpression(walk.plugin_id, child.get(),
                                                                 text.c_str());
            });
        return err.get();
    };
    return WalkMatching(walk, group);
}

A_Err RemoveDashes(PF_InData* in_data, AEGP_StreamRefH group, AEGP_LayerIDVal /*layer_id*/,
                   AEGP_LayerIDVal /*effect_layer_id*/) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    AEGP_PluginID plugin_id = 0;
    if (const A_Err e = GetPluginID(in_data, &plugin_id)) return e;
    MatchingWalk walk(suites, plugin_id);
    walk.test = [&](AEGP_StreamRefH child, bool& matched) {
        A_char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
        const A_Err e = suites.DynamicStreamSuite4()->AEGP_GetMatchName(child, name);
        matched = e == A_Err_NONE && FindDashTemplate(name) != nullptr;
        return e;
    };
    walk.act = [&](ScopedStream& child) {
        RunningError err;
        // An empty text removes the expression.
        err.Then([&] {
               return suites.StreamSuite4()->AEGP_SetExpression(walk.plugin_id, child.get(), "");
           })
            .Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_SetDynamicStreamFlag(
                    child.get(), AEGP_DynStreamFlag_HIDDEN, FALSE, TRUE);
            });
        return err.get();
    };
    return WalkMatching(walk, group);
}

A_Err SetStreamVisibility(PF_InData* in_data, AEGP_StreamRefH group, const A_char* name,
                          A_Boolean by_display_name, A_Boolean visible) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    AEGP_PluginID plugin_id = 0;
    if (const A_Err e = GetPluginID(in_data, &plugin_id)) return e;
    MatchingWalk walk(suites, plugin_id);
    if (by_display_name) {
        walk.test = [&](AEGP_StreamRefH child, bool& matched) {
            A_char display_name[AEGP_MAX_STREAM_NAME_SIZE + 1] = {};
            // In the user's language, as the groups are named in the timeline.
            const A_Err e = suites.StreamSuite2()->AEGP_GetStreamName(child, FALSE, display_name);
            matched = e == A_Err_NONE && SameName(display_name, name);
            return e;
        };
    } else {
        walk.test = MatchNameTest(suites, name);
    }
    walk.act = [&](ScopedStream& child) {
        return suites.DynamicStreamSuite4()->AEGP_SetDynamicStreamFlag(
            child.get(), AEGP_DynStreamFlag_ACTIVE_EYEBALL, TRUE, visible ? TRUE : FALSE);
    };
    return WalkMatching(walk, group);
}
