// The stand-in host's side of the Assistant, called directly: keyframe batches and deletion,
// time-varying properties, values at a time, the composition's time, undo groups and the
// project file's keys.
#include <gtest/gtest.h>

#include "assistant/AssistantFixture.h"
#include "io/ProjectFile.h"
#include "support/FakePlugin.h"
#include "support/TestSupport.h"

namespace assistanttest {
namespace {

using tlhost::StreamValue;

constexpr AEGP_PluginID kPlugin = 1;

struct Suites {
    AEGP_PFInterfaceSuite1* pfi;
    AEGP_DynamicStreamSuite4* dyn;
    AEGP_StreamSuite4* streams;
    AEGP_KeyframeSuite4* keys;
    AEGP_UtilitySuite5* utility;
    AEGP_CompSuite7* comps;
    AEGP_LayerSuite7* layers;
};

// The suites a body uses, released when it ends.
class BodySuites {
  public:
    explicit BodySuites(PF_InData* in_data) : in_data_(in_data) {
        s = {tltest::AcquireSuite<AEGP_PFInterfaceSuite1>(in_data, kAEGPPFInterfaceSuite, 1),
             tltest::AcquireSuite<AEGP_DynamicStreamSuite4>(in_data, kAEGPDynamicStreamSuite, 5),
             tltest::AcquireSuite<AEGP_StreamSuite4>(in_data, kAEGPStreamSuite, 9),
             tltest::AcquireSuite<AEGP_KeyframeSuite4>(in_data, kAEGPKeyframeSuite, 4),
             tltest::AcquireSuite<AEGP_UtilitySuite5>(in_data, kAEGPUtilitySuite, 11),
             tltest::AcquireSuite<AEGP_CompSuite7>(in_data, kAEGPCompSuite, 15),
             tltest::AcquireSuite<AEGP_LayerSuite7>(in_data, kAEGPLayerSuite, 13)};
    }
    ~BodySuites() {
        const SPBasicSuite* pica = in_data_->pica_basicP;
        pica->ReleaseSuite(kAEGPPFInterfaceSuite, 1);
        pica->ReleaseSuite(kAEGPDynamicStreamSuite, 5);
        pica->ReleaseSuite(kAEGPStreamSuite, 9);
        pica->ReleaseSuite(kAEGPKeyframeSuite, 4);
        pica->ReleaseSuite(kAEGPUtilitySuite, 11);
        pica->ReleaseSuite(kAEGPCompSuite, 15);
        pica->ReleaseSuite(kAEGPLayerSuite, 13);
    }
    Suites s{};

  private:
    PF_InData* in_data_;
};

class HostKeys : public AssistantTest {
  protected:
    void SetUp() override {
        AssistantTest::SetUp();
        line_ = AddAnimatedLine("Line");
    }
    // A reference to the line's stroke width, for a body.
    AEGP_StreamRefH Width(const Suites& s) {
        AEGP_LayerH layer = nullptr;
        AEGP_CompH comp = nullptr;
        AEGP_StreamRefH root = nullptr, contents = nullptr, shape = nullptr, inner = nullptr,
                        stroke = nullptr, width = nullptr;
        s.pfi->AEGP_GetEffectLayer(in_data_->effect_ref, &layer);
        s.layers->AEGP_GetLayerParentComp(layer, &comp);
        s.layers->AEGP_GetLayerFromLayerID(comp, line_.layer->id(), &layer);
        s.dyn->AEGP_GetNewStreamRefForLayer(kPlugin, layer, &root);
        s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, root, 0, &contents);
        s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, contents, 0, &shape);
        s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, shape, 0, &inner);
        s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, inner, 1, &stroke);
        s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, stroke, 0, &width);
        for (AEGP_StreamRefH h : {root, contents, shape, inner, stroke}) {
            s.streams->AEGP_DisposeStream(h);
        }
        return width;
    }
    CommandReport Body(std::function<A_Err(const Suites&, AEGP_StreamRefH)> body) {
        return Run([&](PF_InData* in_data) {
            in_data_ = in_data;
            BodySuites suites(in_data);
            AEGP_StreamRefH width = Width(suites.s);
            const A_Err err = body(suites.s, width);
            suites.s.streams->AEGP_DisposeStream(width);
            return err;
        });
    }
    Line line_;
    PF_InData* in_data_ = nullptr;
};

