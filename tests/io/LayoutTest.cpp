// The layout of written JSON: the linear writer gives, byte for byte, what laying
// out each value by its whole one-line form gives, for values of every shape and
// for project files written a layer at a time.
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "io/JsonLayout.h"
#include "io/ProjectFile.h"

namespace {

using Json = nlohmann::ordered_json;

// The layout rule stated plainly: a value is written on one line when its whole
// one-line form fits on the rest of the line, else one member per line.
std::string Line(const Json& v) {
    const auto scalar = [](const Json& s) {
        return s.dump(-1, ' ', false, Json::error_handler_t::replace);
    };
    if (!v.is_structured()) return scalar(v);
    if (v.empty()) return v.is_object() ? "{}" : "[]";
    std::string out = v.is_object() ? "{" : "[";
    bool first = true;
    for (const auto& [key, member] : v.items()) {
        if (!first) out += ", ";
        first = false;
        if (v.is_object()) out += scalar(Json(key)) + ": ";
        out += Line(member);
    }
    return out + (v.is_object() ? "}" : "]");
}

void Reference(const Json& v, std::size_t indent, std::size_t column, std::size_t tail,
               std::size_t width, std::string& out) {
    const std::string line = Line(v);
    if (!v.is_structured() || v.empty() || column + line.size() + tail <= width) {
        out += line;
        return;
    }
    out += v.is_object() ? "{\n" : "[\n";
    std::size_t left = v.size();
    for (const auto& [key, member] : v.items()) {
        --left;
        out += std::string(indent + 2, ' ');
        std::size_t at = indent + 2;
        if (v.is_object()) {
            const std::string name = Line(Json(key)) + ": ";
            out += name;
            at += name.size();
        }
        Reference(member, indent + 2, at, left ? 1 : 0, width, out);
        out += left ? ",\n" : "\n";
    }
    out += std::string(indent, ' ') + (v.is_object() ? "}" : "]");
}

std::string Reference(const Json& v, std::size_t width = 100) {
    std::string out;
    Reference(v, 0, 0, 0, width, out);
    return out + "\n";
}

// Random values: nested objects and arrays of every size, texts of every length
// (some not valid UTF-8, some needing escapes), numbers, booleans and nulls.
Json RandomValue(std::mt19937& random, int depth) {
    std::uniform_int_distribution<int> pick(0, depth > 5 ? 4 : 7);
    switch (pick(random)) {
        case 0:
            return Json(std::uniform_real_distribution<double>(-1e6, 1e6)(random));
        case 1:
            return Json(static_cast<int>(random() % 1000));
        case 2:
            return Json(random() % 2 == 0);
        case 3:
            return Json(nullptr);
        case 4: {
            std::string text(random() % 120, 'a');
            for (char& c : text) c = static_cast<char>(" az\"\\\n\x01\xC3\xA9\xFF"[random() % 11]);
            return Json(text);
        }
        case 5:
        case 6: {
            Json object = Json::object();
            const int n = static_cast<int>(random() % 6);
            for (int i = 0; i < n; ++i)
                object["k" + std::string(random() % 30, 'x') + std::to_string(i)] =
                    RandomValue(random, depth + 1);
            return object;
        }
        default: {
            Json array = Json::array();
            const int n = static_cast<int>(random() % 7);
            for (int i = 0; i < n; ++i) array.push_back(RandomValue(random, depth + 1));
            return array;
        }
    }
}

TEST(JsonLayout, EveryShapeOfValueIsLaidOutAsItsWholeOneLineFormDecides) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 400; ++round) {
        const Json value = RandomValue(random, 0);
        for (std::size_t width : {0, 8, 40, 100, 160}) {
            ASSERT_EQ(tlhost::io::LayOut(value, width), Reference(value, width))
                << "round " << round << ", width " << width;
        }
    }
}

TEST(JsonLayout, ScalarsAreWrittenAsTheLibraryWritesThem) {
    std::mt19937_64 random(7);
    std::vector<Json> values = {0.0,
                                -0.0,
                                1.0,
                                0.1,
                                1e-300,
                                5e-324,
                                1.7976931348623157e308,
                                1e21,
                                1e22,
                                123456789012345678.0,
                                -2.5,
                                100.0,
                                1.0 / 3,
                                std::numeric_limits<double>::infinity(),
                                std::nan(""),
                                0,
                                -1,
                                std::numeric_limits<std::int64_t>::min(),
                                std::numeric_limits<std::uint64_t>::max(),
                                true,
                                false,
                                nullptr,
                                "",
                                "plain",
                                "tab\there",
                                "quote\"",
                                "\x7F",
                                "caf\xC3\xA9",
                                "\xFF\xFE"};
    for (int i = 0; i < 2000; ++i) {
        std::uint64_t bits = random();
        double x;
        std::memcpy(&x, &bits, sizeof x);
        values.emplace_back(x);
        values.emplace_back(static_cast<double>(static_cast<std::int32_t>(bits)) / 1000);
    }
    for (const Json& v : values) {
        const std::string expected = v.dump(-1, ' ', false, Json::error_handler_t::replace);
        EXPECT_EQ(tlhost::io::Scalar(v), expected);
        EXPECT_EQ(tlhost::io::LayOut(Json::array({v}), 0), "[\n  " + expected + "\n]\n");
        EXPECT_EQ(tlhost::io::FitsOnLine(v, expected.size()), true) << expected;
        EXPECT_EQ(tlhost::io::FitsOnLine(v, expected.size() - 1), false) << expected;
    }
}

