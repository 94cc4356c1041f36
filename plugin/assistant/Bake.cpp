#include "assistant/Bake.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "assistant/Frames.h"
#include "shell/GlobalSetup.h"
#include "shell/RunningError.h"
#include "shell/Scoped.h"
#include "shell/SuiteHandler.h"
#include "shell/SuiteHelper.h"
#include "style/ConnectedLayers.h"
#include "style/Writers.h"

namespace {

constexpr char kShapePathMatchName[] = "ADBE Vector Shape";
constexpr char kPositionMatchName[] = "ADBE Position";
constexpr char kOrientationMatchName[] = "ADBE Orientation";

// The Info panel while a property is baked: "Evaluating...", then "Layer" with the layer's
// label ("#3"), then "Frame" with the progress ("7 of 25").
constexpr char kEvaluatingText[] = "Evaluating...";
constexpr char kLayerText[] = "Layer";
constexpr char kFrameText[] = "Frame";
constexpr char kLabelFormat[] = "#%d";
constexpr char kProgressFormat[] = "%d of %d";
// "#" and a layer number; "k of n" with two frame counts.
constexpr std::size_t kLabelSize = 16;
constexpr std::size_t kProgressSize = 32;

bool SameName(const A_char* a, const A_char* b) {
    return std::strcmp(a, b) == 0;
}

// Position and orientation go with the paths on connection layers (they follow the
// connection's ends) and with the styles on the effect's own layer.
bool BelongsToPathBake(const A_char* match_name, bool connection) {
    return SameName(match_name, kShapePathMatchName) ||
           (connection && (SameName(match_name, kPositionMatchName) ||
                           SameName(match_name, kOrientationMatchName)));
}

bool IsGroup(AEGP_StreamGroupingType grouping) {
    return grouping == AEGP_StreamGroupingType_NAMED_GROUP ||
           grouping == AEGP_StreamGroupingType_INDEXED_GROUP;
}

// What the bake of one layer shares down its walk.
struct LayerBake {
    PF_InData* in_data;
    AEGP_SuiteHandler& suites;
    AEGP_PluginID plugin_id;
    A_long start_frame;
    A_long end_frame;
    A_Time frame_duration;
    const A_char* label;
    bool connection;
};

// Whether the walk may go into `group`: only when its eyeball is on.
A_Err SwitchedOn(AEGP_SuiteHandler& suites, AEGP_StreamRefH group, bool& on) {
    AEGP_DynStreamFlags flags = 0;
    const A_Err err = suites.DynamicStreamSuite4()->AEGP_GetDynamicStreamFlags(group, &flags);
    on = err == A_Err_NONE && (flags & AEGP_DynStreamFlag_ACTIVE_EYEBALL) != 0;
    return err;
}

A_Err BakeStream(const LayerBake& bake, AEGP_StreamRefH stream) {
    AEGP_SuiteHandler& suites = bake.suites;
    RunningError err;
    ScopedKeyframeBatch batch(suites);
    err.Then([&] { return batch.Start(stream); });

    const std::int64_t frames =
        static_cast<std::int64_t>(bake.end_frame) - static_cast<std::int64_t>(bake.start_frame);
    // The progress text counts frames as the host's integers do.
    if (frames > std::numeric_limits<A_long>::max()) err.Then([] { return kFrameOutOfRange; });
    const int total = frames > 0 && err.ok() ? static_cast<int>(frames) : 0;
    for (int k = 1; k <= total; ++k) {
        const A_long frame = bake.start_frame + (k - 1);
        A_Time time{0, 1};
        A_long index = 0;
        ScopedStreamValue value(suites);
        err.Then([&] { return KeyTimeOfFrame(frame, bake.frame_duration, &time); })
            .Then([&] {
                return suites.KeyframeSuite4()->AEGP_AddKeyframes(
                    batch.get(), AEGP_LTimeMode_CompTime, &time, &index);
            })
            .Then([&] {
                return suites.StreamSuite4()->AEGP_GetNewStreamValue(
                    bake.plugin_id, stream, AEGP_LTimeMode_CompTime, &time, FALSE, value.put());
            })
            .Then([&] {
                return suites.KeyframeSuite4()->AEGP_SetAddKeyframe(batch.get(), index,
                                                                    &value.get());
            });
        err.Release(value.Dispose());
        A_char progress[kProgressSize] = {};
        err.Then([&] {
            return FormatText(bake.in_data, progress, sizeof progress, kProgressFormat, k, total);
        });
        if (!err.ok()) break;
        err.Then([&] {
            return suites.AdvAppSuite2()->PF_InfoDrawText3Plus(kEvaluatingText, kLayerText,
                                                               bake.label, kFrameText, progress);
        });
        if (!err.ok()) break;
    }

    // Committed whole, and only then is the expression switched off (its text stays). A
    // batch a failure left is dropped: nothing of it reaches the property.
    err.Then([&] { return batch.Commit(); }).Then([&] {
        return suites.StreamSuite4()->AEGP_SetExpressionState(bake.plugin_id, stream, FALSE);
    });
    err.Release(batch.Discard());
    return err.get();
}

A_Err WalkPaths(const LayerBake& bake, AEGP_StreamRefH group) {
    AEGP_SuiteHandler& suites = bake.suites;
    RunningError err;
    bool on = false;
    err.Then([&] { return SwitchedOn(suites, group, on); });
    if (!err.ok() || !on) return err.get();

    A_long count = 0;
    err.Then(
        [&] { return suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(group, &count); });
    for (A_long i = 0; i < count && err.ok(); ++i) {
        ScopedStream child(suites);
        A_char match_name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
        err.Then([&] {
               return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(
                   bake.plugin_id, group, i, child.put());
           })
            .Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetMatchName(child.get(), match_name);
            });
        if (err.ok() && BelongsToPathBake(match_name, bake.connection)) {
            err.Then([&] { return BakeStream(bake, child.get()); });
        } else {
            AEGP_StreamGroupingType grouping = AEGP_StreamGroupingType_LEAF;
            err.Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(child.get(),
                                                                                &grouping);
            });
            if (err.ok() && IsGroup(grouping))
                err.Then([&] { return WalkPaths(bake, child.get()); });
        }
        err.Release(child.Dispose());
    }
    return err.get();
}

