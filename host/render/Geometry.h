// Plane geometry for drawing shape layers: affine maps, outlines made of cubic Bezier segments,
// their lengths, and cutting an outline between two fractions of its length (trim paths).
#pragma once

#include <cstddef>
#include <vector>

#include "model/Stream.h"

namespace tlhost {

struct Point {
    double x = 0, y = 0;
};

// x' = xx * x + xy * y + x0; y' = yx * x + yy * y + y0 (cairo's layout).
struct Affine {
    double xx = 1, yx = 0, xy = 0, yy = 1, x0 = 0, y0 = 0;

    static Affine Translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Affine Scaling(double x, double y) { return {x, 0, 0, y, 0, 0}; }
    // The map that applies `inner` first, then this one.
    Affine operator*(const Affine& inner) const;
    Point Apply(Point p) const;
    double Determinant() const { return xx * yy - xy * yx; }
    // The inverse, or false when the map squashes the plane onto a line or a point.
    bool Invert(Affine* out) const;
};

// One connected outline: a start point followed by cubic segments, each given by two control
// points and an end point (so `points` holds 1 + 3n points). A closed outline's last segment
// ends on its first point.
struct Outline {
    std::vector<Point> points;
    bool closed = false;

    std::size_t Segments() const { return points.empty() ? 0 : (points.size() - 1) / 3; }
    bool Empty() const { return Segments() == 0; }
};

// The outline of a path value: from each vertex to the next through the vertex's out-tangent
// and the next one's in-tangent (both relative to their vertices), and back to the first vertex
// when the path is closed. A path of one vertex gives a lone point (no segments), which draws
// nothing.
Outline OutlineOf(const ShapePath& path);

Outline Transformed(const Outline& outline, const Affine& map);

// Length of one segment, and of the whole outline.
double SegmentLength(const Point* segment);
double Length(const Outline& outline);

// The part of `outline` between the lengths `from` and `to` (0 <= from <= to <= length),
// as an open outline whose segments follow the original curves exactly.
Outline Section(const Outline& outline, double from, double to);

// Trim paths: what is left of outlines between the fractions `start` and `end` (0 to 1 of
// the length, swapped when start > end), moved along by `offset` turns.
//
// The rules (the host's own are those of its Trim Paths operator; where they are not known
// these were chosen and are tested):
//   - start and end are clamped to 0..1 and swapped when start is after end; equal fractions
//     leave nothing; a span of the whole length leaves each outline as it was (a closed one
//     stays closed);
//   - the offset moves both ends along the outline, wrapping around past its end: a span that
//     then crosses the end of an open outline is two pieces, one at each end; on a closed
//     outline the two pieces are joined through the starting point into one piece;
//   - `each_alone` (trim multiple shapes "Simultaneously") trims every outline by the same
//     fractions of its own length; otherwise ("Individually") the outlines are taken as one
//     run, in their order, and the fractions are of the run's total length.
// The result holds, for each outline given, the pieces left of it (none, one or two).
std::vector<std::vector<Outline>> Trim(const std::vector<Outline>& outlines, double start,
                                       double end, double offset, bool each_alone);

}  // namespace tlhost
