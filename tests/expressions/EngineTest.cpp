// One engine for many evaluations: what one expression does to its globals is
// never seen by another, names beyond the Basic Multilingual Plane resolve, and
// every evaluation (with its nested reads) keeps within one budget of time and
// memory, as does the whole session.
#include <chrono>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "expressions/ExpressionFixture.h"

namespace tltest {
namespace {

using ::testing::AnyOf;
using ::testing::HasSubstr;
using tlhost::StreamNode;
using tlhost::StreamValue;

using Isolation = ExpressionTest;

TEST_F(Isolation, GlobalsDeclaredOrAssignedStayWithTheirExpression) {
    EXPECT_DOUBLE_EQ(Number("var a = 1; b = 2; function c() { return 3; } a + b + c()"), 6);
    EXPECT_DOUBLE_EQ(
        Number("typeof a == 'undefined' && typeof b == 'undefined' && typeof c == 'undefined'"), 1);
    // Library globals, the layer's attributes and the built-in names can be taken
    // over by one expression without the next one noticing.
    EXPECT_DOUBLE_EQ(Number("add = 5; length = 3; time = 9; name = 'x'; value = 7; Math = 0;"
                            "JSON = 1; add + length + time + value"),
                     24);
    EXPECT_DOUBLE_EQ(Number("typeof add == 'function' && typeof length == 'function' && "
                            "time == 0 && name == 'Connection' && value == 100 && "
                            "Math.max(1, 2) == 2 && typeof JSON.parse == 'function'"),
                     1);
    EXPECT_DOUBLE_EQ(Number("function clamp(x) { return 42; } var linear = 2; clamp(1) + linear"),
                     44);
    EXPECT_DOUBLE_EQ(Number("clamp(5, 0, 1) + linear(0.5, 0, 10)"), 6);
    EXPECT_DOUBLE_EQ(Number("globalThis === this && this.thisLayer === thisLayer"), 1);
}

TEST_F(Isolation, SharedObjectsCannotBeChanged) {
    EXPECT_DOUBLE_EQ(Number("Math.answer = 42; Array.prototype.extra = 1; Object.prototype.o = 2;"
                            "String.prototype.s = 3; JSON.parse = null; thisLayer.effect.x = 1;"
                            "add.y = 1; thisProperty.constructor.prototype.p = 1; 1"),
                     1);
    // Through the global object's prototype, by every way of reaching it.
    EXPECT_DOUBLE_EQ(Number("try { Object.getPrototypeOf(this).leak = 1 } catch (e) {}"
                            "try { this.__proto__.leak = 2 } catch (e) {}"
                            "try { Reflect.getPrototypeOf(this).leak = 3 } catch (e) {}"
                            "try { Object.defineProperty(Object.getPrototypeOf(this), 'leak', "
                            "{ value: 4 }) } catch (e) {}"
                            "try { delete this.__proto__.add } catch (e) {}"
                            "this.__proto__ = { leak: 5 }; leak"),
                     5);
    EXPECT_DOUBLE_EQ(
        Number(
            "typeof leak == 'undefined' && Math.answer === undefined && [].extra === undefined "
            "&& ({}).o === undefined && ''.s === undefined && typeof JSON.parse == 'function' "
            "&& thisProperty.p === undefined && typeof add == 'function' && add.y === undefined"),
        1);
}

TEST_F(Isolation, TheStepHookCannotBeReplaced) {
    const char* const attempts[] = {
        "this['__tl_' + 'step'] = function () { return true; }; while (true) {}",
        "try { Object.defineProperty(this, '__tl_' + 'step', { value: function () { return 1; } }) "
        "}"
        "catch (e) {} while (true) {}",
        "delete this['__tl_' + 'step']; while (true) {}",
        "this.__proto__ = null; while (true) {}",
    };
    for (const char* text : attempts) EXPECT_THAT(Error(text), HasSubstr("ran more than")) << text;
}

TEST_F(Isolation, ANestedReadHasGlobalsOfItsOwn) {
    miter->expression = "typeof x == 'undefined' ? 1 : 2";
    miter->expression_enabled = true;
    const std::string read_miter =
        "content('Stroke Group').content('Stroke 1').property('Miter Limit').value";
    EXPECT_DOUBLE_EQ(Number("x = 5; var m = " + read_miter + "; m * 10 + x"), 15);
    // The value it read is the one it gives itself.
    EXPECT_DOUBLE_EQ(tlhost::ValueAfterExpressions(project, *miter, 0).v[0], 1);
}

// ---- Names beyond the Basic Multilingual Plane ------------------------------------

TEST_F(Isolation, EmojiLayerEffectAndParameterNamesResolve) {
    controller->set_name("Rig \xF0\x9F\x8E\x89 Main");  // a party popper
    EXPECT_DOUBLE_EQ(Number("thisComp.layer(\"Rig \xF0\x9F\x8E\x89 Main\").effect(\"" +
                            std::string(kStylesMatchName) + "\")(\"Miter Limit\")"),
                     4);
    // The same name written with escapes, its length in UTF-16 units, and back.
    EXPECT_DOUBLE_EQ(Number("thisComp.layer('Rig \\uD83C\\uDF89 Main').index"), 1);
    EXPECT_DOUBLE_EQ(Number("thisComp.layer(1).name.length"), 11);
    EXPECT_DOUBLE_EQ(Number("thisComp.layer(1).name == 'Rig \xF0\x9F\x8E\x89 Main'"), 1);
    EXPECT_THAT(Error("thisComp.layer('Gone \xF0\x9F\x8C\x9F')"),
                HasSubstr("Layer named 'Gone \xF0\x9F\x8C\x9F' is missing"));

    // An effect and a parameter named with characters of several planes.
    tlhost::EffectInstance& glow =
        controller->AddEffect("Fake Glow", "Glow \xE2\x9C\xA8\xF0\x9F\x8C\x9F");
    glow.params().emplace_back();
    glow.params().push_back(MakeParam("Size \xF0\x9F\x8E\xAF", PF_Param_FLOAT_SLIDER, 7));
    glow.params().back().match_name = "Fake Glow-0001";
    glow.AttachParamStreams();
    EXPECT_DOUBLE_EQ(Number("thisComp.layer(1).effect('Glow \xE2\x9C\xA8\xF0\x9F\x8C\x9F')"
                            "('Size \xF0\x9F\x8E\xAF')"),
                     7);
    EXPECT_DOUBLE_EQ(Number("thisComp.layer(1).effect(2).name == 'Glow \\u2728\\uD83C\\uDF1F'"), 1);
}

// ---- Budgets ----------------------------------------------------------------------

class Budget : public ExpressionTest {
  protected:
    tlhost::EvalResult Run(tlhost::ExpressionEngine& engine, const std::string& text,
                           StreamNode* node = nullptr) {
        StreamNode& target = node ? *node : Transform(*connection, "ADBE Opacity");
        target.expression = text;
        target.expression_enabled = true;
        return engine.Evaluate(project, target, 0);
    }
};

TEST_F(Budget, ABuiltInThatKeepsAllocatingStopsWhenTheTimeIsUp) {
    tlhost::ExpressionLimits limits;
    limits.seconds = 0.25;
    tlhost::ExpressionEngine engine(limits);
    const auto start = std::chrono::steady_clock::now();
    const tlhost::EvalResult r = Run(engine, "new Array(1000000).join('x').length");
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (r.ok) {
        // A machine fast enough to finish within the time: then the result is right.
        EXPECT_DOUBLE_EQ(r.value.v[0], 999999);
    } else {
        EXPECT_THAT(r.error, HasSubstr("ran longer than 0.25 seconds"));
        EXPECT_LT(took, 5.0) << "stopped long after its time";
    }
    // Caught or not, the time is up for the whole evaluation.
    const tlhost::EvalResult caught =
        Run(engine, "try { for (;;) { new Array(1000).join('x') } } catch (e) {} 5");
    EXPECT_FALSE(caught.ok);
    EXPECT_THAT(caught.error, HasSubstr("ran longer than"));
    // The engine goes on serving.
    EXPECT_TRUE(Run(engine, "1 + 1").ok);
}

TEST_F(Budget, TheSessionsTimeIsBoundedAsAWhole) {
    tlhost::ExpressionLimits limits;
    limits.seconds = 0.2;
    limits.session_seconds = 0.3;
    tlhost::ExpressionEngine engine(limits);
    const char* slow = "for (;;) { new Array(1000).join('x') }";
    EXPECT_THAT(Run(engine, slow).error, HasSubstr("ran longer than 0.2 seconds"));
    // What is left of the session is less than one evaluation's time.
    EXPECT_THAT(Run(engine, slow).error, HasSubstr("ran longer than"));
    EXPECT_GE(engine.seconds_used(), 0.3);
    const tlhost::EvalResult refused = Run(engine, "1");
    EXPECT_FALSE(refused.ok);
    EXPECT_THAT(refused.error, HasSubstr("used up their 0.3 seconds"));
    EXPECT_DOUBLE_EQ(refused.value.v[0], 100) << "the value before expressions";
}

TEST_F(Budget, NestedReadsShareTheEvaluationsMemory) {
    tlhost::ExpressionLimits limits;
    limits.memory = std::size_t{16} << 20;
    tlhost::ExpressionEngine engine(limits);
    // 6 MiB each (more while a string is built): alone within the budget,
    // together beyond it.
    // (Strings are interned: the two are made of different characters.)
    const std::string big = "var big = 'x'.repeat(6 << 20);";
    miter->expression = "var big = 'y'.repeat(6 << 20); big.length";
    miter->expression_enabled = true;
    const tlhost::EvalResult inner = engine.Evaluate(project, *miter, 0);
    ASSERT_TRUE(inner.ok) << inner.error;
    const std::string read_miter =
        "content('Stroke Group').content('Stroke 1').property('Miter Limit').value";
    const tlhost::EvalResult alone = Run(engine, big + " big.length > 0 ? 1 : 0");
    ASSERT_TRUE(alone.ok) << alone.error;
    const tlhost::EvalResult both =
        Run(engine, big + " var m = " + read_miter + "; big.length + m");
    EXPECT_FALSE(both.ok);
    EXPECT_THAT(both.error, HasSubstr("MiB of memory"));
}

TEST_F(Budget, ManyReadsOfOneExpressionDrivenPropertyAreCheap) {
    miter->expression = "thisComp.layer('Controller').effect('" + std::string(kStylesMatchName) +
                        "')('Miter Limit') * 2";
    miter->expression_enabled = true;
    tlhost::ExpressionEngine engine;
    const tlhost::EvalResult r =
        Run(engine,
            "var p = content('Stroke Group').content('Stroke 1').property('Miter Limit'), s = 0;"
            "for (var i = 0; i < 10000; i++) s += p.value; s");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_DOUBLE_EQ(r.value.v[0], 80000);
}

TEST_F(Budget, BlocksThatGrowAndShrinkAcrossSizesKeepTheirContents) {
    // Arrays and strings grown one element at a time pass through every block size, from
    // the engine's small blocks to the C heap, and shrink back; evaluations in a row reuse
    // the blocks the last one dropped.
    tlhost::ExpressionEngine engine;
    const std::string text =
        "var a = [], s = '', sum = 0;"
        "for (var i = 0; i < 3000; i++) { a.push(i * 3); if (i % 7 == 0) s += 'ab'; }"
        "a.length = 5; for (var i = 0; i < 2000; i++) a.push(i);"
        "for (var i = 0; i < a.length; i++) sum += a[i];"
        "var j = JSON.stringify(a), b = JSON.parse(j);"
        "for (var i = 0; i < b.length; i++) sum += b[i];"
        "sum + s.length";
    // Twice 0+3+6+9+12 and 0..1999 (the array and its copy through JSON), and 429 pieces
    // of two characters.
    const double expected = 2 * (30 + 1999.0 * 2000 / 2) + 2 * 429;
    for (int round = 0; round < 20; ++round) {
        const tlhost::EvalResult r = Run(engine, text);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_DOUBLE_EQ(r.value.v[0], expected) << "round " << round;
    }
}

TEST_F(Budget, ManySmallBlocksCountAgainstTheMemoryBudget) {
    tlhost::ExpressionLimits limits;
    limits.memory = std::size_t{4} << 20;
    tlhost::ExpressionEngine engine(limits);
    const tlhost::EvalResult r =
        Run(engine, "var a = []; for (var i = 0; i < 200000; i++) a.push({k: i}); a.length");
    EXPECT_FALSE(r.ok);
    EXPECT_THAT(r.error, HasSubstr("MiB of memory"));
    // What the failed evaluation held is given back: the next one has the whole budget.
    const tlhost::EvalResult next =
        Run(engine, "var a = []; for (var i = 0; i < 10000; i++) a.push({k: i}); a.length");
    ASSERT_TRUE(next.ok) << next.error;
    EXPECT_DOUBLE_EQ(next.value.v[0], 10000);
}

// ---- Sorting in steps -------------------------------------------------------------

TEST_F(Isolation, SortingKeepsItsMeaningAndItsBound) {
    EXPECT_DOUBLE_EQ(Number("[3, 1, 10, 2].sort().join(',') == '1,10,2,3'"), 1);
    EXPECT_DOUBLE_EQ(Number("[3, 1, 10, 2].sort(function (a, b) { return a - b; }).join(',') "
                            "== '1,2,3,10'"),
                     1);
    // Undefined elements after the others, holes last; equal keys keep their order.
    EXPECT_DOUBLE_EQ(Number("var a = [3, undefined, 1, , 2]; a.sort();"
                            "a.length == 5 && a.join(',') == '1,2,3,,' && !(4 in a) && (3 in a)"),
                     1);
    EXPECT_DOUBLE_EQ(Number("[[1, 'a'], [0, 'b'], [1, 'c'], [0, 'd']]"
                            ".sort(function (x, y) { return x[0] - y[0]; })"
                            ".map(function (x) { return x[1]; }).join('') == 'bdac'"),
                     1);
    EXPECT_THAT(Error("[2, 1].sort(5)"), HasSubstr("TypeError"));
    // A sort of a million holes runs in counted steps instead of for minutes. Which budget
    // ends it first depends on the build's speed (a sanitizer build may reach the time
    // budget before the step budget); either way it ends.
    EXPECT_THAT(Error("var a = []; a.length = 1000000; a.sort(); 1"),
                AnyOf(HasSubstr("ran more than"), HasSubstr("ran longer than")));
}

}  // namespace
}  // namespace tltest
