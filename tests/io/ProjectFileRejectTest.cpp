// Malformed project files are refused with the place and the fault, never half
// loaded, and no input, however broken, crashes the reader.
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "io/ProjectFile.h"

namespace {

using namespace tlhost;
using Json = nlohmann::json;

const std::string& ExampleText() {
    static const std::string text = [] {
        const std::string here = __FILE__;
        const std::string root = here.substr(0, here.rfind("/tests/io/"));
        std::ifstream in(root + "/examples/connections.json", std::ios::binary);
        std::stringstream read;
        read << in.rdbuf();
        return read.str();
    }();
    return text;
}

const Json& Example() {
    static const Json doc = Json::parse(ExampleText());
    return doc;
}

// Places in the example.
#define C1 "/items/0/layers/1"
#define C1_TREE C1 "/properties/children"
#define C1_CONTROL C1_TREE "/1/children/0"
#define C1_POSITION C1_TREE "/2/children/1"
#define C1_CONNECTION C1_TREE "/0/children/0/children/0/children"
#define C1_STROKE C1_CONNECTION "/1/children"

struct Broken {
    const char* change;  // "set", "add" (appends to an array or adds a key) or "remove"
    const char* pointer;
    const char* value;  // JSON text
    const char* where;  // the place the error names
    const char* what;   // a part of the fault
};

// One change to the example each, and the error it must give.
const Broken kBroken[] = {
    // The document and its items.
    {"set", "", "[]", "", "must be an object"},
    {"remove", "/items", "", "", "missing \"items\""},
    {"add", "/itemz", "[]", "/itemz", "unknown key \"itemz\""},
    {"set", "/items", "{}", "/items", "must be an array"},
    {"set", "/items/0/type", "\"comp\"", "/items/0/type", "unknown item type \"comp\""},
    {"remove", "/items/0/name", "", "/items/0", "missing \"name\""},
    {"set", "/items/1/id", "1", "/items/1/id", "already used by /items/0"},
    {"set", "/items/2/id", "0", "/items/2/id", "at least 1"},
    {"add", "/items/2/width", "5", "/items/2/width", "unknown key"},
    {"set", "/items/0/width", "\"1920\"", "/items/0/width", "must be an integer"},
    {"set", "/items/0/width", "1920.5", "/items/0/width", "must be an integer"},
    {"set", "/items/0/height", "0", "/items/0/height", "at least 1"},
    {"set", "/items/0/frame_rate", "0", "/items/0/frame_rate", "greater than 0"},
    {"set", "/items/0/pixel_aspect", "[1]", "/items/0/pixel_aspect", "[numerator, denominator]"},
    {"set", "/items/0/pixel_aspect/1", "0", "/items/0/pixel_aspect/1", "at least 1"},
    {"set", "/items/0/duration", "-1", "/items/0/duration", "must not be negative"},
    {"set", "/items/0/duration", "1e300", "/items/0/duration", "time range"},
    {"set", "/items/0/work_area/start", "5", "/items/0/work_area", "ends after the composition"},
    {"remove", "/items/0/work_area/duration", "", "/items/0/work_area", "missing \"duration\""},
    // Selections.
    {"add", "/items/1/selection/-", "{\"layer\": 2}", "/items/1/selection/1/layer",
     "no layer of this composition has id 2"},
    {"set", "/items/1/selection/0/path", "[0, 99]", "/items/1/selection/0/path/1",
     "has no child 99"},
    {"set", "/items/1/selection/0/path", "[-1]", "/items/1/selection/0/path/0", "at least 0"},
    // Layers.
    {"set", C1 "/id", "1", C1 "/id", "layer id 1 is already used by /items/0/layers/0"},
    {"set", "/items/1/layers/0/id", "2", "/items/1/layers/0/id", "already used by " C1},
    {"set", C1 "/id", "2147483648", C1 "/id", "at most 2147483647"},
    {"set", C1 "/type", "\"vector\"", C1 "/type", "unknown layer type \"vector\""},
    {"remove", C1 "/type", "", C1, "missing \"type\""},
    {"set", C1 "/name", "7", C1 "/name", "must be a string"},
    {"set", C1 "/duration", "-2", C1 "/duration", "must not be negative"},
    {"set", C1 "/flags/0", "\"visible\"", C1 "/flags/0", "unknown layer flag \"visible\""},
    {"add", C1 "/flags/-", "\"video_active\"", C1 "/flags/2", "listed twice"},
    {"set", C1 "/properties",
     "{\"match_name\": \"X\", \"name\": \"\", \"kind\": \"one_d\", \"value\": 1}", C1 "/properties",
     "root property must be a group"},
    // Property nodes.
    {"set", C1_TREE "/0/group", "\"ordered\"", C1_TREE "/0/group", "unknown grouping \"ordered\""},
    {"add", C1_TREE "/0/kind", "\"one_d\"", C1_TREE "/0", "not both"},
    {"remove", C1_POSITION "/kind", "", C1_POSITION, "missing \"group\" or \"kind\""},
    {"set", C1_POSITION "/kind", "\"vector\"", C1_POSITION "/kind", "unknown kind \"vector\""},
    {"set", C1_POSITION "/match_name", "\"\"", C1_POSITION "/match_name", "must not be empty"},
    {"add", C1_POSITION "/expresion", "\"x\"", C1_POSITION "/expresion", "unknown key"},
    {"add", C1_POSITION "/a~0b~1c", "1", C1_POSITION "/a~0b~1c", "unknown key \"a~b/c\""},
    {"add", C1_TREE "/0/value", "1", C1_TREE "/0/value", "unknown key"},
    {"set", C1_POSITION "/hidden", "1", C1_POSITION "/hidden", "must be true or false"},
    {"set", C1_POSITION "/eyeball", "\"no\"", C1_POSITION "/eyeball", "must be true or false"},
    {"remove", C1_POSITION "/value", "", C1_POSITION, "missing \"value\""},
    // Values that do not fit their kind.
    {"set", C1_POSITION "/value", "[1, 2]", C1_POSITION "/value", "array of 3 numbers"},
    {"set", C1_POSITION "/value", "[1, \"2\", 3]", C1_POSITION "/value/1", "must be a number"},
    {"set", C1_POSITION "/value", "null", C1_POSITION "/value", "array of 3 numbers"},
    {"set", C1_STROKE "/0/value", "[1, 1]", C1_STROKE "/0/value", "[red, green, blue(, alpha)]"},
    {"set", C1_STROKE "/2/value", "\"5\"", C1_STROKE "/2/value", "must be a number"},
    {"set", C1_STROKE "/2/value", "[5]", C1_STROKE "/2/value", "must be a number"},
    {"set", C1_CONNECTION "/3/children/1/value", "0", C1_CONNECTION "/3/children/1/value",
     "no_data value must be null"},
    {"set", C1_CONTROL "/children/0/value", "1", C1_CONTROL "/children/0/value", "{\"layer\": id}"},
    {"set", C1_CONTROL "/children/0/value", "{\"layer\": 99}", C1_CONTROL "/children/0/value/layer",
     "refers to layer id 99"},
    {"set", C1_CONTROL "/children/0/value", "{\"layer\": -1}", C1_CONTROL "/children/0/value/layer",
     "at least 0"},
    {"set", C1_CONTROL "/children/0/value", "{\"layer\": 1, \"comp\": 1}",
     C1_CONTROL "/children/0/value/comp", "unknown key"},
    // Paths and keyframes.
    {"set",
     C1_CONNECTION "/0/children/0/children/0/children/0/children/0/children/0/value/vertices/0",
     "[1, 2, 3, 4, 5]",
     C1_CONNECTION "/0/children/0/children/0/children/0/children/0/children/0/value/vertices/0",
     "[x, y, in_x, in_y, out_x, out_y]"},
    {"set", C1_CONNECTION "/0/children/0/children/0/children/0/children/0/children/0/value/closed",
     "0", C1_CONNECTION "/0/children/0/children/0/children/0/children/0/children/0/value/closed",
     "must be true or false"},
    {"set",
     C1_CONNECTION "/0/children/0/children/0/children/0/children/0/children/0/keyframes/1/time",
     "0",
     C1_CONNECTION "/0/children/0/children/0/children/0/children/0/children/0/keyframes/1/time",
     "must increase"},
    {"set",
     C1_CONNECTION "/0/children/0/children/0/children/0/children/0/children/0/keyframes/0/value",
     "3",
     C1_CONNECTION "/0/children/0/children/0/children/0/children/0/children/0/keyframes/0/value",
     "path value"},
    {"add", C1_STROKE "/3/keyframes", "[{\"time\": 0, \"value\": 1}]", C1_STROKE "/3/keyframes",
     "cannot vary over time"},
    {"set", C1_STROKE "/2/expression", "true", C1_STROKE "/2/expression", "must be a string"},
    // Effects.
    {"set", C1_TREE "/1/children/0",
     "{\"match_name\": \"ADBE Layer Control\", \"name\": \"L\", \"kind\": \"one_d\", \"value\": 1}",
     C1_TREE "/1/children/0", "an effect must be a group"},
    {"set", C1_TREE "/1",
     "{\"match_name\": \"ADBE Effect Parade\", \"name\": \"Effects\", \"kind\": \"no_data\"}",
     C1_TREE "/1", "must be a group"},
    {"set", C1_CONTROL "/children/0/kind", "\"one_d\"", C1_CONTROL "/children/0/value",
     "must be a number"},
    {"set", C1_CONTROL "/children/0",
     "{\"match_name\": \"ADBE Layer Control-0001\", \"name\": \"Layer\", \"kind\": \"one_d\", "
     "\"value\": 1}",
     C1_CONTROL "/children/0", "must be a \"layer\" leaf"},
    {"add", C1_CONTROL "/children/-",
     "{\"match_name\": \"ADBE Layer Control-0002\", \"name\": \"X\", \"kind\": \"one_d\", "
     "\"value\": 0}",
     C1_CONTROL "/children/1", "stray parameter stream \"ADBE Layer Control-0002\""},
    // Names hold no NUL: the host hands them out as C strings, cut at the first one.
    {"set", C1 "/name", "\"Con\\u0000troller\"", C1 "/name", "NUL character (one is at byte 3)"},
    {"set", C1_POSITION "/name", "\"\\u0000\"", C1_POSITION "/name", "NUL"},
    {"set", C1_POSITION "/match_name", "\"ADBE\\u0000Position\"", C1_POSITION "/match_name", "NUL"},
    {"set", "/items/0/name", "\"Main\\u0000\"", "/items/0/name", "NUL"},
    // Match names fit the host's 40-byte buffers with their terminator.
    {"set", C1_POSITION "/match_name", "\"ADBE Position 0123456789 0123456789 0123\"",
     C1_POSITION "/match_name", "is 40 bytes long; a match name has at most 39"},
    // The undo log.
    {"set", "/undo_groups", "[{\"name\": \"x\"}]", "/undo_groups/0", "missing \"closed\""},
    {"set", "/undo_groups", "[\"x\"]", "/undo_groups/0", "must be an object"},
};

std::string Apply(const Broken& broken) {
    Json doc = Example();
    const Json::json_pointer at(broken.pointer);
    const std::string change = broken.change;
    if (change == "remove") {
        doc.at(at.parent_pointer()).erase(at.back());
    } else if (change == "add" && at.back() == "-") {
        doc.at(at.parent_pointer()).push_back(Json::parse(broken.value));
    } else {
        doc[at] = Json::parse(broken.value);
    }
    return doc.dump();
}

TEST(RejectedFiles, EachFaultIsNamedWithItsPlace) {
    for (const Broken& broken : kBroken) {
        SCOPED_TRACE(std::string(broken.change) + " " + broken.pointer + " " + broken.value);
        Project project;
        LoadError error;
        EXPECT_FALSE(LoadProject(Apply(broken), project, &error));
        EXPECT_EQ(error.where, broken.where);
        EXPECT_NE(error.what.find(broken.what), std::string::npos) << error.what;
        EXPECT_NE(error.message().find(error.what), std::string::npos);
        EXPECT_TRUE(project.items().empty());
    }
}

TEST(RejectedFiles, TextThatIsNotJsonIsRefusedAtTheTop) {
    const char* texts[] = {"",
                           "{",
                           "{\"items\": [}",
                           "nul",
                           "{\"items\": []} x",
                           "{\"items\": [1e999]}",
                           "{\"a\": \"\xff\"}"};
    for (const char* text : texts) {
        Project project;
        LoadError error;
        EXPECT_FALSE(LoadProject(text, project, &error)) << text;
        EXPECT_EQ(error.where, "");
        EXPECT_EQ(error.what.rfind("not valid JSON: ", 0), 0u) << error.what;
        EXPECT_EQ(error.what.find("[json.exception"), std::string::npos) << error.what;
    }
}

TEST(RejectedFiles, AFailedLoadLeavesTheProjectAsItWas) {
    Project project;
    LoadError error;
    // A fault found after layers and effects were already built.
    Json doc = Example();
    doc["undo_groups"] = Json::parse("[{\"name\": 1, \"closed\": true}]");
    EXPECT_FALSE(LoadProject(doc.dump(), project, &error));
    EXPECT_EQ(error.where, "/undo_groups/0/name");
    EXPECT_TRUE(project.items().empty());
    EXPECT_EQ(project.FindLayer(1), nullptr);
    EXPECT_TRUE(project.undo_groups().empty());
    // The same project then takes a good file.
    EXPECT_TRUE(LoadProject(ExampleText(), project, &error)) << error.message();
}

TEST(RejectedFiles, OnlyAnEmptyProjectIsLoadedInto) {
    Project project;
    project.AddComposition("Already here");
    LoadError error;
    EXPECT_FALSE(LoadProject(ExampleText(), project, &error));
    EXPECT_NE(error.what.find("not empty"), std::string::npos);
    EXPECT_EQ(project.items().size(), 1u);
}

TEST(RejectedFiles, TreesNestedTooDeeplyAreRefusedNotRecursedInto) {
    std::string node = R"({"match_name": "X", "name": "", "kind": "one_d", "value": 0})";
    for (int i = 0; i < 200; ++i)
        node = R"({"match_name": "G", "name": "", "group": "named", "children": [)" + node + "]}";
    const std::string text =
        R"({"items": [{"name": "C", "type": "composition", "id": 1, "layers": [)"
        R"({"id": 1, "name": "L", "type": "null", "properties": )" +
        node + "}]}]}";
    Project project;
    LoadError error;
    EXPECT_FALSE(LoadProject(text, project, &error));
    EXPECT_NE(error.what.find("nested deeper"), std::string::npos) << error.message();
}

TEST(RejectedFiles, AResolverThatThrowsIsReportedAtTheEffect) {
    Project project;
    LoadError error;
    EXPECT_FALSE(LoadProject(ExampleText(), project, &error, [](Layer&, EffectInstance&) -> bool {
        throw std::runtime_error("no parameters today");
    }));
    EXPECT_EQ(error.where, "/items/0/layers/0/properties/children/0/children/0");
    EXPECT_NE(error.what.find("no parameters today"), std::string::npos);
    EXPECT_TRUE(project.items().empty());
}

// Cut and garbled copies of the example either load or are refused cleanly.
void ExpectCleanOutcome(const std::string& text) {
    Project project;
    LoadError error;
    if (LoadProject(text, project, &error)) {
        EXPECT_FALSE(project.items().empty());
        return;
    }
    EXPECT_FALSE(error.what.empty());
    EXPECT_TRUE(project.items().empty());
}

TEST(DamagedFiles, TruncatedCopiesAreRefusedCleanly) {
    const std::string text = ExampleText();
    const std::size_t end = text.find_last_not_of("\n") + 1;  // the text without its last newline
    ASSERT_GT(end, 1000u);
    std::vector<std::size_t> cuts;
    for (std::size_t cut = 0; cut < 32; ++cut) cuts.push_back(cut);
    for (std::size_t cut = 32; cut < end - 32; cut += (end - 64) / 40) cuts.push_back(cut);
    for (std::size_t cut = end - 32; cut < end; ++cut) cuts.push_back(cut);
    for (std::size_t cut : cuts) {
        Project project;
        LoadError error;
        EXPECT_FALSE(LoadProject(text.substr(0, cut), project, &error)) << cut;
        EXPECT_EQ(error.where, "") << cut;
        EXPECT_TRUE(project.items().empty());
    }
}

TEST(DamagedFiles, GarbledCopiesLoadOrAreRefusedCleanly) {
    const std::string text = ExampleText();
    std::mt19937 random(20240607);
    std::uniform_int_distribution<std::size_t> place(0, text.size() - 1);
    const char noise[] = "{}[],:\"0-1e.tfn \\x";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof noise - 2);
    for (int round = 0; round < 100; ++round) {
        std::string garbled = text;
        for (int k = 0; k < 1 + round % 4; ++k) garbled[place(random)] = noise[pick(random)];
        ExpectCleanOutcome(garbled);
    }
}

