// make_icons: draws the module panel's button images and writes them as C++ source.
//
//     make_icons OUT.cpp           writes plugin/panel/ButtonImages.cpp (or any path)
//     make_icons --check OUT.cpp   exits 1 when OUT.cpp differs from what would be written
//
// Every icon is a short list of layers drawn in order over the button face: a path in a small
// command language, stroked or filled with one of three inks. The same drawing gives the button
// with its module off (grey glyph on a dark face) and on (light glyph on a blue face). Images are
// 24 by 24 pixels, antialiased by supersampling, in blue, green, red, alpha order with straight
// alpha. Depends on nothing beyond the standard library.
//
// Path commands (numbers in pixels; pixel i covers [i, i + 1), so the middle of the face that the
// panel's 1-pixel border leaves is 12.5):
//     M x y               move to
//     L x y               line to
//     C x1 y1 x2 y2 x y   cubic curve
//     A cx cy r a0 a1     arc around (cx, cy) from angle a0 to a1 in degrees (0 points right,
//                         90 down); joined to the current point by a line when there is one
//     O cx cy r           circle (a closed subpath of its own)
//     R x y w h r         rectangle with corner radius r (a closed subpath of its own)
//     Z                   close the subpath
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 24;
constexpr int kSamples = 8;  // per pixel and axis: 64 samples a pixel
constexpr double kPi = 3.14159265358979323846;

// ---- what is drawn ------------------------------------------------------------------------------

enum class Ink { Glyph, Dim, Face };
enum class Paint { Stroke, StrokeButt, Fill };

struct Layer {
    Paint paint;
    Ink ink;
    double width;    // stroke width; unused for fills
    double opacity;  // multiplies the ink's alpha
    const char* path;
};

struct Icon {
    const char* module;
    std::vector<Layer> layers;
};

// The face fills the whole image; the panel draws its border over the outermost pixels.
const Layer kFace{Paint::Fill, Ink::Face, 0, 1, "R 0 0 24 24 0"};

// One icon per module, in panel order.
const Icon kIcons[] = {
    {"Arrowheads",
     {
         {Paint::Stroke, Ink::Glyph, 2.0, 1, "M 6 19 L 15.5 9.5"},
         {Paint::Fill, Ink::Glyph, 0, 1, "M 19.5 5.5 L 17.66 12.14 L 12.86 7.34 Z"},
     }},
    {"Curviness",
     {
         {Paint::StrokeButt, Ink::Dim, 1.2, 1, "M 5 17.5 L 20 17.5"},
         {Paint::Stroke, Ink::Glyph, 2.0, 1, "M 5 17.5 C 7.5 5.5 17.5 5.5 20 17.5"},
         {Paint::Fill, Ink::Glyph, 0, 1, "O 5 17.5 1.9 O 20 17.5 1.9"},
     }},
    {"Dashes",
     {
         {Paint::StrokeButt, Ink::Glyph, 2.6, 1,
          "M 3.5 10.5 L 8 10.5 M 10.25 10.5 L 14.75 10.5 M 17 10.5 L 21.5 10.5"},
         {Paint::StrokeButt, Ink::Dim, 1.6, 1,
          "M 3.5 15.5 L 6 15.5 M 8.5 15.5 L 11 15.5 M 13.5 15.5 L 16 15.5 M 18.5 15.5 L 21 15.5"},
     }},
    {"Offset Paths",
     {
         {Paint::Stroke, Ink::Dim, 1.4, 1, "R 4.5 4.5 16 16 4"},
         {Paint::Stroke, Ink::Glyph, 2.0, 1, "R 9 9 7 7 1.5"},
     }},
    {"Repeater",
     {
         {Paint::Fill, Ink::Glyph, 0, 0.35, "O 18.5 12.5 3"},
         {Paint::Fill, Ink::Glyph, 0, 0.65, "O 12.5 12.5 3"},
         {Paint::Fill, Ink::Glyph, 0, 1, "O 6.5 12.5 3"},
     }},
    {"Round Corners",
     {
         {Paint::Stroke, Ink::Dim, 1.2, 1, "M 6 12 L 6 6 L 12 6"},
         {Paint::Stroke, Ink::Glyph, 2.2, 1, "M 6 20 L 6 13 A 13 13 7 180 270 L 20 6"},
     }},
    {"Trim Paths",
     {
         {Paint::Stroke, Ink::Dim, 1.2, 1, "A 12.5 12.5 7 60 120"},
         {Paint::Stroke, Ink::Glyph, 2.2, 1, "A 12.5 12.5 7 120 420"},
         {Paint::Fill, Ink::Glyph, 0, 1, "O 9 18.56 1.7 O 16 18.56 1.7"},
     }},
    {"Twist",
     {
         {Paint::Stroke, Ink::Glyph, 1.7, 1,
          "A 12.5 12.5 1.5 0 180 A 14 12.5 3 180 360 A 12.5 12.5 4.5 0 180 "
          "A 14 12.5 6 180 360 A 12.5 12.5 7.5 0 150"},
     }},
    {"Wiggle Paths",
     {
         {Paint::Stroke, Ink::Glyph, 2.0, 1,
          "M 3.5 13 C 5.5 7.5 7.5 7.5 9 12 C 10.5 17 12.5 18.5 14.5 12.5 C 16 8.5 17 9.5 18 11.5 "
          "C 19 13.5 20 14 21.5 11"},
     }},
    {"Zig Zag",
     {
         {Paint::Stroke, Ink::Glyph, 1.8, 1,
          "M 3.5 12.5 L 6 8.5 L 9 16.5 L 12 8.5 L 15 16.5 L 18 8.5 L 21 14"},
     }},
};

