#include "assistant/Relink.h"

#include <cstring>

#include "shell/GlobalSetup.h"
#include "shell/RunningError.h"
#include "shell/Scoped.h"
#include "shell/SuiteHandler.h"
#include "style/ConnectedLayers.h"

namespace {

constexpr char kOrientationMatchName[] = "ADBE Orientation";
// An orientation switched back on keeps the value it has where the composition starts.
constexpr A_Time kCompTimeZero = {0, 1};

bool IsGroup(AEGP_StreamGroupingType grouping) {
    return grouping == AEGP_StreamGroupingType_NAMED_GROUP ||
           grouping == AEGP_StreamGroupingType_INDEXED_GROUP;
}

// The orientation's keyframes go, and its value at time 0 (before expressions) becomes its
// value. The error is the first of reading and writing, else the disposal's.
A_Err KeepOrientationAtTimeZero(PF_InData* in_data, AEGP_SuiteHandler& suites,
                                AEGP_PluginID plugin_id, AEGP_StreamRefH stream) {
    RunningError err;
    err.Then([&] { return removeStreamKeys(in_data, stream); });
    ScopedStreamValue value(suites);
    err.Then([&] {
           return suites.StreamSuite4()->AEGP_GetNewStreamValue(
               plugin_id, stream, AEGP_LTimeMode_CompTime, &kCompTimeZero, TRUE, value.put());
       })
        .Then([&] {
            return suites.StreamSuite4()->AEGP_SetStreamValue(plugin_id, stream, &value.get());
        });
    err.Release(value.Dispose());
    return err.get();
}

A_Err EnableChildren(PF_InData* in_data, AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id,
                     AEGP_StreamRefH group) {
    RunningError err;
    A_long count = 0;
    err.Then(
        [&] { return suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(group, &count); });
    for (A_long i = 0; i < count && err.ok(); ++i) {
        ScopedStream child(suites);
        A_Boolean can_vary = FALSE;
        err.Then([&] {
               return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(plugin_id, group, i,
                                                                                child.put());
           })
            .Then([&] {
                return suites.StreamSuite4()->AEGP_CanVaryOverTime(child.get(), &can_vary);
            });
        if (err.ok() && can_vary) {
            A_Boolean enabled = FALSE;
            A_Boolean varying = FALSE;
            err.Then([&] {
                return suites.StreamSuite4()->AEGP_GetExpressionState(plugin_id, child.get(),
                                                                      &enabled);
            });
            if (err.ok() && !enabled) {
                err.Then([&] {
                    return suites.StreamSuite4()->AEGP_IsStreamTimevarying(child.get(), &varying);
                });
            }
            if (err.ok() && !enabled && varying) {
                A_char match_name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
                err.Then([&] {
                       return suites.StreamSuite4()->AEGP_SetExpressionState(plugin_id, child.get(),
                                                                             TRUE);
                   })
                    .Then([&] {
                        return suites.DynamicStreamSuite4()->AEGP_GetMatchName(child.get(),
                                                                               match_name);
                    });
                if (err.ok() && std::strcmp(match_name, kOrientationMatchName) == 0) {
                    err.Then([&] {
                        return KeepOrientationAtTimeZero(in_data, suites, plugin_id, child.get());
                    });
                }
            }
        } else if (err.ok()) {
            AEGP_StreamGroupingType grouping = AEGP_StreamGroupingType_LEAF;
            err.Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(child.get(),
                                                                                &grouping);
            });
            if (err.ok() && IsGroup(grouping)) {
                err.Then([&] { return EnableChildren(in_data, suites, plugin_id, child.get()); });
            }
        }
        err.Release(child.Dispose());
    }
    return err.get();
}

}  // namespace

A_Err EnableLayerExpressions(PF_InData* in_data, AEGP_StreamRefH group) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    AEGP_PluginID plugin_id = 0;
    err.Then([&] { return GetPluginID(in_data, &plugin_id); }).Then([&] {
        return EnableChildren(in_data, suites, plugin_id, group);
    });
    return err.get();
}

A_Err removeStreamKeys(PF_InData* in_data, AEGP_StreamRefH stream) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    A_long count = 0;
    err.Then([&] { return suites.KeyframeSuite4()->AEGP_GetStreamNumKFs(stream, &count); });
    ScopedKeyframeBatch batch(suites);
    err.Then([&] { return batch.Start(stream); });
    for (A_long i = count - 1; i >= 0 && err.ok(); --i) {
        err.Then([&] { return suites.KeyframeSuite4()->AEGP_DeleteKeyframe(stream, i); });
    }
    // The batch adds nothing; it is closed whatever happened, its answer counting only
    // after a success.
    err.Release(batch.Discard());
    return err.get();
}

A_Err ExecuteRelinkExpressions(PF_InData* in_data, PF_ParamDef* /*params*/[]) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    AEGP_PluginID plugin_id = 0;
    err.Then([&] { return GetPluginID(in_data, &plugin_id); });

    // 1. The effect layer and its kind, then the undo group, ended on every way out.
    AEGP_LayerH effect_layer = nullptr;
    AEGP_ObjectType object_type = AEGP_ObjectType_NONE;
    ScopedUndoGroup undo(suites);
    err.Then([&] {
           return suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref,
                                                                  &effect_layer);
       })
        .Then([&] {
            return suites.LayerSuite7()->AEGP_GetLayerObjectType(effect_layer, &object_type);
        })
        .Then([&] { return undo.Start(kRelinkTitle); });

    ScopedStream root(suites);
    if (err.ok() && object_type == AEGP_ObjectType_VECTOR) {
        // 2. On a shape layer the effect relinks that layer alone.
        err.Then([&] {
               return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(
                   plugin_id, effect_layer, root.put());
           })
            .Then([&] { return EnableLayerExpressions(in_data, root.get()); });
    } else if (err.ok()) {
        // 3. Else every other layer whose controller is the effect layer, in composition order.
        AEGP_CompH comp = nullptr;
        A_long count = 0;
        AEGP_LayerIDVal effect_layer_id = -1;
        err.Then([&] { return suites.LayerSuite7()->AEGP_GetLayerParentComp(effect_layer, &comp); })
            .Then([&] { return suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &count); })
            .Then([&] {
                return suites.LayerSuite7()->AEGP_GetLayerID(effect_layer, &effect_layer_id);
            });
        for (A_long i = 0; i < count && err.ok(); ++i) {
            AEGP_LayerH layer = nullptr;
            AEGP_LayerIDVal layer_id = -1;
            err.Then(
                   [&] { return suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, i, &layer); })
                .Then([&] { return suites.LayerSuite7()->AEGP_GetLayerID(layer, &layer_id); });
            if (!err.ok() || layer_id == effect_layer_id) continue;
            AEGP_LayerIDVal controller = kNoController;
            err.Then([&] { return GetControllerLstVal(in_data, layer_id, controller); });
            if (!err.ok() || controller != effect_layer_id) continue;
            err.Then(
                   [&] { return suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, i, &layer); })
                .Then([&] {
                    return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(
                        plugin_id, layer, root.put());
                })
                .Then([&] { return EnableLayerExpressions(in_data, root.get()); });
            err.Release(root.Dispose());
        }
    }

    // 4, 5. The group is ended and the root given back whatever happened; their answers
    // count only after a success.
    err.Release(undo.End());
    err.Release(root.Dispose());
    return err.get();
}