A_Err AddKey(const Suites& s, AEGP_AddKeyframesInfoH batch, A_Time time, double value,
             AEGP_StreamRefH stream) {
    A_long index = -1;
    AEGP_StreamValue2 v{};
    A_Err err = s.keys->AEGP_AddKeyframes(batch, AEGP_LTimeMode_CompTime, &time, &index);
    if (!err) {
        err = s.streams->AEGP_GetNewStreamValue(kPlugin, stream, AEGP_LTimeMode_CompTime, &time,
                                                TRUE, &v);
    }
    if (!err) {
        v.val.one_d = value;
        err = s.keys->AEGP_SetAddKeyframe(batch, index, &v);
    }
    if (v.streamH) s.streams->AEGP_DisposeStreamValue(&v);
    return err;
}

TEST_F(HostKeys, KeysReachThePropertyOnlyWhenTheBatchIsAdded) {
    line_.width->keyframes = {{A_Time{14, 60}, StreamValue::OneD(-1)}};
    const CommandReport report = Body([&](const Suites& s, AEGP_StreamRefH width) {
        AEGP_AddKeyframesInfoH dropped = nullptr, added = nullptr;
        A_Err err = s.keys->AEGP_StartAddKeyframes(width, &dropped);
        if (!err) err = AddKey(s, dropped, A_Time{1, 1}, 99, width);
        if (dropped) s.keys->AEGP_EndAddKeyframes(FALSE, dropped);
        if (!err) err = s.keys->AEGP_StartAddKeyframes(width, &added);
        // Out of order, and 7/30 s where the property has a key at 14/60 s.
        if (!err) err = AddKey(s, added, A_Time{9, 30}, 9, width);
        if (!err) err = AddKey(s, added, A_Time{7, 30}, 7, width);
        // The same time again in the batch: the same key, its value replaced.
        if (!err) err = AddKey(s, added, A_Time{18, 60}, 90, width);
        // A key whose value is never set.
        A_Time unset{1, 1};
        A_long index = -1;
        if (!err) err = s.keys->AEGP_AddKeyframes(added, AEGP_LTimeMode_CompTime, &unset, &index);
        if (added && !err) err = s.keys->AEGP_EndAddKeyframes(TRUE, added);
        return err;
    });
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    ASSERT_EQ(line_.width->keyframes.size(), 3u);
    EXPECT_TRUE(SameTime(line_.width->keyframes[0].time, A_Time{7, 30}));
    EXPECT_EQ(line_.width->keyframes[0].value.v[0], 7);
    EXPECT_TRUE(SameTime(line_.width->keyframes[1].time, A_Time{9, 30}));
    EXPECT_EQ(line_.width->keyframes[1].value.v[0], 90);
    // The key without a value holds the property's value before expressions at 1 s, as the
    // property was before the batch: its one key's (which the batch replaced).
    EXPECT_EQ(line_.width->keyframes[2].value.v[0], -1);
}

TEST_F(HostKeys, ABatchLeftOpenIsALeftoverAndAnEndWithoutAStartABreach) {
    CommandReport report = Body([&](const Suites& s, AEGP_StreamRefH width) {
        AEGP_AddKeyframesInfoH batch = nullptr;
        return s.keys->AEGP_StartAddKeyframes(width, &batch);
    });
    ASSERT_EQ(report.leftovers.size(), 1u);
    EXPECT_EQ(report.leftovers[0].kind, tlhost::RefKind::KeyframeBatch);

    report = Body([&](const Suites& s, AEGP_StreamRefH) {
        return s.utility->AEGP_StartUndoGroup("Left open");
    });
    bool group_left = false;
    for (const auto& ref : report.leftovers) group_left |= ref.kind == tlhost::RefKind::UndoGroup;
    EXPECT_TRUE(group_left);
    EXPECT_FALSE(LastUndoGroup().closed);

    // The host closed it after that command: this one ends a group it never started.
    report = Body([&](const Suites& s, AEGP_StreamRefH) { return s.utility->AEGP_EndUndoGroup(); });
    EXPECT_NE(report.result, A_Err_NONE);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_NE(report.violations[0].find("AEGP_EndUndoGroup"), std::string::npos);
}