struct Rgba {
    double r, g, b, a;  // 0 to 1, straight
};

// The inks of each state: the face, the glyph and its quieter secondary strokes.
struct Palette {
    Rgba face, glyph, dim;
};
constexpr Palette kOff{{42 / 255.0, 42 / 255.0, 42 / 255.0, 1},
                       {150 / 255.0, 150 / 255.0, 150 / 255.0, 1},
                       {88 / 255.0, 88 / 255.0, 88 / 255.0, 1}};
constexpr Palette kOn{{36 / 255.0, 112 / 255.0, 196 / 255.0, 1},
                      {246 / 255.0, 249 / 255.0, 252 / 255.0, 1},
                      {150 / 255.0, 193 / 255.0, 240 / 255.0, 1}};

// ---- paths --------------------------------------------------------------------------------------

struct Point {
    double x, y;
};
struct Subpath {
    std::vector<Point> points;
    bool closed = false;
};

class PathBuilder {
  public:
    explicit PathBuilder(const std::string& text) : in_(text) {}

    std::vector<Subpath> Build() {
        std::string command;
        while (in_ >> command) {
            if (command == "M") {
                Start(Next2());
            } else if (command == "L") {
                LineTo(Next2());
            } else if (command == "C") {
                const Point c1 = Next2(), c2 = Next2(), end = Next2();
                Cubic(c1, c2, end);
            } else if (command == "A") {
                const Point c = Next2();
                const double r = Next(), a0 = Next(), a1 = Next();
                Arc(c, r, a0, a1, true);
            } else if (command == "O") {
                const Point c = Next2();
                const double r = Next();
                Finish();
                Arc(c, r, 0, 360, false);
                Close();
            } else if (command == "R") {
                const Point at = Next2();
                const double w = Next(), h = Next(), r = Next();
                Finish();
                RoundRect(at, w, h, r);
                Close();
            } else if (command == "Z") {
                Close();
            } else {
                Fail("unknown path command " + command);
            }
        }
        Finish();
        return std::move(done_);
    }