TEST(DamagedFiles, StructurallyWrongValuesEverywhereAreRefusedCleanly) {
    // Every value of a small project, replaced in turn by values of every JSON type.
    const Json base = Json::parse(R"({
        "items": [{"name": "C", "type": "composition", "id": 1, "width": 10, "height": 10,
                   "frame_rate": 25, "pixel_aspect": [1, 1], "duration": 2,
                   "work_area": {"start": 0, "duration": 2}, "selection": [{"layer": 2, "path": [0]}],
                   "layers": [
            {"id": 1, "name": "N", "type": "null", "flags": ["null_layer"]},
            {"id": 2, "name": "S", "type": "shape", "in_point": 0, "duration": 2,
             "properties": {"match_name": "ADBE Vector Layer", "name": "S", "group": "named", "children": [
                {"match_name": "ADBE Effect Parade", "name": "Effects", "group": "indexed", "children": [
                    {"match_name": "ADBE Layer Control", "name": "Layer Control", "group": "named",
                     "children": [{"match_name": "ADBE Layer Control-0001", "name": "Layer",
                                   "kind": "layer", "value": {"layer": 1}}]}]},
                {"match_name": "P", "name": "Path", "kind": "path", "expression": "value",
                 "value": {"closed": true, "vertices": [[0, 0, 0, 0, 0, 0]]},
                 "keyframes": [{"time": 0, "value": {"closed": false, "vertices": []}}]}]}}]}],
        "undo_groups": [{"name": "U", "closed": true}]})");
    Project check;
    LoadError error;
    ASSERT_TRUE(LoadProject(base.dump(), check, &error)) << error.message();
    const Json replacements[] = {
        nullptr, true, -1, 0.5, "text", Json::array(), Json::object(), Json::array({1, 2, 3})};
    const Json flat = base.flatten();
    for (const auto& [pointer, value] : flat.items()) {
        for (const Json& replacement : replacements) {
            Json doc = base;
            doc[Json::json_pointer(pointer)] = replacement;
            ExpectCleanOutcome(doc.dump());
        }
    }
}

}  // namespace

