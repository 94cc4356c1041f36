// The stream suites over a layer's property tree: walking, values, expressions,
// flags, and the accounting of every stream, effect and value handed out.
#include <gtest/gtest.h>

#include "AE_GeneralPlug.h"
#include "support/FakePlugin.h"
#include "support/TestSupport.h"

namespace {

using tlhost::CommandReport;
using tlhost::Grouping;
using tlhost::StreamNode;
using tlhost::StreamValue;
using tlhost::ValueKind;

constexpr AEGP_PluginID kPlugin = 1;
const A_Time kTimeZero{0, 1};

struct Suites {
    AEGP_PFInterfaceSuite1* pfi;
    AEGP_StreamSuite4* streams;
    AEGP_DynamicStreamSuite4* dyn;
    AEGP_EffectSuite3* effects;
};

Suites Acquire(PF_InData* in_data) {
    return {tltest::AcquireSuite<AEGP_PFInterfaceSuite1>(in_data, kAEGPPFInterfaceSuite, 1),
            tltest::AcquireSuite<AEGP_StreamSuite4>(in_data, kAEGPStreamSuite, 9),
            tltest::AcquireSuite<AEGP_DynamicStreamSuite4>(in_data, kAEGPDynamicStreamSuite, 5),
            tltest::AcquireSuite<AEGP_EffectSuite3>(in_data, kAEGPEffectSuite, 3)};
}

void Release(PF_InData* in_data) {
    in_data->pica_basicP->ReleaseSuite(kAEGPPFInterfaceSuite, 1);
    in_data->pica_basicP->ReleaseSuite(kAEGPStreamSuite, 9);
    in_data->pica_basicP->ReleaseSuite(kAEGPDynamicStreamSuite, 5);
    in_data->pica_basicP->ReleaseSuite(kAEGPEffectSuite, 3);
}

class StreamSuites : public ::testing::Test {
  protected:
    void SetUp() override {
        fake_.host().RegisterPlugin("Fake");
        tlhost::Project& project = fake_.host().project();
        tlhost::Composition& comp = project.AddComposition("Comp");
        layer_ = &project.AddLayer(comp, "Line", tlhost::LayerKind::Shape);
        StreamNode& contents = *layer_->root().FindChild("ADBE Root Vectors Group");
        StreamNode& group = contents.AddChild(
            std::make_unique<StreamNode>("ADBE Vector Group", "Group 1", Grouping::Named));
        StreamNode& inner = group.AddChild(
            std::make_unique<StreamNode>("ADBE Vectors Group", "Contents", Grouping::Indexed));
        StreamNode& stroke = inner.AddChild(std::make_unique<StreamNode>(
            "ADBE Vector Graphic - Stroke", "Stroke 1", Grouping::Named));
        join_ = &stroke.AddChild(std::make_unique<StreamNode>(
            "ADBE Vector Stroke Line Join", "Line Join", Grouping::Leaf, ValueKind::OneD));
        join_->set_value(StreamValue::OneD(1));
        effect_ = &layer_->AddEffect("Fake Effect", "Fake");
        effect_->params().emplace_back();
        effect_->AttachParamStreams();
    }
    tltest::FakePlugin fake_;
    tlhost::Layer* layer_ = nullptr;
    StreamNode* join_ = nullptr;
    tlhost::EffectInstance* effect_ = nullptr;
};

// Walks from the effect's layer to the line-join leaf, disposing every step.
A_Err FindJoin(PF_InData* in_data, const Suites& s, AEGP_StreamRefH* join) {
    AEGP_LayerH layer = nullptr;
    A_Err err = s.pfi->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
    AEGP_StreamRefH root = nullptr, contents = nullptr, group = nullptr, inner = nullptr,
                    stroke = nullptr;
    if (!err) err = s.dyn->AEGP_GetNewStreamRefForLayer(kPlugin, layer, &root);
    if (!err)
        err = s.dyn->AEGP_GetNewStreamRefByMatchname(kPlugin, root, "ADBE Root Vectors Group",
                                                     &contents);
    if (!err) err = s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, contents, 0, &group);
    if (!err)
        err = s.dyn->AEGP_GetNewStreamRefByMatchname(kPlugin, group, "ADBE Vectors Group", &inner);
    if (!err) err = s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, inner, 0, &stroke);
    if (!err)
        err = s.dyn->AEGP_GetNewStreamRefByMatchname(kPlugin, stroke,
                                                     "ADBE Vector Stroke Line Join", join);
    for (AEGP_StreamRefH h : {stroke, inner, group, contents, root}) {
        if (h) s.streams->AEGP_DisposeStream(h);
    }
    return err;
}

