// Layers that show items in project files: the source item written and read back (also when
// it comes later in the file), what a source may be, and 3D layers without a tree of their own.
#include <string>

#include <gtest/gtest.h>

#include "io/ProjectFile.h"

namespace {

using namespace tlhost;

std::string Refused(const std::string& text) {
    Project project;
    LoadError error;
    EXPECT_FALSE(LoadProject(text, project, &error)) << text;
    return error.message();
}

TEST(ProjectFileSources, ALayerShowingACompositionKeepsItsSourceAndPath) {
    Project project;
    Composition& main = project.AddComposition("Main");
    Composition& placeholder = project.AddComposition("TL_Arrowhead");
    Layer& shape = project.AddShapeLayer(placeholder);
    StreamValue outline;
    outline.kind = ValueKind::Path;
    outline.path.closed = true;
    outline.path.vertices = {{46.064, -7.033, 1.424, 0, 0, 0}, {37.549, -7.033, 0, 0, 0, 0}};
    shape.root().FindChild("ADBE Root Vectors Group")->AddChild(
        std::make_unique<StreamNode>("ADBE Vector Shape", "Path", Grouping::Leaf, ValueKind::Path))
        .set_value(outline);
    Layer& shown = project.AddLayerShowing(main, placeholder);
    project.SetLayer3D(shown, true);

    const std::string saved = SaveProject(project);
    EXPECT_NE(saved.find("\"source\": " + std::to_string(placeholder.id())), std::string::npos);
    Project back;
    LoadError error;
    ASSERT_TRUE(LoadProject(saved, back, &error)) << error.message();
    Layer& read = *back.FindLayer(shown.id());
    ASSERT_NE(read.source(), nullptr);
    EXPECT_EQ(read.source()->name(), "TL_Arrowhead");
    EXPECT_TRUE(read.is_3d());
    EXPECT_NE(read.root().FindChild("ADBE Transform Group")->FindChild("ADBE Orientation"),
              nullptr);
    EXPECT_EQ(back.FindLayer(shape.id())
                  ->root()
                  .FindChild("ADBE Root Vectors Group")
                  ->children()[0]
                  ->value()
                  .path,
              outline.path);
    EXPECT_EQ(SaveProject(back), saved);
}

TEST(ProjectFileSources, ASourceMayComeLaterAndA3DLayerGetsTheHosts3DTree) {
    Project project;
    LoadError error;
    ASSERT_TRUE(LoadProject(R"({"items": [
        {"name": "Main", "type": "composition", "id": 1, "layers": [
            {"id": 1, "name": "P", "type": "precomp", "source": 2,
             "flags": ["video_active", "layer_is_3d"]}]},
        {"name": "Inner", "type": "composition", "id": 2}]})",
                            project, &error))
        << error.message();
    Layer& layer = *project.FindLayer(1);
    EXPECT_EQ(layer.source(), project.FindItem(2));
    EXPECT_NE(layer.root().FindChild("ADBE Transform Group")->FindChild("ADBE Rotate X"), nullptr);
}

TEST(ProjectFileSources, SourcesThatCannotBeAreRefusedWithTheirPlace) {
    const std::string head =
        R"({"items": [{"name": "Folder", "type": "folder", "id": 3},
                      {"name": "Clip", "type": "footage", "id": 4},
                      {"name": "Main", "type": "composition", "id": 1, "layers": [)";
    const std::string tail = "]}]}";
    EXPECT_EQ(Refused(head + R"({"id": 1, "name": "P", "type": "precomp", "source": 9})" + tail),
              "/items/2/layers/0/source: refers to item id 9, which no item of the project has");
    EXPECT_EQ(Refused(head + R"({"id": 1, "name": "P", "type": "precomp", "source": 3})" + tail),
              "/items/2/layers/0/source: a precomp layer cannot show the folder \"Folder\"");
    EXPECT_EQ(Refused(head + R"({"id": 1, "name": "P", "type": "precomp", "source": 4})" + tail),
              "/items/2/layers/0/source: a precomp layer cannot show the footage \"Clip\"");
    EXPECT_EQ(Refused(head + R"({"id": 1, "name": "P", "type": "precomp", "source": 1})" + tail),
              "/items/2/layers/0/source: the composition \"Main\" would show itself");
    EXPECT_EQ(Refused(head + R"({"id": 1, "name": "P", "type": "precomp", "source": 0})" + tail),
              "/items/2/layers/0/source: must be at least 1");
}

}  // namespace
