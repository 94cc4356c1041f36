#include "style/ConnectedLayers.h"

#include <cstring>

#include "shell/GlobalSetup.h"
#include "shell/RunningError.h"
#include "shell/Scoped.h"
#include "shell/SuiteHandler.h"
#include "style/Writers.h"

namespace {

// Controllers are read where the composition starts, before expressions, so that an animated
// or expression-driven Layer Control cannot move a line to another controller mid-way.
constexpr A_Time kCompTimeZero = {0, 1};

bool SameName(const A_char* a, const A_char* b) {
    return std::strcmp(a, b) == 0;
}

// Reads the layer parameter of one Layer Control effect: the first of its parameter streams
// (from index 1; index 0 is the input layer) whose match name is the layer parameter's. Every
// stream is disposed once looked at. True when the parameter was found and read.
bool ReadLayerControl(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                      RunningError& err, AEGP_LayerIDVal& controller) {
    A_long num_streams = 0;
    err.Then(
        [&] { return suites.StreamSuite2()->AEGP_GetEffectNumParamStreams(effect, &num_streams); });
    for (PF_ParamIndex j = 1; j < num_streams && err.ok(); ++j) {
        ScopedStream stream(suites);
        A_char match_name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
        err.Then([&] {
               return suites.StreamSuite4()->AEGP_GetNewEffectStreamByIndex(plugin_id, effect, j,
                                                                            stream.put());
           })
            .Then([&] {
                return suites.DynamicStreamSuite4()->AEGP_GetMatchName(stream.get(), match_name);
            });
        const bool is_layer_param = err.ok() && SameName(match_name, kLayerControlLayerMatchName);
        if (is_layer_param) {
            ScopedStreamValue value(suites);
            err.Then([&] {
                return suites.StreamSuite4()->AEGP_GetNewStreamValue(
                    plugin_id, stream.get(), AEGP_LTimeMode_CompTime, &kCompTimeZero, TRUE,
                    value.put());
            });
            if (err.ok()) controller = value.get().val.layer_id;
            err.Release(value.Dispose());
        }
        err.Release(stream.Dispose());
        if (is_layer_param) return true;
    }
    return false;
}

}  // namespace

A_Err GetConcernedLayersIDs(PF_InData* in_data, LayerIDList& layer_ids,
                            AEGP_LayerIDVal& effect_layer_id) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;

    AEGP_LayerH effect_layer = nullptr;
    AEGP_ObjectType object_type = AEGP_ObjectType_NONE;
    err.Then([&] {
           return suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref,
                                                                  &effect_layer);
       })
        .Then([&] {
            return suites.LayerSuite7()->AEGP_GetLayerObjectType(effect_layer, &object_type);
        });

    // On a shape layer the effect styles that layer and nothing else.
    if (err.ok() && object_type == AEGP_ObjectType_VECTOR) {
        err.Then(
            [&] { return suites.LayerSuite7()->AEGP_GetLayerID(effect_layer, &effect_layer_id); });
        if (err.ok()) layer_ids.push_back(effect_layer_id);
        return err.get();
    }

    AEGP_CompH comp = nullptr;
    A_long num_layers = 0;
    err.Then([&] { return suites.LayerSuite7()->AEGP_GetLayerParentComp(effect_layer, &comp); })
        .Then([&] { return suites.LayerSuite7()->AEGP_GetCompNumLayers(comp, &num_layers); })
        .Then(
            [&] { return suites.LayerSuite7()->AEGP_GetLayerID(effect_layer, &effect_layer_id); });

    // Stacking order, top layer first. Any layer whose controller is the effect layer counts,
    // whatever its kind; the effect layer itself never does.
    for (A_long i = 0; i < num_layers; ++i) {
        AEGP_LayerH layer = nullptr;
        AEGP_LayerIDVal id = 0;
        AEGP_LayerIDVal controller = kNoController;
        err.Then([&] { return suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, i, &layer); })
            .Then([&] { return suites.LayerSuite7()->AEGP_GetLayerID(layer, &id); });
        if (!err.ok() || id == effect_layer_id) continue;
        err.Then([&] { return GetControllerLstVal(in_data, id, controller); });
        if (err.ok() && controller == effect_layer_id) layer_ids.push_back(id);
    }
    return err.get();
}