TEST_F(StreamSuites, WalkSetAndReadAValueReleasingEverything) {
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        AEGP_StreamRefH join = nullptr;
        A_Err err = FindJoin(in_data, s, &join);
        AEGP_StreamValue2 value{};
        if (!err)
            err = s.streams->AEGP_GetNewStreamValue(kPlugin, join, AEGP_LTimeMode_CompTime,
                                                    &kTimeZero, true, &value);
        if (!err) {
            value.val.one_d = 2;
            err = s.streams->AEGP_SetStreamValue(kPlugin, join, &value);
            s.streams->AEGP_DisposeStreamValue(&value);
        }
        if (join) s.streams->AEGP_DisposeStream(join);
        Release(in_data);
        return err;
    });
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_EQ(join_->value().v[0], 2);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(StreamSuites, EveryKindOfReferenceLeftBehindIsNamed) {
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        AEGP_StreamRefH join = nullptr;
        FindJoin(in_data, s, &join);
        AEGP_StreamValue2 value{};
        A_Time t{0, 1};
        s.streams->AEGP_GetNewStreamValue(kPlugin, join, AEGP_LTimeMode_CompTime, &t, false,
                                          &value);
        AEGP_EffectRefH effect = nullptr;
        AEGP_PluginID id = 1;
        s.pfi->AEGP_GetNewEffectForEffect(id, in_data->effect_ref, &effect);
        Release(in_data);
        return PF_Err_NONE;
    });
    std::vector<tlhost::RefKind> kinds;
    for (const auto& ref : report.leftovers) kinds.push_back(ref.kind);
    EXPECT_EQ(kinds,
              (std::vector<tlhost::RefKind>{tlhost::RefKind::Stream, tlhost::RefKind::StreamValue,
                                            tlhost::RefKind::Effect}));
    EXPECT_NE(report.leftovers[0].what.find("ADBE Vector Stroke Line Join"), std::string::npos);
    EXPECT_EQ(report.leftovers[0].created_by, "AEGP_GetNewStreamRefByMatchname #3");
}

TEST_F(StreamSuites, ADisposedStreamUsedAgainIsCaught) {
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        AEGP_StreamRefH join = nullptr;
        FindJoin(in_data, s, &join);
        s.streams->AEGP_DisposeStream(join);
        A_Err twice = s.streams->AEGP_DisposeStream(join);
        A_Boolean vary = 0;
        A_Err used = s.streams->AEGP_CanVaryOverTime(join, &vary);
        Release(in_data);
        return twice && used ? PF_Err_NONE : PF_Err_INTERNAL_STRUCT_DAMAGED;
    });
    EXPECT_EQ(report.result, PF_Err_NONE);
    ASSERT_EQ(report.violations.size(), 2u);
    EXPECT_NE(report.violations[0].find("disposed stream reference"), std::string::npos);
    EXPECT_NE(report.violations[0].find("made by AEGP_GetNewStreamRefByMatchname #3"),
              std::string::npos);
    EXPECT_TRUE(report.leftovers.empty()) << tltest::Leftovers(report);
}

