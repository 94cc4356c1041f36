// Outlines, their lengths and trimming, checked against lengths and points worked out by hand.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "render/Geometry.h"
#include "render/RenderFixture.h"

namespace rendertest {
namespace {

using tlhost::Affine;
using tlhost::Outline;
using tlhost::Point;

constexpr double kPi = 3.14159265358979323846;

Outline Line(double x0, double y0, double x1, double y1) {
    return tlhost::OutlineOf(Polyline({{x0, y0}, {x1, y1}}));
}

void ExpectPoint(Point p, double x, double y, double tolerance = 1e-6) {
    EXPECT_NEAR(p.x, x, tolerance);
    EXPECT_NEAR(p.y, y, tolerance);
}

TEST(Outlines, FollowVerticesAndTangentsAndCloseBackToTheFirstVertex) {
    ShapePath path = Polyline({{0, 0}, {100, 0}, {100, 50}}, true);
    path.vertices[0].out_x = 30;
    path.vertices[1].in_x = -20;
    path.vertices[1].in_y = 5;
    const Outline o = tlhost::OutlineOf(path);
    ASSERT_EQ(o.Segments(), 3u);
    EXPECT_TRUE(o.closed);
    ExpectPoint(o.points[1], 30, 0);  // the first vertex's out-tangent
    ExpectPoint(o.points[2], 80, 5);  // the second vertex's in-tangent
    ExpectPoint(o.points[3], 100, 0);
    ExpectPoint(o.points[9], 0, 0);  // back to the start

    // One vertex is a lone point; a closed path of one vertex does not close.
    const Outline lone = tlhost::OutlineOf(Polyline({{5, 5}}, true));
    EXPECT_TRUE(lone.Empty());
    EXPECT_FALSE(lone.closed);
    EXPECT_TRUE(tlhost::OutlineOf(ShapePath{}).points.empty());
}

TEST(Outlines, LengthsOfLinesAndOfTheQuarterCircleCubic) {
    EXPECT_NEAR(tlhost::Length(Line(0, 0, 30, 40)), 50, 1e-9);
    // The usual cubic for a quarter circle of radius 100 runs 157.08 long (the circle's
    // quarter is 157.0796; the cubic bulges out by 0.027 % at most).
    ShapePath quarter = Polyline({{100, 0}, {0, 100}});
    quarter.vertices[0].out_y = 55.22847498;
    quarter.vertices[1].in_x = 55.22847498;
    EXPECT_NEAR(tlhost::Length(tlhost::OutlineOf(quarter)), 100 * kPi / 2, 0.05);
}

TEST(Outlines, ASectionFollowsTheCurveAndStartsAndEndsAtTheLengthsAsked) {
    EXPECT_NEAR(tlhost::Length(tlhost::Section(Line(0, 0, 100, 0), 25, 75)), 50, 1e-6);
    const Outline cut = tlhost::Section(Line(0, 0, 100, 0), 25, 75);
    ExpectPoint(cut.points.front(), 25, 0);
    ExpectPoint(cut.points.back(), 75, 0);

    // Half of a symmetric arch ends at its top, and the halves add up to the whole.
    ShapePath arch = Polyline({{0, 0}, {100, 0}});
    arch.vertices[0].out_y = -60;
    arch.vertices[1].in_y = -60;
    const Outline whole = tlhost::OutlineOf(arch);
    const double length = tlhost::Length(whole);
    const Outline first = tlhost::Section(whole, 0, length / 2);
    ExpectPoint(first.points.back(), 50, -45, 1e-4);  // the cubic's top: 3/4 of 60
    EXPECT_NEAR(tlhost::Length(first) + tlhost::Length(tlhost::Section(whole, length / 2, length)),
                length, 1e-6);
    // A section over several segments runs through the vertices between.
    const Outline l = tlhost::OutlineOf(Polyline({{0, 0}, {10, 0}, {10, 10}}));
    const Outline around = tlhost::Section(l, 5, 15);
    ASSERT_EQ(around.Segments(), 2u);
    ExpectPoint(around.points[3], 10, 0);
    ExpectPoint(around.points[6], 10, 5);
}

TEST(TrimOutlines, FractionsAreClampedSwappedAndMovedByWholeTurns) {
    const std::vector<Outline> line{Line(0, 0, 100, 0)};
    auto span = [&](double s, double e, double offset) {
        const auto kept = tlhost::Trim(line, s, e, offset, true);
        EXPECT_EQ(kept.size(), 1u);
        std::vector<std::pair<double, double>> xs;
        for (const Outline& o : kept[0]) xs.push_back({o.points.front().x, o.points.back().x});
        return xs;
    };
    using Spans = std::vector<std::pair<double, double>>;
    auto near = [](const Spans& got, const Spans& want) {
        if (got.size() != want.size()) return false;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (std::abs(got[i].first - want[i].first) > 1e-6 ||
                std::abs(got[i].second - want[i].second) > 1e-6)
                return false;
        }
        return true;
    };
    EXPECT_TRUE(near(span(0.25, 0.75, 0), Spans{{25, 75}}));
    EXPECT_TRUE(near(span(0.75, 0.25, 0), Spans{{25, 75}}));
    EXPECT_TRUE(near(span(-1, 0.5, 0), Spans{{0, 50}}));
    EXPECT_TRUE(near(span(0.5, 7, 0), Spans{{50, 100}}));
    EXPECT_TRUE(near(span(0.25, 0.75, 1.25), Spans{{50, 100}}));  // whole turns drop out
    EXPECT_TRUE(near(span(0.25, 0.75, -0.25), Spans{{0, 50}}));   // back by a quarter
    EXPECT_TRUE(near(span(0.25, 0.75, 0.5), Spans{{0, 25}, {75, 100}}));
    EXPECT_TRUE(span(0.4, 0.4, 0.3).empty());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(near(span(nan, 0.5, nan), Spans{{0, 50}}));
}

TEST(TrimOutlines, TheWholeLengthLeavesOutlinesAsTheyWereClosedOnesClosed) {
    const Outline square = tlhost::OutlineOf(Polyline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true));
    const auto kept = tlhost::Trim({square, Line(0, 0, 0, 0)}, 0, 1, 0.3, false);
    ASSERT_EQ(kept.size(), 2u);
    ASSERT_EQ(kept[0].size(), 1u);
    EXPECT_TRUE(kept[0][0].closed);
    EXPECT_EQ(kept[0][0].points.size(), square.points.size());
    EXPECT_EQ(kept[1].size(), 1u);  // even a path of no length
}