A_Err GetControllerLstVal(PF_InData* in_data, AEGP_LayerIDVal layer_id,
                          AEGP_LayerIDVal& controller) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    AEGP_PluginID plugin_id = 0;
    RunningError err;
    controller = kNoController;

    AEGP_LayerH effect_layer = nullptr;
    AEGP_CompH comp = nullptr;
    AEGP_LayerH layer = nullptr;
    A_long num_effects = 0;
    err.Then([&] { return GetPluginID(in_data, &plugin_id); })
        .Then([&] {
            return suites.PFInterfaceSuite1()->AEGP_GetEffectLayer(in_data->effect_ref,
                                                                   &effect_layer);
        })
        .Then([&] { return suites.LayerSuite7()->AEGP_GetLayerParentComp(effect_layer, &comp); })
        .Then(
            [&] { return suites.LayerSuite7()->AEGP_GetLayerFromLayerID(comp, layer_id, &layer); })
        .Then([&] { return suites.EffectSuite3()->AEGP_GetLayerNumEffects(layer, &num_effects); });

    // The first Layer Control (in the layer's effect order) that has the layer parameter
    // decides; a failure anywhere, a failed disposal included, ends the search.
    bool found = false;
    for (AEGP_EffectIndex k = 0; k < num_effects && err.ok() && !found; ++k) {
        ScopedEffect2 effect(suites);
        AEGP_InstalledEffectKey key = 0;
        A_char effect_match_name[AEGP_MAX_EFFECT_MATCH_NAME_SIZE + 1] = {};
        err.Then([&] {
               return suites.EffectSuite3()->AEGP_GetLayerEffectByIndex(plugin_id, layer, k,
                                                                        effect.put());
           })
            .Then([&] {
                return suites.EffectSuite3()->AEGP_GetInstalledKeyFromLayerEffect(effect.get(),
                                                                                  &key);
            })
            .Then([&] {
                return suites.EffectSuite3()->AEGP_GetEffectMatchName(key, effect_match_name);
            });
        if (err.ok() && SameName(effect_match_name, kLayerControlMatchName)) {
            found = ReadLayerControl(suites, plugin_id, effect.get(), err, controller);
        }
        err.Release(effect.Dispose());
    }
    // A controller read before a later step failed is not trusted either.
    if (!err.ok()) controller = kNoController;
    return err.get();
}

A_Err GetLayerStreamsByMatchName(PF_InData* in_data, AEGP_StreamRefH group,
                                 const A_char* match_name, StreamList& streams,
                                 A_Boolean within_group, const A_char* group_match_name) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    AEGP_PluginID plugin_id = 0;
    if (const A_Err e = GetPluginID(in_data, &plugin_id)) return e;

    MatchingWalk walk{suites, plugin_id};
    // A group switched off in the timeline is not looked into, whatever it holds.
    walk.enter = [&](AEGP_StreamRefH g, bool& enter) {
        AEGP_DynStreamFlags flags = 0;
        const A_Err e = suites.DynamicStreamSuite4()->AEGP_GetDynamicStreamFlags(g, &flags);
        enter = e == A_Err_NONE && (flags & AEGP_DynStreamFlag_ACTIVE_EYEBALL) != 0;
        return e;
    };
    walk.test = MatchNameTest(suites, match_name);
    walk.act = [&](ScopedStream& child) {
        bool take = true;
        A_Err e = A_Err_NONE;
        if (within_group) e = ParentMatchNameIs(walk, child.get(), group_match_name, take);
        if (e == A_Err_NONE && take) streams.push_back(child.release());
        return e;
    };
    return WalkMatching(walk, group);
}

A_Err DisposeStreamList(PF_InData* in_data, StreamList& streams) {
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    RunningError err;
    for (AEGP_StreamRefH stream : streams) {
        err.Release(suites.StreamSuite4()->AEGP_DisposeStream(stream));
    }
    streams.clear();
    return err.get();
}