TEST_F(HostKeys, KeyedPropertiesVaryOverTimeAndTakeNoPlainValue) {
    const CommandReport report = Body([&](const Suites& s, AEGP_StreamRefH width) {
        A_Boolean varying = FALSE;
        // An enabled expression varies.
        if (s.streams->AEGP_IsStreamTimevarying(width, &varying) || !varying) return 101;
        // A switched-off one does not.
        line_.width->expression_enabled = false;
        if (s.streams->AEGP_IsStreamTimevarying(width, &varying) || varying) return 102;
        // One key is enough.
        line_.width->keyframes = {{1.0, StreamValue::OneD(3)}};
        if (s.streams->AEGP_IsStreamTimevarying(width, &varying) || !varying) return 103;
        AEGP_StreamValue2 v{};
        const A_Time zero{0, 1};
        A_Err err = s.streams->AEGP_GetNewStreamValue(kPlugin, width, AEGP_LTimeMode_CompTime,
                                                      &zero, TRUE, &v);
        if (err) return err;
        err = s.streams->AEGP_SetStreamValue(kPlugin, width, &v);
        s.streams->AEGP_DisposeStreamValue(&v);
        if (err != A_Err_PARAMETER) return 104;
        A_long n = 0;
        err = s.keys->AEGP_GetStreamNumKFs(width, &n);
        return err ? err : (n == 1 ? A_Err_NONE : 105);
    });
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(HostKeys, ValuesAreReadAtTheTimeAskedForAfterTheExpression) {
    if (!styletest::HaveExpressions()) GTEST_SKIP() << "no expression engine in this build";
    line_.width->expression = "time * 100 + valueAtTime(0)";
    line_.width->keyframes = {{0.0, StreamValue::OneD(10)}, {2.0, StreamValue::OneD(30)}};
    double at_one_and_a_half = 0, before = 0;
    const CommandReport report = Body([&](const Suites& s, AEGP_StreamRefH width) {
        const A_Time t{3, 2};
        AEGP_StreamValue2 v{};
        A_Err err = s.streams->AEGP_GetNewStreamValue(kPlugin, width, AEGP_LTimeMode_CompTime, &t,
                                                      FALSE, &v);
        at_one_and_a_half = v.val.one_d;
        if (v.streamH) s.streams->AEGP_DisposeStreamValue(&v);
        if (!err) {
            err = s.streams->AEGP_GetNewStreamValue(kPlugin, width, AEGP_LTimeMode_CompTime, &t,
                                                    TRUE, &v);
        }
        before = v.val.one_d;
        if (v.streamH) s.streams->AEGP_DisposeStreamValue(&v);
        return err;
    });
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_DOUBLE_EQ(at_one_and_a_half, 160);  // 150 + the key's 10 at time 0
    EXPECT_DOUBLE_EQ(before, 25);              // linear between the keys
}

TEST_F(HostKeys, TheCompositionAnswersItsFrameDurationAndWorkArea) {
    SetTime(A_Time{1001, 30000}, A_Time{3, 2}, A_Time{5, 4});
    line_.layer->in_point = A_Time{1, 3};
    A_Time fd{}, start{}, duration{}, in_comp{}, in_layer{};
    const CommandReport report = Body([&](const Suites& s, AEGP_StreamRefH) {
        AEGP_LayerH layer = nullptr;
        AEGP_CompH comp = nullptr;
        A_Err err = s.pfi->AEGP_GetEffectLayer(in_data_->effect_ref, &layer);
        if (!err) err = s.layers->AEGP_GetLayerParentComp(layer, &comp);
        if (!err) err = s.comps->AEGP_GetCompFrameDuration(comp, &fd);
        if (!err) err = s.comps->AEGP_GetCompWorkAreaStart(comp, &start);
        if (!err) err = s.comps->AEGP_GetCompWorkAreaDuration(comp, &duration);
        if (!err) err = s.layers->AEGP_GetLayerFromLayerID(comp, line_.layer->id(), &layer);
        if (!err) err = s.layers->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_CompTime, &in_comp);
        if (!err) err = s.layers->AEGP_GetLayerInPoint(layer, AEGP_LTimeMode_LayerTime, &in_layer);
        return err;
    });
    ASSERT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(SameTime(fd, A_Time{1001, 30000}));
    EXPECT_TRUE(SameTime(start, A_Time{3, 2}));
    EXPECT_TRUE(SameTime(duration, A_Time{5, 4}));
    EXPECT_TRUE(SameTime(in_comp, A_Time{1, 3}));
    EXPECT_EQ(in_layer.value, 0);
}

