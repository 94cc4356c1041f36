// The project, its items and what the plug-in makes in it through the stand-in host:
// compositions, layers showing items, shape items with their skeletons, path outlines and 3D
// layers. Host functions are called directly, with the host current.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AE_GeneralPlug.h"
#include "suites/Tables.h"
#include "support/FakePlugin.h"

namespace {

using tlhost::Composition;
using tlhost::ItemKind;
using tlhost::Layer;
using tlhost::LayerKind;
using tlhost::StreamNode;
using tlhost::StreamValue;

constexpr AEGP_PluginID kPlugin = 1;
constexpr A_Time kTimeZero{0, 1};

class ProjectItems : public ::testing::Test {
  protected:
    tlhost::Host& H() { return fake_.host(); }
    tlhost::Project& P() { return fake_.host().project(); }
    // References the calls left live; each test gives back all it takes.
    std::size_t Live() { return H().ledger().Live().size(); }

    // The UTF-16 text of a host memory handle, which is freed.
    std::u16string Text(AEGP_MemHandle handle) {
        void* data = nullptr;
        EXPECT_EQ(tlhost::MemorySuite1Table()->AEGP_LockMemHandle(handle, &data), A_Err_NONE);
        std::u16string text(static_cast<const char16_t*>(data));
        tlhost::MemorySuite1Table()->AEGP_UnlockMemHandle(handle);
        tlhost::MemorySuite1Table()->AEGP_FreeMemHandle(handle);
        return text;
    }