A_Err WalkStyles(const LayerBake& bake, AEGP_StreamRefH group) {
    AEGP_SuiteHandler& suites = bake.suites;
    RunningError err;
    bool on = false;
    err.Then([&] { return SwitchedOn(suites, group, on); });
    if (!err.ok() || !on) return err.get();

    A_long count = 0;
    err.Then(
        [&] { return suites.DynamicStreamSuite4()->AEGP_GetNumStreamsInGroup(group, &count); });
    for (A_long i = 0; i < count && err.ok(); ++i) {
        ScopedStream child(suites);
        AEGP_StreamGroupingType grouping = AEGP_StreamGroupingType_LEAF;
        err.Then([&] {
               return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefByIndex(
                   bake.plugin_id, group, i, child.put());
           })
            .Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetStreamGroupingType(child.get(),
                                                                                &grouping);
            });
        if (err.ok() && IsGroup(grouping)) {
            err.Then([&] { return WalkStyles(bake, child.get()); });
        } else if (err.ok()) {
            A_char match_name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
            A_Boolean can_vary = FALSE;
            A_Boolean varying = FALSE;
            A_Boolean expression_on = FALSE;
            err.Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetMatchName(child.get(), match_name);
            });
            if (err.ok() && !BelongsToPathBake(match_name, bake.connection)) {
                err.Then([&] {
                    return suites.StreamSuite2()->AEGP_CanVaryOverTime(child.get(), &can_vary);
                });
                if (err.ok() && can_vary) {
                    err.Then([&] {
                           return suites.StreamSuite2()->AEGP_IsStreamTimevarying(child.get(),
                                                                                  &varying);
                       })
                        .Then([&] {
                            return suites.StreamSuite2()->AEGP_GetExpressionState(
                                bake.plugin_id, child.get(), &expression_on);
                        });
                }
                if (err.ok() && varying && expression_on) {
                    err.Then([&] { return BakeStream(bake, child.get()); });
                }
            }
        }
        err.Release(child.Dispose());
    }
    return err.get();
}

