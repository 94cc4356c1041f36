// A composition for the arrowhead tests: the styling fixture's controller with the effect, the
// expression engine where the build has one, and connection layers shaped as the sibling
// effect builds them: a group named after the line holding "Paths" > "Path N" > "Path" and
// "Arrowheads" > the arrowhead sets > "Start Arrowhead" / "End Arrowhead".
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "style/StyleFixture.h"

namespace arrowtest {

using styletest::CommandReport;
using styletest::Layer;
using styletest::LayerKind;
using styletest::StreamNode;
using tlhost::StreamValue;

inline constexpr int kCreatePlaceholders = 68;
inline constexpr int kModulesParam = 41;
inline constexpr int kArrowheadsCheckbox = 43;
inline constexpr int kTrim = 49;
inline constexpr int kTrimStart = 120;
inline constexpr int kTrimEnd = 121;
inline constexpr int kTrimBothEnds = 122;
inline constexpr int kTrimOffset = 123;

// What a connection layer holds.
struct Connection {
    // Arrowhead sets by name, each with the names of its path operators.
    std::vector<std::pair<std::string, std::vector<std::string>>> sets = {
        {"Arrowheads 1", {"Start Arrowhead", "End Arrowhead"}}};
    // The numbers of the connection's paths ("Path N"); path N runs straight along x from
    // (100, 100 N) to (400, 100 N).
    std::vector<int> paths = {1};
    // The group holding it all; empty: named after the layer.
    std::string group;
    bool three_d = true;
};
// A connection holding these sets and nothing else changed.
using Sets = std::vector<std::pair<std::string, std::vector<std::string>>>;
inline Connection WithSets(Sets sets) {
    Connection c;
    c.sets = std::move(sets);
    return c;
}

class ArrowheadTest : public styletest::StyleTest {
  protected:
    void SetUp() override;

    // A shape layer whose Layer Control points at `target` (the controller by default), added
    // at the bottom of the stack.
    Layer& AddConnection(const std::string& name, const Connection& connection = {},
                         AEGP_LayerIDVal target = 0);
    // The same tree on a layer that exists already.
    static void Build(Layer& layer, const Connection& connection);

    // Presses "Create Placeholders" on the effect (or on `on`).
    CommandReport Press(tlhost::EffectInstance* on = nullptr);

    // The layers of `comp` (the fixture's by default) showing a composition named
    // "TL_Arrowhead", top first.
    std::vector<Layer*> Placeholders(tlhost::Composition* comp = nullptr);
    // The compositions named "TL_Arrowhead", in project order.
    std::vector<tlhost::Composition*> PlaceholderComps();
    // A transform property of a layer, by match name; null when it has none.
    static StreamNode* TransformProperty(Layer& layer, const std::string& match_name);
    // Its value at time 0 after its expression, which must evaluate without error.
    StreamValue After(Layer& layer, const std::string& match_name);

    // The module-state record as the host holds it.
    std::vector<std::uint8_t> Record();
    // The groups of `layer` named `name`, at any depth.
    static std::vector<StreamNode*> GroupsNamed(Layer& layer, const std::string& name);

    // The undo group the last command opened, which the test expects to exist.
    const tlhost::UndoGroupRecord& LastUndoGroup();
};

// Where path N of a connection starts and ends.
inline double PathStartX() {
    return 100;
}
inline double PathEndX() {
    return 400;
}
inline double PathY(int n) {
    return 100.0 * n;
}

}  // namespace arrowtest
