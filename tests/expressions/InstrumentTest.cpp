// The rewrite that bounds expression run time: where the step hook goes, and what
// it must leave alone (strings, comments, regular expressions, property names).
#include <algorithm>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "expressions/Instrument.h"

namespace {

using ::testing::HasSubstr;

std::string Rewrite(const std::string& source) {
    std::string out, error;
    EXPECT_TRUE(tlhost::InstrumentSource(source, &out, &error)) << source << ": " << error;
    return out;
}

struct Case {
    const char* source;
    const char* rewritten;
};

const Case kCases[] = {
    {"while (a) b();", "while (__tl_step() && (a)) b();"},
    {"do { x++ } while (x < 3)", "do { x++ } while (__tl_step() && (x < 3))"},
    {"for (i = 0; i < 3; i++) x;", "for (i = 0;__tl_step() && ( i < 3); i++) x;"},
    {"for (;;) x;", "for (;__tl_step();) x;"},
    {"for (f = function () { return 1; }; f(); ) x;",
     "for (f = function () {__tl_step(); return 1; };__tl_step() && ( f()); ) x;"},
    {"for (k in o) x;", "for (k in o) x;"},
    {"function f(a, b) { return a; }", "function f(a, b) {__tl_step(); return a; }"},
    {"g = function () {}", "g = function () {__tl_step();}"},
    {"while ((a)) {}", "while (__tl_step() && ((a))) {}"},
    // Not loops: property names, object keys, strings, comments, regular expressions.
    {"a.while(1); o = {for: 2}", "a.while(1); o = {for: 2}"},
    {"s = 'while (1) {}'; t = \"for(;;)\"", "s = 'while (1) {}'; t = \"for(;;)\""},
    {"// while (1) {}\nx", "// while (1) {}\nx"},
    {"/* for (;;) {} */ x", "/* for (;;) {} */ x"},
    {"r = /while (1) {}/g", "r = /while (1) {}/g"},
    // Division is not a regular expression, so the loop after it is found.
    {"x = a / b; while (c) d; e = f / g", "x = a / b; while (__tl_step() && (c)) d; e = f / g"},
    {"x = (a) / 2 / (b); while (c) d", "x = (a) / 2 / (b); while (__tl_step() && (c)) d"},
    // After an if head a '/' starts a regular expression; its ')' is not code.
    {"if (a) /[)]/.test(b); while (c) d", "if (a) /[)]/.test(b); while (__tl_step() && (c)) d"},
    {"return /x/.test(a) / 2", "return /x/.test(a) / 2"},
};

TEST(Instrument, PutsTheHookInEveryLoopTestAndFunctionBody) {
    for (const Case& c : kCases) EXPECT_EQ(Rewrite(c.source), c.rewritten) << c.source;
}

TEST(Instrument, KeepsLineBreaks) {
    const std::string source = "while (a\n) {\n}\nfor (;\n;\n) {}\nfunction f()\n{\n}";
    const std::string out = Rewrite(source);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'),
              std::count(source.begin(), source.end(), '\n'));
}

TEST(Instrument, RefusesWhatCouldDodgeTheHook) {
    const struct {
        const char* source;
        const char* reason;
    } refused[] = {
        {"with (o) { while (1) {} }", "'with'"},
        {"__tl_step = function () { return true; }", "reserved"},
        {"wh\\u0069le (1) {}", "escaped"},
        {"if (a) {}\n/x/.test(b)", "'/' right after '}'"},
    };
    for (const auto& r : refused) {
        std::string out, error;
        EXPECT_FALSE(tlhost::InstrumentSource(r.source, &out, &error)) << r.source;
        EXPECT_THAT(error, HasSubstr(r.reason)) << r.source;
    }
}

}  // namespace
