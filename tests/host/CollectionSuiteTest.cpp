// Collections of stream references and the composition's selection: what a collection owns,
// what the ledger catches, and when the host refuses a selection.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "AE_GeneralPlug.h"
#include "suites/Objects.h"
#include "support/FakePlugin.h"
#include "support/TestSupport.h"

namespace {

using tlhost::CommandReport;
using tlhost::Grouping;
using tlhost::SelectedStream;
using tlhost::StreamNode;

constexpr AEGP_PluginID kPlugin = 1;

struct Suites {
    AEGP_PFInterfaceSuite1* pfi;
    AEGP_LayerSuite7* layers;
    AEGP_StreamSuite4* streams;
    AEGP_DynamicStreamSuite4* dyn;
    AEGP_CollectionSuite2* collections;
    AEGP_CompSuite8* comps;
};

Suites Acquire(PF_InData* in_data) {
    return {tltest::AcquireSuite<AEGP_PFInterfaceSuite1>(in_data, kAEGPPFInterfaceSuite, 1),
            tltest::AcquireSuite<AEGP_LayerSuite7>(in_data, kAEGPLayerSuite, 13),
            tltest::AcquireSuite<AEGP_StreamSuite4>(in_data, kAEGPStreamSuite, 9),
            tltest::AcquireSuite<AEGP_DynamicStreamSuite4>(in_data, kAEGPDynamicStreamSuite, 5),
            tltest::AcquireSuite<AEGP_CollectionSuite2>(in_data, kAEGPCollectionSuite, 2),
            tltest::AcquireSuite<AEGP_CompSuite8>(in_data, kAEGPCompSuite, 18)};
}

void Release(PF_InData* in_data) {
    const std::pair<const char*, int> acquired[] = {
        {kAEGPPFInterfaceSuite, 1},   {kAEGPLayerSuite, 13},     {kAEGPStreamSuite, 9},
        {kAEGPDynamicStreamSuite, 5}, {kAEGPCollectionSuite, 2}, {kAEGPCompSuite, 18}};
    for (const auto& [name, version] : acquired) in_data->pica_basicP->ReleaseSuite(name, version);
}

// A layer of another composition, for the bodies (handles of layers are plain pointers).
AEGP_LayerH g_elsewhere = nullptr;

// The effect layer's composition, its root stream and the stroke's line join below it.
struct Found {
    AEGP_CompH comp = nullptr;
    AEGP_StreamRefH root = nullptr;
    AEGP_StreamRefH join = nullptr;
};

Found Find(PF_InData* in_data, const Suites& s) {
    Found f;
    AEGP_LayerH layer = nullptr;
    s.pfi->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
    s.layers->AEGP_GetLayerParentComp(layer, &f.comp);
    s.dyn->AEGP_GetNewStreamRefForLayer(kPlugin, layer, &f.root);
    AEGP_StreamRefH contents = nullptr, group = nullptr, inner = nullptr;
    s.dyn->AEGP_GetNewStreamRefByMatchname(kPlugin, f.root, "ADBE Root Vectors Group", &contents);
    s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, contents, 0, &group);
    s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, group, 0, &inner);
    s.dyn->AEGP_GetNewStreamRefByIndex(kPlugin, inner, 0, &f.join);
    for (AEGP_StreamRefH h : {inner, group, contents}) s.streams->AEGP_DisposeStream(h);
    return f;
}

AEGP_CollectionItemV2 StreamItem(AEGP_StreamRefH stream) {
    AEGP_CollectionItemV2 item{};
    item.type = AEGP_CollectionItemType_STREAMREF;
    item.stream_refH = stream;
    return item;
}

A_Err Push(const Suites& s, AEGP_Collection2H collection, AEGP_StreamRefH stream) {
    const AEGP_CollectionItemV2 item = StreamItem(stream);
    return s.collections->AEGP_CollectionPushBack(collection, &item);
}

class CollectionSuite : public ::testing::Test {
  protected:
    void SetUp() override {
        fake_.host().RegisterPlugin("Fake");
        tlhost::Project& project = fake_.host().project();
        comp_ = &project.AddComposition("Comp");
        layer_ = &project.AddLayer(*comp_, "Line", tlhost::LayerKind::Shape);
        StreamNode& contents = *layer_->root().FindChild("ADBE Root Vectors Group");
        StreamNode& group = contents.AddChild(
            std::make_unique<StreamNode>("ADBE Vector Group", "Group 1", Grouping::Named));
        StreamNode& inner = group.AddChild(
            std::make_unique<StreamNode>("ADBE Vectors Group", "Contents", Grouping::Indexed));
        inner.AddChild(std::make_unique<StreamNode>("ADBE Vector Stroke Line Join", "Line Join",
                                                    Grouping::Leaf, tlhost::ValueKind::OneD));
        effect_ = &layer_->AddEffect("Fake Effect", "Fake");
        effect_->params().emplace_back();
        effect_->AttachParamStreams();

        tlhost::Composition& other = project.AddComposition("Other");
        g_elsewhere =
            tlhost::HandleOf(project.AddLayer(other, "Elsewhere", tlhost::LayerKind::Shape));
    }

