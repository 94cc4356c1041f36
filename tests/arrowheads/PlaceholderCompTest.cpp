// The placeholder composition: built once with the outline table's graphic, found by its exact
// name among compositions only, and timed after the composition it is exported into.
#include <gtest/gtest.h>

#include "arrowheads/ArrowheadFixture.h"
#include "arrowheads/OutlineTable.h"
#include "arrowheads/PlaceholderLayer.h"
#include "support/TestSupport.h"

namespace arrowtest {
namespace {

using tlhost::ItemKind;

class PlaceholderComp : public ArrowheadTest {
  protected:
    // One connection with one arrowhead, exported once; the composition the export used.
    tlhost::Composition* ExportOne() {
        AddConnection("Line", WithSets({{"Arrowheads 1", {"End Arrowhead"}}}));
        const CommandReport report = Press();
        EXPECT_EQ(report.result, A_Err_NONE);
        EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
        const std::vector<Layer*> placeholders = Placeholders();
        if (placeholders.size() != 1u) {
            ADD_FAILURE() << placeholders.size() << " placeholders";
            return nullptr;
        }
        return static_cast<tlhost::Composition*>(placeholders[0]->source());
    }
};

TEST_F(PlaceholderComp, IsBuiltWithTheOutlineTablesGraphicInAWhiteFill) {
    Comp().pixel_aspect = A_Ratio{10, 11};
    Comp().duration = A_Time{12, 1};
    tlhost::Composition* comp = ExportOne();
    ASSERT_NE(comp, nullptr);
    EXPECT_EQ(comp->name(), "TL_Arrowhead");
    EXPECT_EQ(comp->width, 100);
    EXPECT_EQ(comp->height, 100);
    EXPECT_EQ(comp->pixel_aspect.num, 10);
    EXPECT_EQ(comp->pixel_aspect.den, 11u);
    EXPECT_EQ(comp->duration.value, 12);
    EXPECT_EQ(comp->duration.scale, 1u);
    ASSERT_EQ(comp->layers().size(), 1u);
    Layer& shape = *comp->layers()[0];
    EXPECT_EQ(shape.kind(), LayerKind::Shape);
    EXPECT_EQ(TransformProperty(shape, "ADBE Position")->value(), StreamValue::ThreeD(49, 50, 0));

    // Four closed paths, then the fill; 23 vertices in all, each as the table gives it.
    const StreamNode& contents = Contents(shape);
    ASSERT_EQ(contents.children().size(), 5u);
    std::size_t vertices = 0;
    for (int path = 1; path <= kArrowheadOutlinePaths; ++path) {
        const StreamNode& group = *contents.children()[static_cast<std::size_t>(path - 1)];
        ASSERT_EQ(group.match_name(), "ADBE Vector Shape - Group");
        const tlhost::ShapePath outline = group.FindChild("ADBE Vector Shape")->value().path;
        EXPECT_TRUE(outline.closed) << path;
        std::size_t i = 0;
        for (const OutlineVertex& row : kArrowheadOutline) {
            if (row.path != path) continue;
            ASSERT_LT(i, outline.vertices.size());
            EXPECT_EQ(outline.vertices[i],
                      (tlhost::PathVertex{row.x, row.y, row.in_x, row.in_y, row.out_x, row.out_y}))
                << "path " << path << " vertex " << i;
            ++i;
        }
        EXPECT_EQ(outline.vertices.size(), i) << path;
        vertices += outline.vertices.size();
    }
    EXPECT_EQ(vertices, 23u);
    const StreamNode& fill = *contents.children()[4];
    EXPECT_EQ(fill.match_name(), "ADBE Vector Graphic - Fill");
    EXPECT_EQ(fill.FindChild("ADBE Vector Fill Color")->value(), StreamValue::Color(1, 1, 1, 1));
}

TEST_F(PlaceholderComp, TheFrameRateIsTheTargetsCutToThousandths) {
    Comp().frame_rate = 30000.0 / 1001.0;
    tlhost::Composition* ntsc = ExportOne();
    ASSERT_NE(ntsc, nullptr);
    EXPECT_EQ(ntsc->frame_rate, 29.97);
    EXPECT_EQ(ntsc->frame_duration.value, 1001);
    EXPECT_EQ(ntsc->frame_duration.scale, 30000u);

    EXPECT_EQ(PlaceholderFrameRate(25).num, 25000);
    EXPECT_EQ(PlaceholderFrameRate(25).den, 1000u);
    EXPECT_EQ(PlaceholderFrameRate(30000.0 / 1001.0).num, 29970);
    EXPECT_EQ(PlaceholderFrameRate(23.976023976).num, 23976);
    EXPECT_EQ(PlaceholderFrameRate(1e300).num, 2147483647);
}

TEST_F(PlaceholderComp, At25FramesASecondItRunsAt25) {
    Comp().frame_rate = 25;
    tlhost::Composition* comp = ExportOne();
    ASSERT_NE(comp, nullptr);
    EXPECT_EQ(comp->frame_rate, 25.0);
}

// A folder and footage of that name, and compositions whose names differ in case or have
// anything before or after it, do not count.
TEST_F(PlaceholderComp, OnlyACompositionNamedExactlySoIsFound) {
    P().AddItem(ItemKind::Folder, "TL_Arrowhead");
    P().AddItem(ItemKind::Footage, "TL_Arrowhead");
    for (const char* name : {"tl_arrowhead", "TL_Arrowhead ", " TL_Arrowhead", "TL_Arrowhead 2",
                             "TL_ArrowheadTL_Arrowhead"}) {
        P().AddComposition(name);
    }
    tlhost::Composition* comp = ExportOne();
    ASSERT_NE(comp, nullptr);
    EXPECT_EQ(comp->name(), "TL_Arrowhead");
    EXPECT_EQ(comp->layers().size(), 1u);
    EXPECT_EQ(P().items().back().get(), comp);
}

// The first of two in project order wins and is used as it is, whatever it holds.
TEST_F(PlaceholderComp, TheFirstOfTwoIsUsedAsItIs) {
    tlhost::Composition& first = P().AddComposition("TL_Arrowhead");
    P().AddComposition("TL_Arrowhead");
    const std::size_t items = P().items().size();
    EXPECT_EQ(ExportOne(), &first);
    EXPECT_TRUE(first.layers().empty());
    EXPECT_EQ(P().items().size(), items);
}

// A composition whose building failed part way is found and used by the next export.
TEST_F(PlaceholderComp, APartlyBuiltCompositionIsUsedByTheNextExport) {
    AddConnection("Line", WithSets({{"Arrowheads 1", {"End Arrowhead"}}}));
    FailNext("AEGP_AddStream", 2, A_Err_GENERIC);
    const CommandReport failed = Press();
    EXPECT_TRUE(failed.clean()) << tltest::Leftovers(failed);
    EXPECT_TRUE(Placeholders().empty());
    ASSERT_EQ(PlaceholderComps().size(), 1u);
    EXPECT_EQ(Contents(*PlaceholderComps()[0]->layers()[0]).children().size(), 1u);

    ASSERT_EQ(Press().result, A_Err_NONE);
    ASSERT_EQ(PlaceholderComps().size(), 1u);
    ASSERT_EQ(Placeholders().size(), 1u);
    EXPECT_EQ(Contents(*PlaceholderComps()[0]->layers()[0]).children().size(), 1u);
}

}  // namespace
}  // namespace arrowtest