TEST(ProjectFileKeys, KeyTimesAndTheFrameDurationAreWrittenAsValueAndScale) {
    tlhost::Project project;
    tlhost::Composition& comp = project.AddComposition("Comp", 1);
    comp.frame_rate = 30000.0 / 1001;
    comp.frame_duration = A_Time{1001, 30000};
    tlhost::Layer& layer = project.AddLayer(comp, "Line", LayerKind::Shape, 1);
    StreamNode& opacity =
        *layer.root().FindChild("ADBE Transform Group")->FindChild("ADBE Opacity");
    opacity.keyframes = {{A_Time{1001, 30000}, StreamValue::OneD(1)},
                         {A_Time{7, 3}, StreamValue::OneD(2)}};
    project.set_undo_groups({{"Bake", true, {"Line > Transform > Opacity: 2 keyframes added"}}});

    const std::string text = tlhost::SaveProject(project);
    EXPECT_NE(text.find("\"frame_duration\": {\"value\": 1001, \"scale\": 30000}"),
              std::string::npos);
    EXPECT_NE(text.find("\"time\": {\"value\": 7, \"scale\": 3}"), std::string::npos);
    tlhost::Project back;
    tlhost::LoadError error;
    ASSERT_TRUE(tlhost::LoadProject(text, back, &error)) << error.message();
    const tlhost::Composition& read = *back.FindComposition("Comp");
    EXPECT_TRUE(SameTime(read.frame_duration, A_Time{1001, 30000}));
    const StreamNode& keys =
        *back.FindLayer(1)->root().FindChild("ADBE Transform Group")->FindChild("ADBE Opacity");
    ASSERT_EQ(keys.keyframes.size(), 2u);
    EXPECT_TRUE(SameTime(keys.keyframes[1].time, A_Time{7, 3}));
    EXPECT_EQ(back.undo_groups()[0].changes, project.undo_groups()[0].changes);
}

TEST(ProjectFileKeys, OlderFilesWithSecondsAndARateStillLoad) {
    const std::string text = R"({"items": [{"name": "C", "type": "composition", "id": 1,
        "frame_rate": 25, "duration": 4, "layers": [{"id": 1, "name": "L", "type": "null",
        "properties": {"match_name": "ADBE AV Layer", "name": "L", "group": "named", "children": [
          {"match_name": "ADBE Opacity", "name": "Opacity", "kind": "one_d", "value": 1,
           "keyframes": [{"time": 0.28, "value": 0}, {"time": 1.5, "value": 1}]}]}}]}]})";
    tlhost::Project project;
    tlhost::LoadError error;
    ASSERT_TRUE(tlhost::LoadProject(text, project, &error)) << error.message();
    EXPECT_TRUE(SameTime(project.FindComposition("C")->frame_duration, A_Time{1, 25}));
    const StreamNode& opacity = *project.FindLayer(1)->root().FindChild("ADBE Opacity");
    EXPECT_TRUE(SameTime(opacity.keyframes[0].time, A_Time{7, 25}));
    EXPECT_TRUE(SameTime(opacity.keyframes[1].time, A_Time{3, 2}));

    // Key times that do not increase are refused, also when written two ways.
    const std::string same = R"({"items": [{"name": "C", "type": "composition", "id": 1,
        "layers": [{"id": 1, "name": "L", "type": "null",
        "properties": {"match_name": "ADBE AV Layer", "name": "L", "group": "named", "children": [
          {"match_name": "ADBE Opacity", "name": "Opacity", "kind": "one_d", "value": 1,
           "keyframes": [{"time": {"value": 14, "scale": 60}, "value": 0},
                         {"time": {"value": 7, "scale": 30}, "value": 1}]}]}}]}]})";
    tlhost::Project refused;
    EXPECT_FALSE(tlhost::LoadProject(same, refused, &error));
    EXPECT_NE(error.where.find("/keyframes/1/time"), std::string::npos) << error.message();
}

}  // namespace
}  // namespace assistanttest