  private:
    static void Fail(const std::string& why) {
        std::cerr << "make_icons: " << why << "\n";
        std::exit(2);
    }
    double Next() {
        double v;
        if (!(in_ >> v)) Fail("a path command lacks a number");
        return v;
    }
    Point Next2() {
        const double x = Next();
        return Point{x, Next()};
    }
    void Start(Point p) {
        Finish();
        current_.points.push_back(p);
    }
    void LineTo(Point p) {
        if (current_.points.empty()) Fail("a line without a current point");
        current_.points.push_back(p);
    }
    void Cubic(Point c1, Point c2, Point end) {
        if (current_.points.empty()) Fail("a curve without a current point");
        const Point s = current_.points.back();
        constexpr int kSteps = 24;
        for (int i = 1; i <= kSteps; ++i) {
            const double t = static_cast<double>(i) / kSteps, u = 1 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            current_.points.push_back(Point{a * s.x + b * c1.x + c * c2.x + d * end.x,
                                            a * s.y + b * c1.y + c * c2.y + d * end.y});
        }
    }
    void Arc(Point c, double r, double a0, double a1, bool join) {
        const int steps = std::max(8, static_cast<int>(std::fabs(a1 - a0) / 6));
        for (int i = 0; i <= steps; ++i) {
            const double a = (a0 + (a1 - a0) * i / steps) * kPi / 180;
            const Point p{c.x + r * std::cos(a), c.y + r * std::sin(a)};
            if (i == 0 && !(join && !current_.points.empty())) {
                Start(p);
            } else {
                current_.points.push_back(p);
            }
        }
    }
    void RoundRect(Point at, double w, double h, double r) {
        if (r <= 0) {
            Start(at);
            LineTo({at.x + w, at.y});
            LineTo({at.x + w, at.y + h});
            LineTo({at.x, at.y + h});
            return;
        }
        Arc({at.x + w - r, at.y + r}, r, -90, 0, false);
        Arc({at.x + w - r, at.y + h - r}, r, 0, 90, true);
        Arc({at.x + r, at.y + h - r}, r, 90, 180, true);
        Arc({at.x + r, at.y + r}, r, 180, 270, true);
    }
    void Close() {
        current_.closed = true;
        Finish();
    }
    void Finish() {
        if (current_.points.size() >= 1) done_.push_back(current_);
        current_ = Subpath{};
    }

    std::istringstream in_;
    Subpath current_;
    std::vector<Subpath> done_;
};

// ---- coverage -----------------------------------------------------------------------------------

double SegmentDistance(Point p, Point a, Point b, double* t_out) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    if (t_out) *t_out = t;
    t = std::clamp(t, 0.0, 1.0);
    const double x = a.x + t * dx - p.x, y = a.y + t * dy - p.y;
    return std::sqrt(x * x + y * y);
}

// Whether a sample point is covered by the layer's paint of `paths`.
bool Covers(Paint paint, double width, const std::vector<Subpath>& paths, Point p) {
    if (paint == Paint::Fill) {
        bool inside = false;  // even-odd over all subpaths, each closed
        for (const Subpath& s : paths) {
            const auto& v = s.points;
            for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
                if ((v[i].y > p.y) != (v[j].y > p.y) &&
                    p.x < (v[j].x - v[i].x) * (p.y - v[i].y) / (v[j].y - v[i].y) + v[i].x) {
                    inside = !inside;
                }
            }
        }
        return inside;
    }
    const double half = width / 2;
    for (const Subpath& s : paths) {
        const auto& v = s.points;
        if (v.size() == 1) {
            if (paint == Paint::Stroke && SegmentDistance(p, v[0], v[0], nullptr) <= half) {
                return true;
            }
            continue;
        }
        const std::size_t segments = s.closed ? v.size() : v.size() - 1;
        for (std::size_t i = 0; i < segments; ++i) {
            const Point a = v[i], b = v[(i + 1) % v.size()];
            double t = 0;
            const double d = SegmentDistance(p, a, b, &t);
            if (d > half) continue;
            // Butt ends stop square at the segment's ends.
            if (paint == Paint::StrokeButt && (t < 0 || t > 1)) continue;
            return true;
        }
    }
    return false;
}

// ---- rendering ----------------------------------------------------------------------------------

using Image = std::array<Rgba, kSide * kSide>;  // premultiplied while drawing