// Layer trees are built while the file is parsed; what the reader reports must not
// depend on that: the first fault in reading order, the last of repeated keys, and a
// text that is not JSON refused as such.
namespace trees_while_parsing {

const char* const kTree = R"({"match_name": "ADBE Root", "name": "R", "group": "named",
    "children": [{"match_name": "ADBE Mine", "name": "Mine", "kind": "one_d", "value": 7}]})";
const char* const kBadTree =
    R"({"match_name": "ADBE Root", "name": "R", "group": "named", "children": [{"name": "x"}]})";

std::string Layer(int id, const std::string& rest) {
    return R"({"id": )" + std::to_string(id) + R"(, "type": "null", )" + rest + "}";
}
std::string Document(const std::string& layers, const std::string& tail = "") {
    return R"({"items": [{"name": "C", "type": "composition", "id": 1, "layers": [)" + layers +
           "]}]" + tail + "}";
}

TEST(TreesBuiltWhileParsing, AFaultBeforeAFaultyTreeInReadingOrderIsTheOneReported) {
    struct Case {
        std::string text;
        const char* where;
    };
    const Case cases[] = {
        // The second layer's tree is broken; the first layer's name, read earlier, too.
        {Document(Layer(1, R"("name": 5, "properties": )" + std::string(kTree)) + ", " +
                  Layer(2, R"("name": "B", "properties": )" + std::string(kBadTree))),
         "/items/0/layers/0/name"},
        // The tree comes before the layer's type in the text, but the type is read first.
        {Document(R"({"id": 1, "name": "A", "properties": )" + std::string(kBadTree) +
                  R"(, "type": "bogus"})"),
         "/items/0/layers/0/type"},
        // A broken tree is reported before a later layer's repeated id.
        {Document(Layer(1, R"("name": "A", "properties": )" + std::string(kBadTree)) + ", " +
                  Layer(1, R"("name": "B")")),
         "/items/0/layers/0/properties/children/0"},
    };
    for (const Case& c : cases) {
        Project project;
        LoadError error;
        EXPECT_FALSE(LoadProject(c.text, project, &error)) << c.text;
        EXPECT_EQ(error.where, c.where) << error.message();
        EXPECT_TRUE(project.items().empty());
    }
}

