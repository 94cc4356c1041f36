#include "render/Geometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tlhost {

Affine Affine::operator*(const Affine& b) const {
    Affine out;
    out.xx = xx * b.xx + xy * b.yx;
    out.yx = yx * b.xx + yy * b.yx;
    out.xy = xx * b.xy + xy * b.yy;
    out.yy = yx * b.xy + yy * b.yy;
    out.x0 = xx * b.x0 + xy * b.y0 + x0;
    out.y0 = yx * b.x0 + yy * b.y0 + y0;
    return out;
}

Point Affine::Apply(Point p) const {
    return {xx * p.x + xy * p.y + x0, yx * p.x + yy * p.y + y0};
}

bool Affine::Invert(Affine* out) const {
    const double det = Determinant();
    if (!std::isfinite(det) || std::abs(det) < 1e-12) return false;
    Affine inv;
    inv.xx = yy / det;
    inv.xy = -xy / det;
    inv.yx = -yx / det;
    inv.yy = xx / det;
    inv.x0 = -(inv.xx * x0 + inv.xy * y0);
    inv.y0 = -(inv.yx * x0 + inv.yy * y0);
    *out = inv;
    return true;
}

Outline OutlineOf(const ShapePath& path) {
    Outline out;
    const auto& v = path.vertices;
    if (v.empty()) return out;
    out.points.push_back({v[0].x, v[0].y});
    auto segment = [&](const PathVertex& a, const PathVertex& b) {
        out.points.push_back({a.x + a.out_x, a.y + a.out_y});
        out.points.push_back({b.x + b.in_x, b.y + b.in_y});
        out.points.push_back({b.x, b.y});
    };
    for (std::size_t i = 1; i < v.size(); ++i) segment(v[i - 1], v[i]);
    if (path.closed && v.size() > 1) segment(v.back(), v.front());
    out.closed = path.closed && v.size() > 1;
    return out;
}

Outline Transformed(const Outline& outline, const Affine& map) {
    Outline out = outline;
    for (Point& p : out.points) p = map.Apply(p);
    return out;
}