void DrawLayer(const Layer& layer, const Palette& palette, Image& image) {
    const std::vector<Subpath> paths = PathBuilder(layer.path).Build();
    const Rgba ink = layer.ink == Ink::Face    ? palette.face
                     : layer.ink == Ink::Glyph ? palette.glyph
                                               : palette.dim;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Point p{x + (sx + 0.5) / kSamples, y + (sy + 0.5) / kSamples};
                    if (Covers(layer.paint, layer.width, paths, p)) ++hits;
                }
            }
            if (hits == 0) continue;
            const double a = ink.a * layer.opacity * hits / (kSamples * kSamples);
            Rgba& d = image[static_cast<std::size_t>(y * kSide + x)];
            d.r = ink.r * a + d.r * (1 - a);
            d.g = ink.g * a + d.g * (1 - a);
            d.b = ink.b * a + d.b * (1 - a);
            d.a = a + d.a * (1 - a);
        }
    }
}

std::vector<std::uint8_t> Render(const Icon& icon, const Palette& palette) {
    Image image{};
    DrawLayer(kFace, palette, image);
    for (const Layer& layer : icon.layers) DrawLayer(layer, palette, image);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kSide * kSide * 4);
    auto byte = [](double v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    for (const Rgba& px : image) {
        const double a = px.a;
        const double un = a > 0 ? 1 / a : 0;  // back to straight alpha
        bytes.push_back(byte(px.b * un));
        bytes.push_back(byte(px.g * un));
        bytes.push_back(byte(px.r * un));
        bytes.push_back(byte(a));
    }
    return bytes;
}

void WriteTable(std::ostream& out, const char* name, const Palette& palette) {
    out << "const A_u_char " << name << "[kModuleCount][kButtonImageBytes] = {\n";
    for (const Icon& icon : kIcons) {
        const std::vector<std::uint8_t> bytes = Render(icon, palette);
        out << "    // " << icon.module << "\n    {\n";
        // Four pixels a line, six lines an image row.
        for (std::size_t i = 0; i < bytes.size(); i += 16) {
            out << "    ";
            for (std::size_t k = i; k < i + 16; ++k) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "0x%02x,", bytes[k]);
                out << hex << (k + 1 < i + 16 ? " " : "");
            }
            out << "\n";
        }
        out << "    },\n";
    }
    out << "};\n";
}

std::string Source() {
    std::ostringstream out;
    out << "// Written by tools/icons/make_icons.cpp (build the target regenerate-icons); do not "
           "edit.\n"
           "// The module panel's button images: module off, then module on, one 24 by 24 image "
           "per module\n"
           "// in blue, green, red, alpha order with straight alpha.\n"
           "#include \"panel/ButtonImages.h\"\n\n";
    WriteTable(out, "imgsData", kOff);
    out << "\n";
    WriteTable(out, "imgsPressedData", kOn);
    return out.str();
}

// The bytes written as "0x.." in a source text, and the text with each of them blanked.
void SplitBytes(const std::string& text, std::vector<int>* bytes, std::string* rest) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "0x") == 0 && i + 4 <= text.size()) {
            bytes->push_back(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            *rest += '#';
            i += 3;
        } else {
            *rest += text[i];
        }
    }
}

// Whether a held source holds the images `fresh` holds. A byte may differ by one: the last bit of
// an antialiased edge can round the other way with another maths library.
bool SameImages(const std::string& held, const std::string& fresh) {
    std::vector<int> a, b;
    std::string rest_a, rest_b;
    SplitBytes(held, &a, &rest_a);
    SplitBytes(fresh, &b, &rest_b);
    if (rest_a != rest_b || a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::abs(a[i] - b[i]) > 1) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    static_assert(sizeof(kIcons) / sizeof(kIcons[0]) == 10, "one icon per module");
    const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    if (!(argc == 2 || check)) {
        std::cerr << "usage: make_icons [--check] OUT.cpp\n";
        return 2;
    }
    const char* path = argv[argc - 1];
    const std::string source = Source();
    if (check) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream held;
        held << in.rdbuf();
        if (!SameImages(held.str(), source)) {
            std::cerr << path << " is not what make_icons writes; rebuild regenerate-icons\n";
            return 1;
        }
        return 0;
    }
    std::ofstream out(path, std::ios::binary);
    out << source;
    if (!out) {
        std::cerr << "make_icons: cannot write " << path << "\n";
        return 1;
    }
    return 0;
}