TEST_F(StreamSuites, GroupRulesOfTheDynamicStreamSuite) {
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        AEGP_LayerH layer = nullptr;
        s.pfi->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
        AEGP_StreamRefH root = nullptr, contents = nullptr, wrong = nullptr, join = nullptr;
        s.dyn->AEGP_GetNewStreamRefForLayer(kPlugin, layer, &root);
        s.dyn->AEGP_GetNewStreamRefByMatchname(kPlugin, root, "ADBE Root Vectors Group", &contents);
        PF_Err result = PF_Err_NONE;
        // By match name only in named groups; counting only groups.
        if (s.dyn->AEGP_GetNewStreamRefByMatchname(kPlugin, contents, "ADBE Vector Group",
                                                   &wrong) == 0)
            result = 1;
        FindJoin(in_data, s, &join);
        A_long n = 0;
        if (s.dyn->AEGP_GetNumStreamsInGroup(join, &n) == 0) result = 2;
        AEGP_StreamGroupingType type = AEGP_StreamGroupingType_NONE;
        s.dyn->AEGP_GetStreamGroupingType(contents, &type);
        if (type != AEGP_StreamGroupingType_INDEXED_GROUP) result = 3;
        // Hiding and showing through the dynamic flag, outside undo.
        if (s.dyn->AEGP_SetDynamicStreamFlag(join, AEGP_DynStreamFlag_HIDDEN, false, true))
            result = 4;
        if (s.dyn->AEGP_SetDynamicStreamFlag(join, AEGP_DynStreamFlag_ACTIVE_EYEBALL, true, false))
            result = 5;
        for (AEGP_StreamRefH h : {join, contents, root}) s.streams->AEGP_DisposeStream(h);
        Release(in_data);
        return result;
    });
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(join_->hidden());
    EXPECT_FALSE(join_->eyeball);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST_F(StreamSuites, ExpressionsAreSetSwitchedAndRemoved) {
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        AEGP_StreamRefH join = nullptr;
        A_Err err = FindJoin(in_data, s, &join);
        if (!err) err = s.streams->AEGP_SetExpression(kPlugin, join, "2 + 1");
        A_Boolean on = 0;
        if (!err) err = s.streams->AEGP_GetExpressionState(kPlugin, join, &on);
        if (!err && !on) err = 90;
        AEGP_MemHandle text = nullptr;
        if (!err) err = s.streams->AEGP_GetExpression(kPlugin, join, &text);
        if (text) {
            AEGP_MemorySuite1* mem =
                tltest::AcquireSuite<AEGP_MemorySuite1>(in_data, kAEGPMemorySuite, 1);
            void* p = nullptr;
            mem->AEGP_LockMemHandle(text, &p);
            if (std::string(static_cast<const char*>(p)) != "2 + 1") err = 91;
            mem->AEGP_UnlockMemHandle(text);
            mem->AEGP_FreeMemHandle(text);
            in_data->pica_basicP->ReleaseSuite(kAEGPMemorySuite, 1);
        }
        A_Boolean varying = 0;
        if (!err) err = s.streams->AEGP_IsStreamTimevarying(join, &varying);
        if (!err && !varying) err = 92;
        if (!err) err = s.streams->AEGP_SetExpressionState(kPlugin, join, false);
        if (join) s.streams->AEGP_DisposeStream(join);
        Release(in_data);
        return err;
    });
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_EQ(join_->expression, "2 + 1");
    EXPECT_FALSE(join_->expression_enabled);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
}

TEST(ProjectLookups, LayerIdsResolveWithoutScanningAfterLayersAreAdded) {
    tlhost::Project project;
    tlhost::Composition& comp = project.AddComposition("Big");
    for (int i = 0; i < 10000; ++i)
        project.AddLayer(comp, "L" + std::to_string(i), tlhost::LayerKind::Shape);
    tlhost::Layer& late = project.AddLayer(comp, "Late", tlhost::LayerKind::Null, 50000);
    EXPECT_EQ(project.FindLayer(50000), &late);
    EXPECT_EQ(project.FindLayer(1)->name(), "L0");
    EXPECT_EQ(project.FindLayer(10000)->name(), "L9999");
    EXPECT_EQ(project.FindLayer(12345), nullptr);
    // A new layer goes on top; ids keep counting past the largest one taken.
    EXPECT_EQ(comp.layers().front(), &late);
    EXPECT_EQ(project.AddLayer(comp, "Next", tlhost::LayerKind::Null).id(), 50001);
    EXPECT_THROW(project.AddLayer(comp, "Dup", tlhost::LayerKind::Null, 7), std::invalid_argument);
}

}  // namespace