    // The path from the layer's root to the line join, and to the contents group.
    std::vector<std::size_t> JoinPath() const {
        return {layer_->root().FindChild("ADBE Root Vectors Group")->IndexInParent(), 0, 0, 0};
    }

    tltest::FakePlugin fake_;
    tlhost::Composition* comp_ = nullptr;
    tlhost::Layer* layer_ = nullptr;
    tlhost::EffectInstance* effect_ = nullptr;
};

TEST_F(CollectionSuite, PushedStreamsBecomeTheSelectionInOrderAndGoWithTheCollection) {
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        Found f = Find(in_data, s);
        AEGP_Collection2H collection = nullptr;
        A_Err err = s.collections->AEGP_NewCollection(kPlugin, &collection);
        if (!err) err = Push(s, collection, f.join);
        if (!err) err = Push(s, collection, f.root);
        if (!err) err = s.comps->AEGP_SetSelection(f.comp, collection);
        // The collection frees both streams; neither is disposed here.
        if (collection) s.collections->AEGP_DisposeCollection(collection);
        Release(in_data);
        return err;
    });
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(report.declined.empty());
    const std::vector<SelectedStream> expected = {{layer_->id(), JoinPath()}, {layer_->id(), {}}};
    EXPECT_EQ(comp_->selection, expected);
}

TEST_F(CollectionSuite, DisposingAPushedStreamIsADoubleDisposal) {
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        Found f = Find(in_data, s);
        AEGP_Collection2H collection = nullptr;
        s.collections->AEGP_NewCollection(kPlugin, &collection);
        Push(s, collection, f.join);
        const A_Err twice = s.streams->AEGP_DisposeStream(f.join);
        s.collections->AEGP_DisposeCollection(collection);
        s.streams->AEGP_DisposeStream(f.root);
        Release(in_data);
        return twice == A_Err_NONE ? PF_Err_INTERNAL_STRUCT_DAMAGED : PF_Err_NONE;
    });
    EXPECT_EQ(report.result, PF_Err_NONE);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_NE(report.violations[0].find("AEGP_DisposeStream: disposed stream reference"),
              std::string::npos)
        << report.violations[0];
    EXPECT_NE(report.violations[0].find("AEGP_CollectionPushBack (adopted)"), std::string::npos)
        << report.violations[0];
    EXPECT_TRUE(report.leftovers.empty()) << tltest::Leftovers(report);
}

TEST_F(CollectionSuite, ACollectionLeftBehindIsALeftoverThatHoldsItsStreams) {
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        Found f = Find(in_data, s);
        AEGP_Collection2H collection = nullptr;
        s.collections->AEGP_NewCollection(kPlugin, &collection);
        Push(s, collection, f.join);
        Push(s, collection, f.root);
        Release(in_data);
        return PF_Err_NONE;
    });
    ASSERT_EQ(report.leftovers.size(), 1u) << tltest::Leftovers(report);
    EXPECT_EQ(report.leftovers[0].kind, tlhost::RefKind::Collection);
    EXPECT_EQ(report.leftovers[0].created_by, "AEGP_NewCollection #1");
}

TEST_F(CollectionSuite, ASelectionWithAnotherCompositionsPropertyIsRefusedWhole) {
    const std::vector<SelectedStream> earlier = {{layer_->id(), {}}};
    comp_->selection = earlier;
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        Found f = Find(in_data, s);
        AEGP_StreamRefH foreign = nullptr;
        s.dyn->AEGP_GetNewStreamRefForLayer(kPlugin, g_elsewhere, &foreign);
        AEGP_Collection2H collection = nullptr;
        s.collections->AEGP_NewCollection(kPlugin, &collection);
        Push(s, collection, f.join);
        Push(s, collection, foreign);
        const A_Err refused = s.comps->AEGP_SetSelection(f.comp, collection);
        s.collections->AEGP_DisposeCollection(collection);
        s.streams->AEGP_DisposeStream(f.root);
        Release(in_data);
        return refused;
    });
    EXPECT_EQ(report.result, A_Err_PARAMETER);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(comp_->selection, earlier);

    // An empty collection empties the selection.
    report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        Found f = Find(in_data, s);
        AEGP_Collection2H collection = nullptr;
        A_Err err = s.collections->AEGP_NewCollection(kPlugin, &collection);
        if (!err) err = s.comps->AEGP_SetSelection(f.comp, collection);
        s.collections->AEGP_DisposeCollection(collection);
        for (AEGP_StreamRefH h : {f.root, f.join}) s.streams->AEGP_DisposeStream(h);
        Release(in_data);
        return err;
    });
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(comp_->selection.empty());
}

