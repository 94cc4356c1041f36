// The "Reveal in Timeline" buttons: the gradient colours of the connection layers become the
// composition's selection, then two presses of S follow; a failure anywhere sends no presses
// and leaves no reference behind.
#include <cstdint>
#include <string>
#include <vector>

#include "style/StyleFixture.h"
#include "support/TestSupport.h"

namespace styletest {
namespace {

using tlhost::SelectedStream;

constexpr int kStrokeColors = 16;
constexpr int kFillColors = 38;
constexpr char kColors[] = "ADBE Vector Grad Colors";

// The selection entry the host makes for a property of a layer's tree.
SelectedStream Selected(StreamNode& property) {
    SelectedStream s;
    s.layer_id = property.layer()->id();
    for (const StreamNode* n = &property; n->parent(); n = n->parent()) {
        s.path.insert(s.path.begin(), n->IndexInParent());
    }
    return s;
}

class Reveal : public StyleTest {
  protected:
    // Two connection layers, each with a gradient stroke and a gradient fill, and a layer
    // linked to nothing with a gradient stroke.
    void AddTwoLines() {
        for (const char* name : {"A", "B"}) {
            Layer& line = AddLine(name, Controller().id());
            strokes_.push_back(&Child(AddPaint(Contents(line), kGradientStroke), kColors));
            fills_.push_back(&Child(AddPaint(Contents(line), kGradientFill), kColors));
        }
        AddPaint(Contents(AddLine("Loose", 0)), kGradientStroke);
    }

    static std::vector<SelectedStream> SelectionOf(const std::vector<StreamNode*>& properties) {
        std::vector<SelectedStream> out;
        for (StreamNode* p : properties) out.push_back(Selected(*p));
        return out;
    }

    void ExpectPresses(const CommandReport& report, std::size_t count) {
        ASSERT_EQ(report.key_events.size(), count);
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_EQ(report.key_events[i].virtual_key, 0x53);
            EXPECT_EQ(report.key_events[i].down, i % 2 == 0);
        }
    }

    std::vector<StreamNode*> strokes_;
    std::vector<StreamNode*> fills_;
};

TEST_F(Reveal, EachButtonSelectsItsOwnGradientsColoursOnEveryConnectionLayerInOrder) {
    AddTwoLines();

    CommandReport report = S().UserChangedParam(Effect(), kStrokeColors);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(report.declined.empty());
    EXPECT_EQ(Comp().selection, SelectionOf(strokes_));
    ExpectPresses(report, 4);

    report = S().UserChangedParam(Effect(), kFillColors);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(Comp().selection, SelectionOf(fills_));
    ExpectPresses(report, 4);
}

TEST_F(Reveal, ColoursInsideASwitchedOffGroupAreLeftOut) {
    Layer& line = AddLine("Line", Controller().id());
    StreamNode& shown = AddPaint(Contents(line), kGradientStroke, "Shown");
    StreamNode& shape_off = AddPaint(Contents(line), kGradientStroke, "Shape switched off");
    shape_off.parent()->parent()->eyeball = false;
    StreamNode& stroke_off = AddPaint(Contents(line), kGradientStroke, "Stroke switched off");
    stroke_off.eyeball = false;
    // The colours property's own switch does not matter: it is not a group.
    StreamNode& last = AddPaint(Contents(line), kGradientStroke, "Last");
    Child(last, kColors).eyeball = false;

    CommandReport report = S().UserChangedParam(Effect(), kStrokeColors);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_EQ(Comp().selection, SelectionOf({&Child(shown, kColors), &Child(last, kColors)}));
    ExpectPresses(report, 4);
}

TEST_F(Reveal, NothingToSelectEmptiesTheSelectionAndStillPresses) {
    Layer& line = AddLine("Line", Controller().id());
    AddPaint(Contents(line), kStroke);
    AddPaint(Contents(AddLine("Loose", 0)), kGradientStroke);
    Comp().selection = {SelectedStream{line.id(), {}}};

    CommandReport report = S().UserChangedParam(Effect(), kStrokeColors);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(Comp().selection.empty());
    ExpectPresses(report, 4);
}

TEST_F(Reveal, OnAShapeLayerTheEffectSelectsThatLayersColoursAlone) {
    Layer& shape = P().AddLayer(Comp(), "Self", LayerKind::Shape);
    StreamNode& own = Child(AddPaint(Contents(shape), kGradientStroke), kColors);
    tlhost::EffectInstance& effect = S().Apply(shape);
    AddTwoLines();

    CommandReport report = S().UserChangedParam(effect, kStrokeColors);
    EXPECT_EQ(report.result, A_Err_NONE);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_EQ(Comp().selection, SelectionOf({&own}));
}

TEST_F(Reveal, AFailedDisposalIsTheResultAndStopsThePresses) {
    AddTwoLines();
    for (const char* function : {"AEGP_DisposeCollection", "AEGP_DisposeStream"}) {
        FailNext(function, 1, A_Err_GENERIC);
        const CommandReport report = S().UserChangedParam(Effect(), kStrokeColors);
        S().host().faults().Clear();
        EXPECT_EQ(report.result, A_Err_GENERIC) << function;
        EXPECT_TRUE(report.violations.empty()) << function;
        EXPECT_TRUE(report.key_events.empty()) << function;
    }
}

TEST_F(Reveal, AMissingCollectionSuiteIsTheResultAndEveryStreamFoundIsDisposed) {
    AddTwoLines();
    for (const char* suite : {kAEGPCollectionSuite, kAEGPCompSuite}) {
        S().host().faults().FailSuite(suite, -1, A_Err_MISSING_SUITE);
        const CommandReport report = S().UserChangedParam(Effect(), kStrokeColors);
        S().host().faults().Clear();
        EXPECT_EQ(report.result, PF_Err_BAD_CALLBACK_PARAM) << suite;
        EXPECT_TRUE(report.clean()) << suite << "\n" << tltest::Leftovers(report);
        EXPECT_TRUE(report.key_events.empty()) << suite;
        EXPECT_TRUE(Comp().selection.empty()) << suite;
    }
}

// The streams found are given back through a suite in hand before the first was found: when
// every call after the collection is made fails, suite acquisitions included, none is kept.
TEST_F(Reveal, TheStreamsFoundGoBackWhateverFailsAfterThem) {
    AddTwoLines();
    const auto press = [&] { return S().UserChangedParam(Effect(), kStrokeColors); };
    FailAfterFirst(press, "AEGP_NewCollection", A_Err_CONST_PROJECT_MODIFICATION);
    const CommandReport report = press();
    S().host().faults().Clear();
    EXPECT_EQ(report.result, A_Err_CONST_PROJECT_MODIFICATION);
    EXPECT_TRUE(report.clean()) << tltest::Leftovers(report);
    EXPECT_TRUE(report.key_events.empty());
}

}  // namespace
}  // namespace styletest