TEST(TreesBuiltWhileParsing, TextThatIsNotJsonAfterAFaultyTreeIsRefusedAsText) {
    const std::string text =
        Document(Layer(1, R"("name": "A", "properties": )" + std::string(kBadTree)));
    Project project;
    LoadError error;
    EXPECT_FALSE(LoadProject(text.substr(0, text.size() - 2), project, &error));
    EXPECT_EQ(error.where, "");
    EXPECT_EQ(error.what.rfind("not valid JSON: ", 0), 0u) << error.what;
}

TEST(TreesBuiltWhileParsing, ARepeatedKeyReplacesTheTreesBuiltFromItsFirstValue) {
    const std::string tree = kTree;
    const std::string bad = kBadTree;
    // The last "properties" of a layer wins, whatever the first one was.
    {
        Project project;
        LoadError error;
        ASSERT_TRUE(LoadProject(Document(Layer(1, R"("name": "A", "properties": )" + bad +
                                                      R"(, "properties": )" + tree)),
                                project, &error))
            << error.message();
        ASSERT_NE(project.FindLayer(1), nullptr);
        EXPECT_NE(project.FindLayer(1)->root().FindChild("ADBE Mine"), nullptr);
    }
    {
        Project project;
        LoadError error;
        EXPECT_FALSE(LoadProject(
            Document(Layer(1, R"("name": "A", "properties": )" + tree + R"(, "properties": 5)")),
            project, &error));
        EXPECT_EQ(error.where, "/items/0/layers/0/properties");
        EXPECT_NE(error.what.find("must be an object"), std::string::npos);
    }
    // A repeated "layers" or "items" drops the trees of the layers it replaces: the layer
    // that remains has no tree in the file and gets the host's own.
    const std::string first = Layer(1, R"("name": "A", "properties": )" + tree);
    const std::string second = Layer(1, R"("name": "A")");
    const std::string repeated_layers =
        R"({"items": [{"name": "C", "type": "composition", "id": 1, "layers": [)" + first +
        R"(], "layers": [)" + second + "]}]}";
    const std::string repeated_items = Document(first) + "";
    std::string twice = repeated_items;
    twice.pop_back();
    twice += R"(, "items": [{"name": "C", "type": "composition", "id": 1, "layers": [)" + second +
             "]}]}";
    for (const std::string& text : {repeated_layers, twice}) {
        Project project;
        LoadError error;
        ASSERT_TRUE(LoadProject(text, project, &error)) << error.message() << "\n" << text;
        ASSERT_NE(project.FindLayer(1), nullptr);
        EXPECT_EQ(project.FindLayer(1)->root().FindChild("ADBE Mine"), nullptr) << text;
        EXPECT_NE(project.FindLayer(1)->root().FindChild("ADBE Transform Group"), nullptr);
    }
}

TEST(TreesBuiltWhileParsing, AStreamAndATextGiveTheSameProject) {
    const std::string text =
        Document(Layer(1, R"("name": "A", "properties": )" + std::string(kTree)) + ", " +
                 Layer(2, R"("name": "B")"));
    Project from_text, from_stream;
    LoadError error;
    ASSERT_TRUE(LoadProject(text, from_text, &error)) << error.message();
    std::istringstream in(text);
    ASSERT_TRUE(LoadProject(in, from_stream, &error)) << error.message();
    EXPECT_EQ(SaveProject(from_text), SaveProject(from_stream));
}

}  // namespace trees_while_parsing
