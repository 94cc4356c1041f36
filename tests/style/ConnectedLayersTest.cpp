// Which layers the effect styles, and the stream search below a layer's root, run directly
// inside a command for the effect.
#include <string>
#include <vector>

#include "shell/GlobalSetup.h"
#include "shell/SuiteHandler.h"
#include "style/ConnectedLayers.h"
#include "style/StyleFixture.h"
#include "style/Writers.h"
#include "support/TestSupport.h"

namespace styletest {
namespace {

using tlhost::Keyframe;
using tlhost::StreamValue;

constexpr char kGradColors[] = "ADBE Vector Grad Colors";

class ConnectedLayers : public StyleTest {
  protected:
    // The connection layers as the plug-in finds them for an effect instance.
    LayerIDList Concerned(AEGP_LayerIDVal* effect_layer_id = nullptr,
                          tlhost::EffectInstance* on = nullptr) {
        LayerIDList ids;
        AEGP_LayerIDVal effect_id = -7;
        CommandReport report = Run(
            [&](PF_InData* in_data) { return GetConcernedLayersIDs(in_data, ids, effect_id); }, on);
        EXPECT_EQ(report.result, A_Err_NONE);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
        if (effect_layer_id) *effect_layer_id = effect_id;
        return ids;
    }

    // Searches every connection layer for gradient colours and names the parent of each stream
    // found, in the order found.
    std::vector<std::string> ParentsOfGradColors(A_Boolean within_group, const char* group) {
        std::vector<std::string> parents;
        CommandReport report = Run([&](PF_InData* in_data) -> PF_Err {
            AEGP_SuiteHandler suites(in_data->pica_basicP);
            AEGP_DynamicStreamSuite4* dyn = suites.DynamicStreamSuite4();
            RunningError err;
            RunOnConnectionLayers(
                in_data, suites, err, [&](AEGP_StreamRefH root, AEGP_LayerIDVal, AEGP_LayerIDVal) {
                    StreamList found;
                    const A_Err e = GetLayerStreamsByMatchName(in_data, root, kGradColors, found,
                                                               within_group, group);
                    AEGP_PluginID plugin_id = 0;
                    EXPECT_EQ(GetPluginID(in_data, &plugin_id), PF_Err_NONE);
                    for (AEGP_StreamRefH stream : found) {
                        ScopedStream parent(suites);
                        A_char name[AEGP_MAX_STREAM_MATCH_NAME_SIZE] = {};
                        dyn->AEGP_GetNewParentStreamRef(plugin_id, stream, parent.put());
                        dyn->AEGP_GetMatchName(parent.get(), name);
                        parents.push_back(name);
                    }
                    const A_Err d = DisposeStreamList(in_data, found);
                    return e != A_Err_NONE ? e : d;
                });
            return err.get();
        });
        EXPECT_EQ(report.result, A_Err_NONE);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
        return parents;
    }
};

TEST_F(ConnectedLayers, LayersPointingAtTheEffectLayerInStackingOrderNeverItself) {
    const AEGP_LayerIDVal controller = Controller().id();
    AddLayerControl(Controller(), controller);  // its own Layer Control points at itself
    Layer& other = P().AddLayer(Comp(), "Other", LayerKind::Null);
    Layer& a = AddLine("A", controller);
    AddLine("B", other.id());
    Layer& c = AddLine("C", controller, LayerKind::Null);  // any kind of layer counts
    AddLine("Points at nothing", 0);
    P().AddLayer(Comp(), "No control", LayerKind::Shape, 0, Comp().layers().size());
    Layer& top = P().AddLayer(Comp(), "Top", LayerKind::Shape);  // the host adds on top
    AddLayerControl(top, controller);

    AEGP_LayerIDVal effect_id = 0;
    EXPECT_EQ(Concerned(&effect_id), (LayerIDList{top.id(), a.id(), c.id()}));
    EXPECT_EQ(effect_id, controller);
}

TEST_F(ConnectedLayers, AnEffectLayerAloneInItsCompositionStylesNothing) {
    AEGP_LayerIDVal effect_id = 0;
    EXPECT_TRUE(Concerned(&effect_id).empty());
    EXPECT_EQ(effect_id, Controller().id());
}

TEST_F(ConnectedLayers, OnAShapeLayerTheEffectStylesThatLayerAlone) {
    Layer& shape = P().AddLayer(Comp(), "Shape", LayerKind::Shape);
    AddLine("Points at the shape", shape.id());
    tlhost::EffectInstance& on_shape = S().Apply(shape);

    AEGP_LayerIDVal effect_id = 0;
    EXPECT_EQ(Concerned(&effect_id, &on_shape), LayerIDList{shape.id()});
    EXPECT_EQ(effect_id, shape.id());
}

TEST_F(ConnectedLayers, TheFirstLayerControlWithTheLayerParameterDecides) {
    const AEGP_LayerIDVal controller = Controller().id();
    Layer& other = P().AddLayer(Comp(), "Other", LayerKind::Null);
    Layer& second_decides = AddLine("First lacks the parameter", std::nullopt);
    AddLayerControl(second_decides, controller);
    Layer& first_decides = AddLine("First points elsewhere", other.id());
    AddLayerControl(first_decides, controller);

    EXPECT_EQ(Concerned(), LayerIDList{second_decides.id()});
}

// No controller is an answer (-1, no error); a layer that cannot be read is an error, never
// taken for one without a controller.
TEST_F(ConnectedLayers, NoControllerIsMinusOneAndAHostErrorIsPassedUp) {
    Layer& bare = P().AddLayer(Comp(), "No Layer Control", LayerKind::Shape);
    Layer& without_param = AddLine("Layer Control without its parameter", std::nullopt);
    Layer& line = AddLine("Line", Controller().id());
    auto controller_of = [&](const Layer& layer, A_Err* err) {
        AEGP_LayerIDVal controller = 12345;
        CommandReport report = Run([&](PF_InData* in_data) {
            *err = GetControllerLstVal(in_data, layer.id(), controller);
            return *err;
        });
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
        return controller;
    };
    A_Err err = -1;
    EXPECT_EQ(controller_of(bare, &err), kNoController);
    EXPECT_EQ(err, A_Err_NONE);
    EXPECT_EQ(controller_of(without_param, &err), kNoController);
    EXPECT_EQ(err, A_Err_NONE);
    EXPECT_EQ(controller_of(line, &err), Controller().id());
    EXPECT_EQ(err, A_Err_NONE);
    for (const char* function : {"AEGP_GetLayerEffectByIndex", "AEGP_GetNewStreamValue",
                                 "AEGP_GetEffectNumParamStreams", "AEGP_GetLayerFromLayerID"}) {
        FailNext(function, 1, A_Err_CONST_PROJECT_MODIFICATION);
        EXPECT_EQ(controller_of(line, &err), kNoController) << function;
        EXPECT_EQ(err, A_Err_CONST_PROJECT_MODIFICATION) << function;
        S().host().faults().Clear();
    }
}

// Without its identifier (the global block cannot be locked) the plug-in makes no host call
// that needs it, and the change fails with the lock's error instead of an unrelated one.
TEST_F(ConnectedLayers, APluginIdentifierThatCannotBeReadFailsTheChange) {
    StreamNode& stroke = AddPaint(Contents(AddLine("Line", Controller().id())), kStroke);
    FailNext("host_lock_handle", 1, A_Err_GENERIC);
    SetValue(10, 3);
    const CommandReport report = S().UserChangedParam(Effect(), 10);
    EXPECT_EQ(report.result, PF_Err_OUT_OF_MEMORY);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(Child(stroke, "ADBE Vector Stroke Line Join").value().v[0], 1);
}

TEST_F(ConnectedLayers, TheControllerIsReadAtTimeZeroBeforeExpressions) {
    const AEGP_LayerIDVal controller = Controller().id();
    Layer& other = P().AddLayer(Comp(), "Other", LayerKind::Null);
    Layer& leaves = AddLine("Starts at the controller", controller);
    Layer& arrives = AddLine("Arrives later", other.id());
    StreamNode& leaving = *leaves.effects()[0]->ParamStream(1);
    leaving.keyframes = {Keyframe{0, StreamValue::Layer(controller)},
                         Keyframe{2, StreamValue::Layer(other.id())}};
    leaving.expression = "thisComp.layer(\"Other\")";
    leaving.expression_enabled = true;
    StreamNode& arriving = *arrives.effects()[0]->ParamStream(1);
    arriving.keyframes = {Keyframe{0, StreamValue::Layer(other.id())},
                          Keyframe{2, StreamValue::Layer(controller)}};
    arriving.expression = "thisComp.layer(\"Controller\")";
    arriving.expression_enabled = true;

    EXPECT_EQ(Concerned(), LayerIDList{leaves.id()});
}

TEST_F(ConnectedLayers, StreamSearchSkipsSwitchedOffGroupsAndChecksTheParent) {
    Layer& line = AddLine("Line", Controller().id());
    AddPaint(Contents(line), kGradientStroke, "Stroke");
    AddPaint(Contents(line), kGradientFill, "Fill");
    StreamNode& off = AddPaint(Contents(line), kGradientStroke, "Switched off");
    off.parent()->parent()->eyeball = false;

    EXPECT_EQ(ParentsOfGradColors(TRUE, kGradientStroke),
              std::vector<std::string>{kGradientStroke});
    EXPECT_EQ(ParentsOfGradColors(TRUE, kGradientFill), std::vector<std::string>{kGradientFill});
    EXPECT_EQ(ParentsOfGradColors(FALSE, nullptr),
              (std::vector<std::string>{kGradientStroke, kGradientFill}));

    line.root().eyeball = false;
    EXPECT_TRUE(ParentsOfGradColors(FALSE, nullptr).empty());
}

}  // namespace
}  // namespace styletest