namespace {

Point Lerp(Point a, Point b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

// The speed |B'(t)| of a cubic segment.
double Speed(const Point* s, double t) {
    const double u = 1 - t;
    const double dx = 3 * u * u * (s[1].x - s[0].x) + 6 * u * t * (s[2].x - s[1].x) +
                      3 * t * t * (s[3].x - s[2].x);
    const double dy = 3 * u * u * (s[1].y - s[0].y) + 6 * u * t * (s[2].y - s[1].y) +
                      3 * t * t * (s[3].y - s[2].y);
    return std::hypot(dx, dy);
}

// Length of the segment from 0 to t: Gauss-Legendre, five points on each of eight pieces
// (far below a thousandth of a pixel for the curves shape layers hold).
double LengthTo(const Point* s, double t) {
    static constexpr std::array<double, 5> kNodes{0.0, -0.5384693101056831, 0.5384693101056831,
                                                  -0.9061798459386640, 0.9061798459386640};
    static constexpr std::array<double, 5> kWeights{0.5688888888888889, 0.4786286704993665,
                                                    0.4786286704993665, 0.2369268850561891,
                                                    0.2369268850561891};
    constexpr int kPieces = 8;
    double sum = 0;
    const double piece = t / kPieces;
    for (int k = 0; k < kPieces; ++k) {
        const double mid = piece * (k + 0.5);
        for (std::size_t i = 0; i < kNodes.size(); ++i) {
            sum += kWeights[i] * Speed(s, mid + kNodes[i] * piece / 2) * piece / 2;
        }
    }
    return sum;
}

// The parameter at which the segment has run `length` (0 <= length <= its length).
double ParameterAt(const Point* s, double length, double total) {
    if (length <= 0) return 0;
    if (length >= total) return 1;
    double lo = 0, hi = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        if (LengthTo(s, mid) < length) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return (lo + hi) / 2;
}

// The part of a cubic segment between parameters t0 and t1, as four points.
std::array<Point, 4> SubSegment(const Point* s, double t0, double t1) {
    // Split at t1 and keep the first part, then split that at t0 / t1 and keep the second.
    std::array<Point, 4> c{s[0], s[1], s[2], s[3]};
    if (t1 < 1) {
        const Point p01 = Lerp(c[0], c[1], t1), p12 = Lerp(c[1], c[2], t1),
                    p23 = Lerp(c[2], c[3], t1);
        const Point p012 = Lerp(p01, p12, t1), p123 = Lerp(p12, p23, t1);
        c = {c[0], p01, p012, Lerp(p012, p123, t1)};
    }
    const double u = t1 > 0 ? t0 / t1 : 0;
    if (u > 0) {
        const Point p01 = Lerp(c[0], c[1], u), p12 = Lerp(c[1], c[2], u), p23 = Lerp(c[2], c[3], u);
        const Point p012 = Lerp(p01, p12, u), p123 = Lerp(p12, p23, u);
        c = {Lerp(p012, p123, u), p123, p23, c[3]};
    }
    return c;
}

}  // namespace

double SegmentLength(const Point* segment) {
    return LengthTo(segment, 1);
}

double Length(const Outline& outline) {
    double sum = 0;
    for (std::size_t i = 0; i < outline.Segments(); ++i)
        sum += SegmentLength(&outline.points[3 * i]);
    return sum;
}

Outline Section(const Outline& outline, double from, double to) {
    Outline out;
    double at = 0;  // length where the current segment starts
    for (std::size_t i = 0; i < outline.Segments(); ++i) {
        const Point* s = &outline.points[3 * i];
        const double len = SegmentLength(s);
        const double a = std::max(from, at), b = std::min(to, at + len);
        if (b > a) {
            const double t0 = ParameterAt(s, a - at, len);
            const double t1 = ParameterAt(s, b - at, len);
            const std::array<Point, 4> c = SubSegment(s, t0, t1);
            if (out.points.empty()) out.points.push_back(c[0]);
            out.points.insert(out.points.end(), {c[1], c[2], c[3]});
        }
        at += len;
        if (at > to) break;
    }
    return out;
}

namespace {

// A span of a run of outlines, in lengths from the run's start.
struct Span {
    double from, to;
};

// The pieces of one outline that lie in the spans; `offset` is where the outline starts in
// the run and `len` its length.
void CutOutline(const Outline& outline, double offset, double len, const std::vector<Span>& spans,
                std::vector<Outline>* out) {
    std::vector<Span> local;
    for (const Span& span : spans) {
        const double a = std::max(span.from - offset, 0.0);
        const double b = std::min(span.to - offset, len);
        if (b > a) local.push_back({a, b});
    }
    if (local.empty()) return;
    // Tolerances of a millionth of the length decide whether a piece reaches an end.
    const double eps = 1e-9 * std::max(len, 1.0);
    if (local.size() == 1 && local[0].from <= eps && local[0].to >= len - eps) {
        out->push_back(outline);
        return;
    }
    if (outline.closed && local.size() == 2 && local[0].from <= eps && local[1].to >= len - eps) {
        // One piece runs up to the closing point and the other on from it: one piece.
        Outline joined = Section(outline, local[1].from, local[1].to);
        const Outline rest = Section(outline, local[0].from, local[0].to);
        if (joined.points.empty()) {
            joined = rest;
        } else if (!rest.points.empty()) {
            joined.points.insert(joined.points.end(), rest.points.begin() + 1, rest.points.end());
        }
        out->push_back(std::move(joined));
        return;
    }
    for (const Span& span : local) {
        Outline piece = Section(outline, span.from, span.to);
        if (!piece.Empty()) out->push_back(std::move(piece));
    }
}

double Clamp01(double v) {
    return std::isfinite(v) ? std::min(1.0, std::max(0.0, v)) : 0.0;
}

// The spans of a run of `total` length that the fractions keep, in run order.
std::vector<Span> KeptSpans(double start, double end, double offset, double total) {
    double s = Clamp01(start), e = Clamp01(end);
    if (s > e) std::swap(s, e);
    if (e - s >= 1) return {{0, total}};
    if (e == s) return {};
    double shift = std::isfinite(offset) ? offset - std::floor(offset) : 0;
    s += shift;
    e += shift;
    if (s >= 1) {
        s -= 1;
        e -= 1;
    }
    if (e <= 1) return {{s * total, e * total}};
    return {{0, (e - 1) * total}, {s * total, total}};
}

}  // namespace

std::vector<std::vector<Outline>> Trim(const std::vector<Outline>& outlines, double start,
                                       double end, double offset, bool each_alone) {
    std::vector<std::vector<Outline>> out(outlines.size());
    if (std::abs(Clamp01(end) - Clamp01(start)) >= 1) {
        for (std::size_t i = 0; i < outlines.size(); ++i) out[i].push_back(outlines[i]);
        return out;
    }
    std::vector<double> lengths;
    for (const Outline& o : outlines) lengths.push_back(Length(o));
    if (each_alone) {
        for (std::size_t i = 0; i < outlines.size(); ++i) {
            CutOutline(outlines[i], 0, lengths[i], KeptSpans(start, end, offset, lengths[i]),
                       &out[i]);
        }
        return out;
    }
    double total = 0;
    for (double len : lengths) total += len;
    const std::vector<Span> spans = KeptSpans(start, end, offset, total);
    double at = 0;
    for (std::size_t i = 0; i < outlines.size(); ++i) {
        CutOutline(outlines[i], at, lengths[i], spans, &out[i]);
        at += lengths[i];
    }
    return out;
}

}  // namespace tlhost