TEST_F(CollectionSuite, OnlyLiveStreamReferencesArePushedAndAFailedPushAdoptsNothing) {
    tlhost::Ledger& ledger = fake_.host().ledger();
    fake_.host().faults().FailNthCallOf(
        "AEGP_CollectionPushBack", ledger.CallCount("AEGP_CollectionPushBack") + 1, A_Err_ALLOC);
    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        Found f = Find(in_data, s);
        AEGP_Collection2H collection = nullptr;
        s.collections->AEGP_NewCollection(kPlugin, &collection);
        PF_Err result = PF_Err_NONE;
        // The failed push leaves the join with the caller, who disposes it without complaint.
        if (Push(s, collection, f.join) != A_Err_ALLOC) result = 1;
        if (s.streams->AEGP_DisposeStream(f.join) != A_Err_NONE) result = 2;
        // A disposed reference is a breach; a layer item is a kind the host does not hold.
        if (Push(s, collection, f.join) == A_Err_NONE) result = 3;
        AEGP_CollectionItemV2 layer_item{};
        layer_item.type = AEGP_CollectionItemType_LAYER;
        if (s.collections->AEGP_CollectionPushBack(collection, &layer_item) == A_Err_NONE)
            result = 4;
        s.collections->AEGP_DisposeCollection(collection);
        s.streams->AEGP_DisposeStream(f.root);
        Release(in_data);
        return result;
    });
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.leftovers.empty()) << tltest::Leftovers(report);
    ASSERT_EQ(report.violations.size(), 1u);
    EXPECT_NE(report.violations[0].find("AEGP_CollectionPushBack: disposed stream reference"),
              std::string::npos)
        << report.violations[0];
    EXPECT_EQ(report.declined, std::vector<std::string>{"AEGP_CollectionPushBack (item type 1)"});
}

TEST_F(CollectionSuite, EverySlotIsInPlaceAndTheUnservedOnesAreDeclined) {
    const auto& all = fake_.host().suites().All();
    for (const auto& [name, version] :
         {std::pair<std::string, int>{kAEGPCollectionSuite, 2}, {kAEGPCompSuite, 18}}) {
        auto it = all.find({name, version});
        ASSERT_NE(it, all.end()) << name << " v" << version;
        const std::size_t slots = name == kAEGPCollectionSuite ? 6 : 37;
        ASSERT_EQ(it->second.slots, slots) << name;
        const auto* table = static_cast<void* const*>(it->second.table);
        for (std::size_t i = 0; i < slots; ++i) EXPECT_NE(table[i], nullptr) << name << " " << i;
    }

    CommandReport report = fake_.RunOn(*effect_, [](PF_InData* in_data, PF_OutData*) -> PF_Err {
        Suites s = Acquire(in_data);
        Found f = Find(in_data, s);
        AEGP_Collection2H collection = nullptr;
        s.collections->AEGP_NewCollection(kPlugin, &collection);
        A_u_long n = 0;
        AEGP_CollectionItemV2 item{};
        AEGP_Collection2H from_selection = nullptr;
        const A_Err answers[] = {
            s.collections->AEGP_GetCollectionNumItems(collection, &n),
            s.collections->AEGP_GetCollectionItemByIndex(collection, 0, &item),
            s.collections->AEGP_CollectionErase(collection, 0, 0),
            s.comps->AEGP_GetNewCollectionFromCompSelection(kPlugin, f.comp, &from_selection),
        };
        s.collections->AEGP_DisposeCollection(collection);
        for (AEGP_StreamRefH h : {f.root, f.join}) s.streams->AEGP_DisposeStream(h);
        Release(in_data);
        for (A_Err e : answers) {
            if (e == A_Err_NONE) return PF_Err_INTERNAL_STRUCT_DAMAGED;
        }
        return PF_Err_NONE;
    });
    EXPECT_EQ(report.result, PF_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(report.declined,
              (std::vector<std::string>{"AEGP_GetCollectionNumItems",
                                        "AEGP_GetCollectionItemByIndex", "AEGP_CollectionErase",
                                        "AEGP_GetNewCollectionFromCompSelection"}));
}

}  // namespace