// The bake of one property group with the given walk, with a suite cache of its own.
template <A_Err (*Walk)(const LayerBake&, AEGP_StreamRefH)>
A_Err BakeGroup(PF_InData* in_data, AEGP_StreamRefH group, A_long start_frame, A_long end_frame,
                const A_Time& frame_duration, const A_char* layer_label, bool connection) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    AEGP_PluginID plugin_id = 0;
    err.Then([&] { return GetPluginID(in_data, &plugin_id); });
    const LayerBake bake{in_data,   suites,         plugin_id,   start_frame,
                         end_frame, frame_duration, layer_label, connection};
    err.Then([&] { return Walk(bake, group); });
    return err.get();
}

}  // namespace

A_Err GetStartEndFrames(PF_InData* in_data, AEGP_LayerH layer, const A_Time& frame_duration,
                        A_long work_area_start, A_long work_area_end, A_long* start_frame,
                        A_long* end_frame) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    A_Time in_point{0, 1};
    A_Time duration{0, 1};
    err.Then([&] {
           return suites.LayerSuite7()->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime,
                                                             &in_point);
       })
        .Then([&] {
            return suites.LayerSuite7()->AEGP_GetLayerDuration(layer, AEGP_LTimeMode_CompTime,
                                                               &duration);
        });
    A_long layer_start = 0;
    A_long layer_end = 0;
    err.Release(FrameOfTime(in_point, frame_duration, &layer_start));
    err.Release(EndFrame(layer_start, duration, frame_duration, &layer_end));
    *start_frame = layer_start > work_area_start ? layer_start : work_area_start;
    *end_frame = layer_end < work_area_end ? layer_end : work_area_end;
    return err.get();
}

A_Err ConvertPathStreams(PF_InData* in_data, AEGP_StreamRefH group, A_long start_frame,
                         A_long end_frame, const A_Time& frame_duration, const A_char* layer_label,
                         A_Boolean connection) {
    return BakeGroup<WalkPaths>(in_data, group, start_frame, end_frame, frame_duration, layer_label,
                                connection != FALSE);
}

A_Err ConvertArbitraryStreams(PF_InData* in_data, AEGP_StreamRefH group, A_long start_frame,
                              A_long end_frame, const A_Time& frame_duration,
                              const A_char* layer_label, A_Boolean connection) {
    return BakeGroup<WalkStyles>(in_data, group, start_frame, end_frame, frame_duration,
                                 layer_label, connection != FALSE);
}

A_Err ConvertStreamExpression(PF_InData* in_data, AEGP_StreamRefH stream, A_long start_frame,
                              A_long end_frame, const A_Time& frame_duration,
                              const A_char* layer_label) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    AEGP_PluginID plugin_id = 0;
    err.Then([&] { return GetPluginID(in_data, &plugin_id); });
    const LayerBake bake{in_data,   suites,         plugin_id,   start_frame,
                         end_frame, frame_duration, layer_label, false};
    err.Then([&] { return BakeStream(bake, stream); });
    return err.get();
}

