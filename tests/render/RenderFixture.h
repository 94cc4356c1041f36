// Shape layers built in code for the renderer's tests, and pictures of them: a composition on
// a black background, values read before expressions unless a test gives its own reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Project.h"
#include "render/CompositionRenderer.h"

namespace rendertest {

using tlhost::Grouping;
using tlhost::Layer;
using tlhost::ShapePath;
using tlhost::StreamNode;
using tlhost::StreamValue;
using tlhost::ValueKind;

inline constexpr char kStroke[] = "ADBE Vector Graphic - Stroke";
inline constexpr char kFill[] = "ADBE Vector Graphic - Fill";
inline constexpr char kGradientStroke[] = "ADBE Vector Graphic - G-Stroke";
inline constexpr char kGradientFill[] = "ADBE Vector Graphic - G-Fill";

// A path through the points, with no tangents.
ShapePath Polyline(std::vector<std::pair<double, double>> points, bool closed = false);

// Adds a leaf with a value; the value's kind is the leaf's.
StreamNode& Leaf(StreamNode& parent, const std::string& match_name, const StreamValue& value,
                 const std::string& name = "");
StreamNode& Number(StreamNode& parent, const std::string& match_name, double value);
// The child with that match name (fails the test when there is none).
StreamNode& Child(StreamNode& group, const std::string& match_name);

// A shape layer's contents group ("ADBE Root Vectors Group").
StreamNode& Root(Layer& layer);

// Shape items added at the end of a contents group ("ADBE Root Vectors Group" or a group's
// "ADBE Vectors Group").
StreamNode& PathItem(StreamNode& contents, const ShapePath& path,
                     const std::string& name = "Path 1");
// A group with an empty transform group; returns the group (its contents: Contents(group)).
StreamNode& GroupItem(StreamNode& contents, const std::string& name = "Group 1");
StreamNode& Contents(StreamNode& group);
StreamNode& TransformOf(StreamNode& group);
// A plain stroke or fill of a colour; further properties are added with Number().
StreamNode& StrokeItem(StreamNode& contents, double width, double r = 1, double g = 1, double b = 1,
                       const std::string& name = "Stroke 1");
StreamNode& FillItem(StreamNode& contents, double r = 1, double g = 1, double b = 1,
                     const std::string& name = "Fill 1");
// A gradient stroke or fill from `start` to `end` of the given type (1 linear, 2 radial).
StreamNode& GradientItem(StreamNode& contents, const char* kind, int type,
                         std::pair<double, double> start, std::pair<double, double> end);
StreamNode& TrimItem(StreamNode& contents, double start, double end, double offset = 0,
                     int type = 1);
// Shown dash properties (dash, gap, ...) and an offset under a stroke.
void Dashes(StreamNode& stroke, std::vector<double> pattern, double offset = 0);

// Straight RGBA as 0xRRGGBBAA.
constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return r << 24 | g << 16 | b << 8 | 0xFF;
}
constexpr std::uint32_t kBlack = Rgb(0, 0, 0);
constexpr std::uint32_t kWhite = Rgb(255, 255, 255);

class RenderTest : public ::testing::Test {
  protected:
    RenderTest();

    tlhost::Project& P() { return project_; }
    tlhost::Composition& Comp() { return *comp_; }
    // A shape layer on top of the composition; its contents group.
    Layer& AddShapeLayer(const std::string& name = "Shape Layer 1");

    // Draws the composition at `time`; fails the test when the picture cannot be made.
    tlhost::RenderedImage Draw(double time = 0, double scale = 1);
    // The notes of the last drawing.
    const std::vector<std::string>& Notes() const { return notes_.texts(); }

    // Reads values for the drawings: before expressions unless replaced.
    tlhost::ValueReader read;

  private:
    tlhost::Project project_;
    tlhost::Composition* comp_ = nullptr;
    tlhost::RenderNotes notes_;
};

// One channel of a pixel.
inline int Red(std::uint32_t px) {
    return static_cast<int>(px >> 24);
}
inline int Green(std::uint32_t px) {
    return static_cast<int>(px >> 16 & 0xFF);
}
inline int Blue(std::uint32_t px) {
    return static_cast<int>(px >> 8 & 0xFF);
}
// Whether every channel of the pixel is within `tolerance` of the colour's.
::testing::AssertionResult Near(std::uint32_t px, std::uint32_t want, int tolerance = 2);
// The grey level of a pixel drawn white over black with the coverage `fraction`.
int Grey(double fraction);

}  // namespace rendertest
