// Evaluation as the host runs it: errors and the fallback value, reads of other
// properties after their expressions, cycles, runaway code, and isolation.
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "expressions/ExpressionFixture.h"

namespace tltest {
namespace {

using ::testing::HasSubstr;
using tlhost::StreamNode;
using tlhost::StreamValue;
using tlhost::ValueAfterExpressions;

using Evaluation = ExpressionTest;

TEST_F(Evaluation, ErrorsFallBackToTheValueBeforeExpressions) {
    StreamNode& opacity = Transform(*connection, "ADBE Opacity");
    opacity.expression_enabled = true;
    const struct {
        const char* text;
        const char* error;
    } failures[] = {
        {"foo + 1", "ReferenceError"},
        {"1 +", "SyntaxError"},
        {"throw new Error('stop here')", "Error: stop here"},
        {"thisComp.layer('Gone').opacity", "Layer named 'Gone' is missing"},
        {"null.x", "TypeError"},
    };
    for (const auto& f : failures) {
        opacity.expression = f.text;
        EXPECT_EQ(ValueAfterExpressions(project, opacity, 0), StreamValue::OneD(100)) << f.text;
        EXPECT_THAT(opacity.expression_error, HasSubstr(f.error)) << f.text;
    }
    opacity.expression = "50";
    EXPECT_EQ(ValueAfterExpressions(project, opacity, 0), StreamValue::OneD(50));
    EXPECT_EQ(opacity.expression_error, "");
    // A switched-off expression is not run, and leaves no error behind.
    opacity.expression = "foo";
    opacity.expression_error = "old";
    opacity.expression_enabled = false;
    EXPECT_EQ(ValueAfterExpressions(project, opacity, 0), StreamValue::OneD(100));
    EXPECT_EQ(opacity.expression_error, "");
}

TEST_F(Evaluation, OtherPropertiesAreReadAfterTheirExpressions) {
    const std::string read_miter =
        "content('Stroke Group').content('Stroke 1').property('Miter Limit')";
    miter->expression = "time * 10";
    miter->expression_enabled = true;
    EXPECT_DOUBLE_EQ(Number(read_miter + " * 2", nullptr, 1.5), 30);
    EXPECT_DOUBLE_EQ(Number(read_miter + ".valueAtTime(3)"), 30);
    miter->expression_enabled = false;
    EXPECT_DOUBLE_EQ(Number(read_miter + " * 2", nullptr, 1.5), 2);
    // A property whose own expression fails reads as its value before expressions,
    // and nothing is recorded on it by the reader.
    miter->expression = "nope";
    miter->expression_enabled = true;
    EXPECT_DOUBLE_EQ(Number(read_miter + " * 2"), 2);
    EXPECT_EQ(miter->expression_error, "");
    // A property reading itself gets its value before expressions, as `value` does.
    EXPECT_DOUBLE_EQ(Number("thisProperty.value + 1"), 101);
    EXPECT_DOUBLE_EQ(Number("thisLayer.opacity + 1"), 101);
}

TEST_F(Evaluation, CyclesFailEvenWhenCaught) {
    StreamNode& a = Transform(*connection, "ADBE Opacity");
    StreamNode& b = Transform(*controller, "ADBE Opacity");
    StreamNode& c = Transform(*controller, "ADBE Rotate Z");
    b.expression = "thisComp.layer('Connection').opacity + 1";
    b.expression_enabled = true;
    EXPECT_THAT(Error("thisComp.layer('Controller').opacity + 1", &a), HasSubstr("cycle"));
    EXPECT_THAT(Error("try { thisComp.layer('Controller').opacity.value } catch (e) { 5 }", &a),
                HasSubstr("cycle"));
    // Through a third property.
    b.expression = "thisComp.layer('Controller').rotation + 1";
    c.expression = "thisComp.layer('Connection').opacity + 1";
    c.expression_enabled = true;
    a.expression = "thisComp.layer('Controller').opacity + 1";
    EXPECT_EQ(ValueAfterExpressions(project, a, 0), StreamValue::OneD(100));
    EXPECT_THAT(a.expression_error, HasSubstr("cycle"));
    // Broken, the chain evaluates: c gives 7, b 8, a 9.
    c.expression = "7";
    EXPECT_EQ(ValueAfterExpressions(project, a, 0), StreamValue::OneD(9));
}

TEST_F(Evaluation, NestedReadsAreBoundedInDepth) {
    StreamNode& transform = *connection->root().FindChild("ADBE Transform Group");
    auto chain = [&](int length) {
        while (transform.children().size() > 5)
            transform.RemoveChild(transform.children().size() - 1);
        for (int i = 0; i < length; ++i) {
            StreamNode& link =
                AddLeaf(transform, "Link", "Link " + std::to_string(i), StreamValue::OneD(0));
            link.expression = i + 1 < length
                                  ? "transform.property('Link " + std::to_string(i + 1) + "') + 1"
                                  : std::string("1");
            link.expression_enabled = true;
        }
        return tlhost::EvaluateExpression(project, *transform.children()[5], 0);
    };
    const tlhost::EvalResult shallow = chain(10);
    ASSERT_TRUE(shallow.ok) << shallow.error;
    EXPECT_DOUBLE_EQ(shallow.value.v[0], 10);
    const tlhost::EvalResult deep = chain(40);
    EXPECT_FALSE(deep.ok);
    EXPECT_THAT(deep.error, HasSubstr("deep"));
}

TEST_F(Evaluation, RunawayCodeStops) {
    const char* const runaways[] = {
        "while (true) {}",
        "for (;;) {}",
        "do {} while (true)",
        "for (var i = 0; i >= 0; i++) {}",
        "function f() { return f(); } f()",  // a tail call does not grow the stack
        "try { while (true) {} } catch (e) {} 5",
        "while (true) { try { while (true) {} } catch (e) {} }",
        "eval('while (true) {}')",
        "new Function('for (;;) {}')()",
        "(function () {}).constructor('while (1) {}')()",
        "x = 1\xE2\x80\xA8while (true) {}",  // a line separator before the loop
        "if (1) /[)]/.test(''); while (true) {}",
        "s = '\\\"'; while (true) {}",
    };
    for (const char* text : runaways) {
        const tlhost::EvalResult r = Eval(text);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_THAT(r.error, HasSubstr("ran more than")) << text;
    }
    // Long but finite work is fine.
    EXPECT_DOUBLE_EQ(Number("s = 0; for (i = 0; i < 100000; i++) s += 1; s"), 100000);
}

TEST_F(Evaluation, MemoryAndArrayWalksAreCapped) {
    EXPECT_THAT(Error("s = 'x'; for (;;) s += s;"), HasSubstr("Error"));
    EXPECT_THAT(Error("x = []; x[1e8] = 1; x.join('-').length"), HasSubstr("RangeError"));
    // Walking a huge sparse array would take long without touching memory.
    EXPECT_THAT(Error("Array(1e9).join('x').length"), HasSubstr("arrays longer than"));
    EXPECT_THAT(Error("Array.prototype.indexOf.call({length: 4e9}, 1)"),
                HasSubstr("arrays longer than"));
    EXPECT_DOUBLE_EQ(Number("Array(1000).join('x').length"), 999);
}

TEST_F(Evaluation, SourceThatCouldEscapeTheStepLimitIsRefused) {
    EXPECT_THAT(Error("o = {}; with (o) { 1 }"), HasSubstr("'with'"));
    EXPECT_THAT(Error("__tl_step = 1; 2"), HasSubstr("reserved"));
    EXPECT_THAT(Error("wh\\u0069le (true) {}"), HasSubstr("escaped"));
    EXPECT_THAT(Error("{}\n/while(true){}/"), HasSubstr("'/'"));
    EXPECT_THAT(Error("eval('with ({}) {}')"), HasSubstr("SyntaxError"));
}

TEST_F(Evaluation, NothingCarriesOverBetweenEvaluations) {
    EXPECT_DOUBLE_EQ(Number("leak = 5; Array.prototype.extra = 1; Math.answer = 42; 1"), 1);
    EXPECT_DOUBLE_EQ(
        Number("typeof leak == 'undefined' && [].extra === undefined && Math.answer === undefined"),
        1);
    EXPECT_DOUBLE_EQ(Number("typeof Duktape == 'undefined'"), 1);
}

}  // namespace
}  // namespace tltest