A_Err ExecuteConvertExpressions(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                                const A_char* command_title, const A_char* target_kind,
                                A_long /*work_area*/, PF_ParamIndex param_index) {
    RunningError err;
    {
        AEGP_SuiteHandler suites(in_data->pica_basicP);
        AEGP_PluginID plugin_id = 0;
        err.Then([&] { return GetPluginID(in_data, &plugin_id); });

        // 1. One undo group for the whole press, ended on every way out.
        ScopedUndoGroup undo(suites);
        err.Then([&] { return undo.Start(command_title); });

        // 2. The effect layer, its composition, and the composition's time.
        AEGP_LayerH effect_layer = nullptr;
        A_long effect_index = 0;
        AEGP_LayerIDVal effect_layer_id = 0;
        AEGP_ObjectType object_type = AEGP_ObjectType_NONE;
        AEGP_CompH comp = nullptr;
        A_Time frame_duration{0, 1};
        A_Time work_area_start{0, 1};
        A_Time work_area_duration{0, 1};
        err.Then([&] {
               return suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref,
                                                                      &effect_layer);
           })
            .Then([&] {
                return suites.LayerSuite7()->AEGP_GetLayerIndex(effect_layer, &effect_index);
            })
            .Then([&] {
                return suites.LayerSuite7()->AEGP_GetLayerID(effect_layer, &effect_layer_id);
            })
            .Then([&] {
                return suites.LayerSuite7()->AEGP_GetLayerObjectType(effect_layer, &object_type);
            })
            .Then(
                [&] { return suites.LayerSuite7()->AEGP_GetLayerParentComp(effect_layer, &comp); })
            .Then([&] {
                return suites.CompSuite7()->AEGP_GetCompFrameDuration(comp, &frame_duration);
            })
            .Then([&] {
                return suites.CompSuite7()->AEGP_GetCompWorkAreaStart(comp, &work_area_start);
            })
            .Then([&] {
                return suites.CompSuite7()->AEGP_GetCompWorkAreaDuration(comp, &work_area_duration);
            });

        // 3. The work area in frames, exactly.
        A_long work_area_start_frame = 0;
        A_long work_area_end_frame = 0;
        err.Then(
               [&] { return FrameOfTime(work_area_start, frame_duration, &work_area_start_frame); })
            .Then([&] {
                return EndFrame(work_area_start_frame, work_area_duration, frame_duration,
                                &work_area_end_frame);
            });

        // 6. One layer: its root group over the part of the work area it spans.
        const bool path_bake = std::strcmp(target_kind, kPathTarget) == 0;
        auto bake_layer = [&](AEGP_LayerH layer, A_long number, A_Boolean connection) {
            ScopedStream root(suites);
            A_long start_frame = 0;
            A_long end_frame = 0;
            A_char label[kLabelSize] = {};
            err.Then([&] {
                   return suites.DynamicStreamSuite4()->AEGP_GetNewStreamRefForLayer(
                       plugin_id, layer, root.put());
               })
                .Then([&] {
                    return GetStartEndFrames(in_data, layer, frame_duration, work_area_start_frame,
                                             work_area_end_frame, &start_frame, &end_frame);
                })
                .Then([&] {
                    return FormatText(in_data, label, sizeof label, kLabelFormat,
                                      static_cast<int>(number));
                })
                .Then([&] {
                    return path_bake
                               ? ConvertPathStreams(in_data, root.get(), start_frame, end_frame,
                                                    frame_duration, label, connection)
                               : ConvertArbitraryStreams(in_data, root.get(), start_frame,
                                                         end_frame, frame_duration, label,
                                                         connection);
                });
            err.Release(root.Dispose());
        };

        if (err.ok() && object_type == AEGP_ObjectType_VECTOR) {
            // 4. On a shape layer the effect bakes that layer alone.
            bake_layer(effect_layer, effect_index + 1, FALSE);
        } else if (err.ok()) {
            // 5. Else every other layer whose controller is the effect layer, top first.
            A_long count = 0;
            err.Then([&] { return suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &count); });
            for (A_long i = 0; i < count && err.ok(); ++i) {
                AEGP_LayerH layer = nullptr;
                AEGP_LayerIDVal layer_id = 0;
                AEGP_LayerIDVal controller = kNoController;
                err.Then([&] {
                       return suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, i, &layer);
                   })
                    .Then([&] { return suites.LayerSuite7()->AEGP_GetLayerID(layer, &layer_id); });
                if (!err.ok() || layer_id == effect_layer_id) continue;
                err.Then([&] { return GetControllerLstVal(in_data, layer_id, controller); });
                if (err.ok() && controller == effect_layer_id) bake_layer(layer, i + 1, TRUE);
            }
        }

        // 7. The group is ended whatever happened; its answer counts only after a success.
        err.Release(undo.End());
    }

    // 8. The pressed button's interface is brought up to date after a success.
    AEFX_SuiteScoper<PF_ParamUtilsSuite1> param_utils(in_data, kPFParamUtilsSuite,
                                                      kPFParamUtilsSuiteVersion1, out_data);
    if (err.ok()) {
        // The host takes the interface change from a copy of the definition.
        PF_ParamDef copy = *params[param_index];
        err.Call(param_utils->PF_UpdateParamUI, in_data->effect_ref, param_index, &copy);
    }
    return err.get();
}