TEST(TrimOutlines, PiecesOfAClosedOutlineAcrossItsStartAreOnePieceThroughIt) {
    const Outline square =
        tlhost::OutlineOf(Polyline({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, true));
    // 0.8 .. 1.0 turned by 0.1 is 0.9 .. 1.1 of 400: from (0, 40) up to the start and on to
    // (40, 0).
    const auto kept = tlhost::Trim({square}, 0.8, 1.0, 0.1, true);
    ASSERT_EQ(kept[0].size(), 1u);
    const Outline& piece = kept[0][0];
    EXPECT_FALSE(piece.closed);
    ExpectPoint(piece.points.front(), 0, 40);
    ExpectPoint(piece.points.back(), 40, 0);
    EXPECT_NEAR(tlhost::Length(piece), 80, 1e-6);
    // An open outline keeps two pieces.
    EXPECT_EQ(tlhost::Trim({Line(0, 0, 100, 0)}, 0.8, 1.0, 0.1, true)[0].size(), 2u);
}

TEST(TrimOutlines, IndividuallyTheFractionsAreOfTheRunInOrder) {
    const std::vector<Outline> two{Line(0, 0, 100, 0), Line(0, 10, 300, 10)};
    // 0.2 .. 0.5 of 400 is 80 .. 200: 80 .. 100 of the first, 0 .. 100 of the second.
    const auto kept = tlhost::Trim(two, 0.2, 0.5, 0, false);
    ASSERT_EQ(kept.size(), 2u);
    ASSERT_EQ(kept[0].size(), 1u);
    ASSERT_EQ(kept[1].size(), 1u);
    ExpectPoint(kept[0][0].points.front(), 80, 0);
    ExpectPoint(kept[1][0].points.back(), 100, 10);
    // Simultaneously: 20 .. 50 of the first, 60 .. 150 of the second.
    const auto each = tlhost::Trim(two, 0.2, 0.5, 0, true);
    ExpectPoint(each[0][0].points.front(), 20, 0);
    ExpectPoint(each[1][0].points.front(), 60, 10);
    ExpectPoint(each[1][0].points.back(), 150, 10);
}

TEST(AffineMaps, ComposeInnerFirstAndInvertUnlessFlat) {
    const Affine scale = Affine::Scaling(2, 3);
    const Affine move = Affine::Translation(10, 20);
    ExpectPoint((move * scale).Apply({1, 1}), 12, 23);
    ExpectPoint((scale * move).Apply({1, 1}), 22, 63);
    Affine inverse;
    ASSERT_TRUE((move * scale).Invert(&inverse));
    ExpectPoint(inverse.Apply({12, 23}), 1, 1);
    EXPECT_FALSE(Affine::Scaling(0, 1).Invert(&inverse));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(Affine::Scaling(nan, 1).Invert(&inverse));
}

}  // namespace
}  // namespace rendertest