    tltest::FakePlugin fake_;
    tlhost::Host::Scope scope_{fake_.host()};
    const AEGP_ProjSuite5* proj_ = tlhost::ProjSuite5Table();
    const AEGP_ItemSuite8* items_ = tlhost::ItemSuite8Table();
    const AEGP_CompSuite5* comp11_ = tlhost::CompSuite5Table();
    const AEGP_CompSuite8* comp18_ = tlhost::CompSuite8Table();
    const AEGP_LayerSuite7* layers_ = tlhost::LayerSuite7Table();
    const AEGP_StreamSuite4* streams_ = tlhost::StreamSuite4Table();
    const AEGP_DynamicStreamSuite4* dyn_ = tlhost::DynamicStreamSuite4Table();
    const AEGP_MaskOutlineSuite2* outlines_ = tlhost::MaskOutlineSuite2Table();
};

AEGP_CompH CompHandle(Composition& comp) {
    return reinterpret_cast<AEGP_CompH>(&comp);
}
AEGP_LayerH LayerHandle(Layer& layer) {
    return reinterpret_cast<AEGP_LayerH>(&layer);
}

TEST_F(ProjectItems, ItemsComeInProjectOrderWithTheirTypesAndUtf16Names) {
    AEGP_ProjectH project = nullptr;
    AEGP_ItemH item = nullptr;
    ASSERT_EQ(proj_->AEGP_GetProjectByIndex(0, &project), A_Err_NONE);
    EXPECT_EQ(proj_->AEGP_GetProjectByIndex(1, &project), A_Err_PARAMETER);
    // An empty project has no first item.
    ASSERT_EQ(items_->AEGP_GetFirstProjItem(project, &item), A_Err_NONE);
    EXPECT_EQ(item, nullptr);

    P().AddItem(ItemKind::Folder, "Solids");
    P().AddComposition("Main \xCE\xBB \xF0\x9F\x99\x82");
    P().AddItem(ItemKind::Footage, "Clip");
    std::vector<AEGP_ItemType> types;
    std::vector<std::u16string> names;
    ASSERT_EQ(items_->AEGP_GetFirstProjItem(project, &item), A_Err_NONE);
    while (item != nullptr) {
        AEGP_ItemType type = AEGP_ItemType_NONE;
        AEGP_MemHandle name = nullptr;
        ASSERT_EQ(items_->AEGP_GetItemType(item, &type), A_Err_NONE);
        ASSERT_EQ(items_->AEGP_GetItemName(kPlugin, item, &name), A_Err_NONE);
        types.push_back(type);
        names.push_back(Text(name));
        ASSERT_EQ(items_->AEGP_GetNextProjItem(project, item, &item), A_Err_NONE);
    }
    EXPECT_EQ(types, (std::vector<AEGP_ItemType>{AEGP_ItemType_FOLDER, AEGP_ItemType_COMP,
                                                 AEGP_ItemType_FOOTAGE}));
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Solids", u"Main \u03BB \U0001F642", u"Clip"}));
    EXPECT_EQ(Live(), 0u);
}

TEST_F(ProjectItems, ACompositionsItemAndCompositionHandlesDifferAndLeadToEachOther) {
    Composition& comp = P().AddComposition("Main");
    comp.pixel_aspect = A_Ratio{10, 11};
    comp.duration = A_Time{7, 2};
    tlhost::Item& folder = P().AddItem(ItemKind::Folder, "Folder");
    tlhost::Item& footage = P().AddItem(ItemKind::Footage, "Clip");
    AEGP_ItemH item = nullptr;
    AEGP_CompH back = nullptr;
    ASSERT_EQ(comp18_->AEGP_GetItemFromComp(CompHandle(comp), &item), A_Err_NONE);
    EXPECT_NE(static_cast<void*>(item), static_cast<void*>(CompHandle(comp)));
    ASSERT_EQ(comp11_->AEGP_GetCompFromItem(item, &back), A_Err_NONE);
    EXPECT_EQ(back, CompHandle(comp));
    A_Ratio ratio{};
    A_Time duration{};
    EXPECT_EQ(items_->AEGP_GetItemPixelAspectRatio(item, &ratio), A_Err_NONE);
    EXPECT_EQ(ratio.num, 10);
    EXPECT_EQ(items_->AEGP_GetItemDuration(item, &duration), A_Err_NONE);
    EXPECT_EQ(duration.value, 7);

    // A folder has no duration; footage keeps none here, so asking is declined.
    AEGP_ItemH folder_item = reinterpret_cast<AEGP_ItemH>(const_cast<void*>(folder.handle_key()));
    AEGP_ItemH footage_item = reinterpret_cast<AEGP_ItemH>(const_cast<void*>(footage.handle_key()));
    EXPECT_EQ(items_->AEGP_GetItemDuration(folder_item, &duration), A_Err_PARAMETER);
    EXPECT_EQ(comp11_->AEGP_GetCompFromItem(folder_item, &back), A_Err_PARAMETER);
    EXPECT_NE(items_->AEGP_GetItemDuration(footage_item, &duration), A_Err_NONE);
    EXPECT_EQ(H().ledger().DeclinedCalls().back(), "AEGP_GetItemDuration (footage)");
    // A composition handle is no item handle.
    const std::size_t breaches = H().ledger().Violations().size();
    EXPECT_EQ(
        items_->AEGP_GetItemDuration(reinterpret_cast<AEGP_ItemH>(CompHandle(comp)), &duration),
        A_Err_PARAMETER);
    EXPECT_EQ(H().ledger().Violations().size(), breaches + 1);
}

TEST_F(ProjectItems, CreateCompMakesTheCompositionLastInTheRootFolder) {
    const A_Ratio square{1, 1};
    const A_Time five{5, 1};
    const A_Ratio ntsc{29970, 1000};
    AEGP_CompH made = nullptr;
    P().StartUndoGroup("Make", 0);
    ASSERT_EQ(comp11_->AEGP_CreateComp(nullptr, "New", 100, 100, &square, &five, &ntsc, &made),
              A_Err_NONE);
    Composition& comp = *reinterpret_cast<Composition*>(made);
    EXPECT_EQ(P().items().back().get(), &comp);
    EXPECT_EQ(comp.name(), "New");
    EXPECT_EQ(comp.frame_rate, 29.97);
    EXPECT_EQ(comp.frame_duration.value, 1001);
    EXPECT_EQ(comp.frame_duration.scale, 30000u);
    EXPECT_EQ(comp.work_area_duration.value, 5);
    EXPECT_EQ(P().undo_groups().back().changes,
              (std::vector<std::string>{"composition \"New\": created"}));

    // What the host refuses makes nothing.
    const A_Ratio none{0, 1};
    const A_Ratio too_fast{1000, 1};
    const A_Time zero{0, 1};
    const std::size_t items = P().items().size();
    EXPECT_EQ(comp11_->AEGP_CreateComp(nullptr, "X", 0, 100, &square, &five, &ntsc, &made),
              A_Err_PARAMETER);
    EXPECT_EQ(comp11_->AEGP_CreateComp(nullptr, "X", 100, 30001, &square, &five, &ntsc, &made),
              A_Err_PARAMETER);
    EXPECT_EQ(comp11_->AEGP_CreateComp(nullptr, "X", 100, 100, &none, &five, &ntsc, &made),
              A_Err_PARAMETER);
    EXPECT_EQ(comp11_->AEGP_CreateComp(nullptr, "X", 100, 100, &square, &zero, &ntsc, &made),
              A_Err_PARAMETER);
    EXPECT_EQ(comp11_->AEGP_CreateComp(nullptr, "X", 100, 100, &square, &five, &too_fast, &made),
              A_Err_PARAMETER);
    AEGP_ItemH folder = nullptr;
    ASSERT_EQ(comp18_->AEGP_GetItemFromComp(made, &folder), A_Err_NONE);
    EXPECT_NE(comp11_->AEGP_CreateComp(folder, "X", 100, 100, &square, &five, &ntsc, &made),
              A_Err_NONE);
    EXPECT_EQ(P().items().size(), items);
}

TEST_F(ProjectItems, AddLayerShowsTheItemOnTopCentredAndNamedAfterIt) {
    Composition& main = P().AddComposition("Main");
    Composition& inner = P().AddComposition("Inner");
    inner.width = 100;
    inner.height = 50;
    inner.duration = A_Time{3, 1};
    P().AddLayer(main, "Existing", LayerKind::Null);
    AEGP_ItemH inner_item = nullptr;
    AEGP_LayerH added = nullptr;
    ASSERT_EQ(comp18_->AEGP_GetItemFromComp(CompHandle(inner), &inner_item), A_Err_NONE);
    ASSERT_EQ(layers_->AEGP_AddLayer(inner_item, CompHandle(main), &added), A_Err_NONE);
    Layer& layer = *reinterpret_cast<Layer*>(added);
    EXPECT_EQ(main.layers()[0], &layer);
    EXPECT_EQ(layer.name(), "Inner");
    EXPECT_EQ(layer.source(), &inner);
    EXPECT_EQ(layer.duration.value, 3);
    StreamNode& transform = *layer.root().FindChild("ADBE Transform Group");
    EXPECT_EQ(transform.FindChild("ADBE Position")->value(), StreamValue::ThreeD(960, 540, 0));
    EXPECT_EQ(transform.FindChild("ADBE Anchor Point")->value(), StreamValue::ThreeD(50, 25, 0));

    AEGP_MemHandle name = nullptr;
    AEGP_MemHandle source = nullptr;
    ASSERT_EQ(layers_->AEGP_GetLayerName(kPlugin, added, &name, &source), A_Err_NONE);
    EXPECT_EQ(Text(name), u"Inner");
    EXPECT_EQ(Text(source), u"Inner");
    A_long source_id = 0;
    EXPECT_EQ(layers_->AEGP_GetLayerSourceItemID(added, &source_id), A_Err_NONE);
    EXPECT_EQ(source_id, inner.id());

    // A composition never shows itself, not even through another one; a folder shows nothing.
    AEGP_ItemH main_item = nullptr;
    ASSERT_EQ(comp18_->AEGP_GetItemFromComp(CompHandle(main), &main_item), A_Err_NONE);
    A_Boolean valid = TRUE;
    EXPECT_EQ(layers_->AEGP_IsAddLayerValid(main_item, CompHandle(main), &valid), A_Err_NONE);
    EXPECT_FALSE(valid);
    EXPECT_EQ(layers_->AEGP_AddLayer(main_item, CompHandle(main), nullptr), A_Err_PARAMETER);
    // Main shows Inner: Inner cannot show Main, Main can show Inner twice.
    EXPECT_EQ(layers_->AEGP_AddLayer(main_item, CompHandle(inner), nullptr), A_Err_PARAMETER);
    EXPECT_EQ(layers_->AEGP_AddLayer(inner_item, CompHandle(main), nullptr), A_Err_NONE);
    Composition& outer = P().AddComposition("Outer");
    AEGP_ItemH outer_item = nullptr;
    ASSERT_EQ(comp18_->AEGP_GetItemFromComp(CompHandle(outer), &outer_item), A_Err_NONE);
    EXPECT_EQ(layers_->AEGP_AddLayer(outer_item, CompHandle(outer), nullptr), A_Err_PARAMETER);
    ASSERT_EQ(layers_->AEGP_AddLayer(main_item, CompHandle(outer), nullptr), A_Err_NONE);
    EXPECT_EQ(layers_->AEGP_AddLayer(outer_item, CompHandle(inner), nullptr), A_Err_PARAMETER);
    tlhost::Item& folder = P().AddItem(ItemKind::Folder, "Folder");
    EXPECT_EQ(
        layers_->AEGP_AddLayer(reinterpret_cast<AEGP_ItemH>(const_cast<void*>(folder.handle_key())),
                               CompHandle(main), nullptr),
        A_Err_PARAMETER);
    EXPECT_EQ(Live(), 0u);
}

TEST_F(ProjectItems, ShapeLayersAndShapeItemsComeWithTheHostsSkeletons) {
    Composition& comp = P().AddComposition("Comp");
    AEGP_LayerH first = nullptr;
    AEGP_LayerH second = nullptr;
    ASSERT_EQ(comp18_->AEGP_CreateVectorLayerInComp(CompHandle(comp), &first), A_Err_NONE);
    ASSERT_EQ(comp18_->AEGP_CreateVectorLayerInComp(CompHandle(comp), &second), A_Err_NONE);
    Layer& layer = *reinterpret_cast<Layer*>(first);
    EXPECT_EQ(layer.name(), "Shape Layer 1");
    EXPECT_EQ(reinterpret_cast<Layer*>(second)->name(), "Shape Layer 2");
    EXPECT_EQ(comp.layers()[0], reinterpret_cast<Layer*>(second));

    AEGP_StreamRefH root = nullptr, contents = nullptr, path1 = nullptr, path2 = nullptr,
                    fill = nullptr;
    ASSERT_EQ(dyn_->AEGP_GetNewStreamRefForLayer(kPlugin, first, &root), A_Err_NONE);
    ASSERT_EQ(
        dyn_->AEGP_GetNewStreamRefByMatchname(kPlugin, root, "ADBE Root Vectors Group", &contents),
        A_Err_NONE);
    A_Boolean can = FALSE;
    EXPECT_EQ(dyn_->AEGP_CanAddStream(contents, "ADBE Vector Shape - Group", &can), A_Err_NONE);
    EXPECT_TRUE(can);
    EXPECT_EQ(dyn_->AEGP_CanAddStream(root, "ADBE Vector Shape - Group", &can), A_Err_NONE);
    EXPECT_FALSE(can);
    ASSERT_EQ(dyn_->AEGP_AddStream(kPlugin, contents, "ADBE Vector Shape - Group", &path1),
              A_Err_NONE);
    ASSERT_EQ(dyn_->AEGP_AddStream(kPlugin, contents, "ADBE Vector Shape - Group", &path2),
              A_Err_NONE);
    ASSERT_EQ(dyn_->AEGP_AddStream(kPlugin, contents, "ADBE Vector Graphic - Fill", &fill),
              A_Err_NONE);
    EXPECT_EQ(dyn_->AEGP_AddStream(kPlugin, root, "ADBE Vector Graphic - Fill", nullptr),
              A_Err_PARAMETER);
    EXPECT_EQ(dyn_->AEGP_AddStream(kPlugin, contents, "ADBE Vector Nothing", nullptr),
              A_Err_PARAMETER);
    for (AEGP_StreamRefH h : {fill, path2, path1, contents, root}) streams_->AEGP_DisposeStream(h);

    const StreamNode& group = *layer.root().FindChild("ADBE Root Vectors Group");
    ASSERT_EQ(group.children().size(), 3u);
    EXPECT_EQ(group.children()[0]->name(), "Path 1");
    EXPECT_EQ(group.children()[1]->name(), "Path 2");
    EXPECT_EQ(group.children()[2]->name(), "Fill 1");
    const StreamNode* path = group.children()[0]->FindChild("ADBE Vector Shape");
    ASSERT_NE(path, nullptr);
    EXPECT_TRUE(path->value().path.vertices.empty());
    EXPECT_EQ(group.children()[2]->FindChild("ADBE Vector Fill Color")->value(),
              StreamValue::Color(1, 0, 0, 1));
    EXPECT_EQ(Live(), 0u);
}

TEST_F(ProjectItems, PathOutlinesAreEditedInTheValueAndStoredWithIt) {
    Composition& comp = P().AddComposition("Comp");
    Layer& layer = P().AddShapeLayer(comp);
    StreamNode& contents = *layer.root().FindChild("ADBE Root Vectors Group");
    AEGP_StreamRefH root = nullptr, group = nullptr, path = nullptr;
    ASSERT_EQ(dyn_->AEGP_GetNewStreamRefForLayer(kPlugin, LayerHandle(layer), &root), A_Err_NONE);
    ASSERT_EQ(dyn_->AEGP_GetNewStreamRefByIndex(kPlugin, root, 0, &group), A_Err_NONE);
    streams_->AEGP_DisposeStream(group);
    ASSERT_EQ(
        dyn_->AEGP_GetNewStreamRefByMatchname(kPlugin, root, "ADBE Root Vectors Group", &group),
        A_Err_NONE);
    ASSERT_EQ(dyn_->AEGP_AddStream(kPlugin, group, "ADBE Vector Shape - Group", &path), A_Err_NONE);
    AEGP_StreamRefH shape = nullptr;
    ASSERT_EQ(dyn_->AEGP_GetNewStreamRefByMatchname(kPlugin, path, "ADBE Vector Shape", &shape),
              A_Err_NONE);
    AEGP_StreamValue2 value{};
    ASSERT_EQ(streams_->AEGP_GetNewStreamValue(kPlugin, shape, AEGP_LTimeMode_CompTime, &kTimeZero,
                                               FALSE, &value),
              A_Err_NONE);
    const AEGP_MaskOutlineValH outline = value.val.mask;
    for (A_long i = 0; i < 3; ++i) EXPECT_EQ(outlines_->AEGP_CreateVertex(outline, i), A_Err_NONE);
    EXPECT_EQ(outlines_->AEGP_CreateVertex(outline, 5), A_Err_PARAMETER);
    const AEGP_MaskVertex first{1, 2, 3, 4, 5, 6};
    const AEGP_MaskVertex last{7, 8, 9, 10, 11, 12};
    EXPECT_EQ(outlines_->AEGP_SetMaskOutlineVertexInfo(outline, 0, &first), A_Err_NONE);
    EXPECT_EQ(outlines_->AEGP_SetMaskOutlineVertexInfo(outline, 2, &last), A_Err_NONE);
    A_long segments = 0;
    EXPECT_EQ(outlines_->AEGP_GetMaskOutlineNumSegments(outline, &segments), A_Err_NONE);
    EXPECT_EQ(segments, 2);
    // Open: index 3 is past the end; closed: it names vertex 0 again.
    AEGP_MaskVertex read{};
    EXPECT_EQ(outlines_->AEGP_GetMaskOutlineVertexInfo(outline, 3, &read), A_Err_PARAMETER);
    EXPECT_EQ(outlines_->AEGP_SetMaskOutlineOpen(outline, FALSE), A_Err_NONE);
    EXPECT_EQ(outlines_->AEGP_GetMaskOutlineNumSegments(outline, &segments), A_Err_NONE);
    EXPECT_EQ(segments, 3);
    EXPECT_EQ(outlines_->AEGP_GetMaskOutlineVertexInfo(outline, 3, &read), A_Err_NONE);
    EXPECT_EQ(read.tan_out_y, 6);
    // Each vertex keeps its own tangents.
    EXPECT_EQ(outlines_->AEGP_GetMaskOutlineVertexInfo(outline, 2, &read), A_Err_NONE);
    EXPECT_EQ(read.tan_out_x, 11);
    EXPECT_EQ(outlines_->AEGP_DeleteVertex(outline, 1), A_Err_NONE);
    EXPECT_EQ(streams_->AEGP_SetStreamValue(kPlugin, shape, &value), A_Err_NONE);
    EXPECT_EQ(streams_->AEGP_DisposeStreamValue(&value), A_Err_NONE);
    // The outline went with its value.
    const std::size_t breaches = H().ledger().Violations().size();
    EXPECT_EQ(outlines_->AEGP_CreateVertex(outline, 0), A_Err_PARAMETER);
    EXPECT_EQ(H().ledger().Violations().size(), breaches + 1);
    for (AEGP_StreamRefH h : {shape, path, group, root}) streams_->AEGP_DisposeStream(h);

    const tlhost::ShapePath stored =
        contents.children()[0]->FindChild("ADBE Vector Shape")->value().path;
    EXPECT_TRUE(stored.closed);
    EXPECT_EQ(stored.vertices,
              (std::vector<tlhost::PathVertex>{{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}));
    EXPECT_EQ(Live(), 0u);
}

TEST_F(ProjectItems, A3DLayerHasAnOrientationAndA2DLayerNone) {
    Composition& comp = P().AddComposition("Comp");
    Layer& layer = P().AddLayer(comp, "Layer", LayerKind::Shape);
    auto names = [&] {
        std::vector<std::string> out;
        for (const auto& child : layer.root().FindChild("ADBE Transform Group")->children())
            out.push_back(child->name());
        return out;
    };
    AEGP_StreamRefH orientation = nullptr;
    EXPECT_EQ(streams_->AEGP_GetNewLayerStream(kPlugin, LayerHandle(layer),
                                               AEGP_LayerStream_ORIENTATION, &orientation),
              A_Err_PARAMETER);
    ASSERT_EQ(layers_->AEGP_SetLayerFlag(LayerHandle(layer), AEGP_LayerFlag_LAYER_IS_3D, TRUE),
              A_Err_NONE);
    EXPECT_TRUE(layer.is_3d());
    EXPECT_EQ(names(),
              (std::vector<std::string>{"Anchor Point", "Position", "Scale", "Orientation",
                                        "X Rotation", "Y Rotation", "Z Rotation", "Opacity"}));
    ASSERT_EQ(streams_->AEGP_GetNewLayerStream(kPlugin, LayerHandle(layer),
                                               AEGP_LayerStream_ORIENTATION, &orientation),
              A_Err_NONE);
    // Back to 2D: the orientation goes; a reference still held to it stays safe to give back.
    ASSERT_EQ(layers_->AEGP_SetLayerFlag(LayerHandle(layer), AEGP_LayerFlag_LAYER_IS_3D, FALSE),
              A_Err_NONE);
    EXPECT_EQ(names(), (std::vector<std::string>{"Anchor Point", "Position", "Scale", "Rotation",
                                                 "Opacity"}));
    EXPECT_EQ(streams_->AEGP_DisposeStream(orientation), A_Err_NONE);
    EXPECT_EQ(Live(), 0u);
}

}  // namespace

namespace {

// A file may hold the largest id there is; the ids handed out after it are the
// lowest free ones, never a wrapped-around or taken one.
TEST(ProjectIds, AfterTheLargestIdNewLayersAndItemsTakeTheLowestFreeIds) {
    constexpr A_long kLargest = 2147483647;
    tlhost::Project project;
    Composition& comp = project.AddComposition("Comp", 1);
    project.AddItem(ItemKind::Folder, "Last", kLargest);
    project.AddLayer(comp, "First", LayerKind::Shape, 1);
    project.AddLayer(comp, "Last", LayerKind::Shape, kLargest);
    EXPECT_EQ(project.AddLayer(comp, "New", LayerKind::Null).id(), 2);
    EXPECT_EQ(project.AddLayer(comp, "Newer", LayerKind::Null).id(), 3);
    EXPECT_EQ(project.AddItem(ItemKind::Folder, "New folder").id(), 2);
    EXPECT_EQ(project.AddComposition("New comp").id(), 3);
    EXPECT_NE(project.FindLayer(kLargest), nullptr);
}

}  // namespace

// Layers are found by id and by handle through tables that grow as layers are added: every
// one of many layers is found after each growth, ids that collide in the low bits included,
// and nothing that is not a layer of the project passes for one.
TEST(ProjectLookups, EveryLayerIsFoundByIdAndHandleAndNothingElseIs) {
    tlhost::Project project;
    Composition& comp = project.AddComposition("Comp");
    Composition& other = project.AddComposition("Other");
    std::vector<Layer*> layers;
    for (int i = 0; i < 1500; ++i) {
        // Every third id is a multiple of 4096 or the largest id, so that they share low bits.
        const AEGP_LayerIDVal id = i % 3 == 0 ? (i == 0 ? 2147483647 : 4096 * i) : 0;
        layers.push_back(
            &project.AddLayer(i % 2 ? comp : other, "L" + std::to_string(i), LayerKind::Null, id));
        ASSERT_EQ(project.FindLayer(layers.back()->id()), layers.back());
    }
    for (Layer* layer : layers) {
        EXPECT_EQ(project.FindLayer(layer->id()), layer);
        EXPECT_TRUE(project.IsLayer(layer));
        EXPECT_FALSE(project.IsComposition(layer));
    }
    EXPECT_EQ(project.FindLayer(0), nullptr);
    EXPECT_EQ(project.FindLayer(-1), nullptr);
    EXPECT_EQ(project.FindLayer(4096 * 1501), nullptr);
    EXPECT_FALSE(project.IsLayer(&comp));
    EXPECT_FALSE(project.IsLayer(reinterpret_cast<const char*>(layers[7]) + 1));
    EXPECT_TRUE(project.IsComposition(&other));
    EXPECT_EQ(project.ItemForHandle(comp.handle_key()), &comp);
    EXPECT_EQ(project.ItemForHandle(&comp), nullptr);
}

// A layer's place in the stack is right whatever the order of the questions, and after
// layers are added above, between and below the one asked about last.
TEST(ProjectLookups, PlacesInTheStackHoldInAnyOrderAndAfterInsertions) {
    tlhost::Project project;
    Composition& comp = project.AddComposition("Comp");
    Composition& other = project.AddComposition("Other");
    for (int i = 0; i < 6; ++i) project.AddLayer(comp, "L" + std::to_string(i), LayerKind::Null);
    Layer& elsewhere = project.AddLayer(other, "Elsewhere", LayerKind::Null);
    auto expect_places = [&](const std::vector<std::size_t>& asked) {
        for (std::size_t i : asked) EXPECT_EQ(comp.IndexOf(*comp.layers()[i]), i) << i;
    };
    expect_places({0, 1, 2, 3, 4, 5});
    expect_places({5, 4, 3, 2, 1, 0});
    expect_places({3, 3, 0, 5, 1, 1, 4, 2});
    Layer& asked_last = *comp.layers()[2];
    EXPECT_EQ(comp.IndexOf(asked_last), 2u);
    project.AddLayer(comp, "Top", LayerKind::Null);            // shifts every place
    project.AddLayer(comp, "Between", LayerKind::Null, 0, 3);  // just above it
    project.AddLayer(comp, "Bottom", LayerKind::Null, 0, comp.layers().size());
    EXPECT_EQ(comp.IndexOf(asked_last), 4u);
    expect_places({0, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(comp.IndexOf(elsewhere), comp.layers().size());
    EXPECT_EQ(comp.IndexOf(*comp.layers()[8]), 8u);
}

// Fetching ahead reads only what is there: at the top and the bottom of a stack, on a
// stack of one, on layers with no effects, many effects or an empty tree, and in any
// order; it changes nothing the plug-in can see.
TEST(ProjectLookups, FetchingAheadIsSafeAtTheEdgesAndChangesNothing) {
    tlhost::Project project;
    Composition& single = project.AddComposition("Single");
    Layer& only = project.AddLayer(single, "Only", LayerKind::Null);
    project.FetchLayersAhead(only);
    Composition& comp = project.AddComposition("Comp");
    for (int i = 0; i < 7; ++i) {
        Layer& layer =
            project.AddLayer(comp, "L" + std::to_string(i),
                             i % 2 ? LayerKind::Shape : LayerKind::Null, 0, comp.layers().size());
        if (i == 3) {
            layer.set_root(
                std::make_unique<StreamNode>("ADBE Vector Layer", "L3", tlhost::Grouping::Named));
            continue;
        }
        for (int e = 0; e < i; ++e) {
            layer.AddEffect("ADBE Layer Control", "Control " + std::to_string(e));
        }
    }
    const std::vector<Layer*> before = comp.layers();
    for (std::size_t i = 0; i < before.size(); ++i) project.FetchLayersAhead(*before[i]);
    for (std::size_t i = before.size(); i-- > 0;) project.FetchLayersAhead(*before[i]);
    project.FetchLayersAhead(*before[4]);
    project.FetchLayersAhead(*before[1]);
    for (std::size_t i = 0; i <= before.size(); ++i) project.FetchLayersAhead(comp, i);
    EXPECT_EQ(comp.layers(), before);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(comp.IndexOf(*before[i]), i);
        EXPECT_EQ(project.FindLayer(before[i]->id()), before[i]);
        EXPECT_EQ(before[i]->effects().size(), i == 3 ? 0 : i);
        EXPECT_EQ(before[i]->root().children().empty(), i == 3);
    }
    EXPECT_EQ(single.layers().size(), 1u);
}