TEST(JsonLayout, ValuesRightAtTheEdgeOfTheLine) {
    // One-line forms of 98 to 102 characters at the start of the line and as members.
    for (std::size_t n = 85; n <= 100; ++n) {
        const Json array = Json::array({std::string(n, 'x'), 1});
        const Json object = Json{{"key", array}, {"last", std::string(n - 10, 'y')}};
        EXPECT_EQ(tlhost::io::LayOut(array), Reference(array)) << n;
        EXPECT_EQ(tlhost::io::LayOut(object), Reference(object)) << n;
    }
}

std::string ExampleText(const char* name = "connections.json") {
    const std::string here = __FILE__;
    std::ifstream in(here.substr(0, here.rfind("/tests/io/")) + "/examples/" + name,
                     std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A project written a layer at a time is the layout of the whole document.
void ExpectWholeLayout(tlhost::Project& project) {
    std::ostringstream streamed;
    tlhost::WriteProject(project, streamed);
    EXPECT_EQ(streamed.str(), tlhost::SaveProject(project));
    EXPECT_EQ(streamed.str(), Reference(Json::parse(streamed.str())));
}

TEST(JsonLayout, ProjectsWrittenALayerAtATimeAreLaidOutAsAWhole) {
    tlhost::Project example;
    tlhost::LoadError error;
    ASSERT_TRUE(tlhost::LoadProject(ExampleText(), example, &error)) << error.message();
    ExpectWholeLayout(example);
    // Keyframes with exact times, undo groups with their changes.
    tlhost::Project animated;
    ASSERT_TRUE(tlhost::LoadProject(ExampleText("animated.json"), animated, &error))
        << error.message();
    ExpectWholeLayout(animated);

    // No items, a folder alone, and a composition without layers beside one with.
    tlhost::Project empty;
    ExpectWholeLayout(empty);
    EXPECT_EQ(tlhost::SaveProject(empty), "{\"items\": [], \"undo_groups\": []}\n");
    tlhost::Project small;
    small.AddItem(tlhost::ItemKind::Folder, "F");
    ExpectWholeLayout(small);
    tlhost::Project mixed;
    mixed.AddItem(tlhost::ItemKind::Folder, "Folder");
    mixed.AddComposition("Empty");
    tlhost::Composition& comp = mixed.AddComposition("Comp");
    mixed.AddLayer(comp, "Layer", tlhost::LayerKind::Shape);
    mixed.AddLayer(comp, "", tlhost::LayerKind::Null);
    mixed.StartUndoGroup("Undo", 1);
    ExpectWholeLayout(mixed);
}

TEST(ProjectStreams, AFileReadFromAStreamLoadsAsItsTextDoes) {
    const std::string text = ExampleText();
    tlhost::Project from_text, from_stream;
    tlhost::LoadError error;
    ASSERT_TRUE(tlhost::LoadProject(text, from_text, &error)) << error.message();
    std::istringstream in(text);
    ASSERT_TRUE(tlhost::LoadProject(in, from_stream, &error)) << error.message();
    EXPECT_EQ(tlhost::SaveProject(from_stream), tlhost::SaveProject(from_text));

    // Faults are named the same way, and the project is left as it was.
    std::istringstream broken(text.substr(0, text.size() / 2));
    tlhost::Project untouched;
    EXPECT_FALSE(tlhost::LoadProject(broken, untouched, &error));
    EXPECT_EQ(error.what.rfind("not valid JSON: ", 0), 0u) << error.what;
    EXPECT_TRUE(untouched.items().empty());
    std::string renamed = text;
    renamed.replace(renamed.find("\"in_point\""), 10, "\"in_pint\"");
    std::istringstream wrong(renamed);
    EXPECT_FALSE(tlhost::LoadProject(wrong, untouched, &error));
    EXPECT_EQ(error.where, "/items/0/layers/0/in_pint");
    EXPECT_TRUE(untouched.items().empty());
}

}  // namespace
