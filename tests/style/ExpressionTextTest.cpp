// The text of the expressions: the one escaping function every name goes through, the UTF-16
// names the host gives, and formatting sized for the names.
#include <cstdarg>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "AE_EffectCB.h"
#include "shell/UserMessage.h"
#include "style/ExpressionText.h"

namespace {

// ---- escaping -----------------------------------------------------------------------------------

struct Escape {
    const char* raw;
    const char* literal;
};

TEST(EscapeForStringLiteral, EveryCharacterALiteralCannotHoldIsEscapedAndNothingElse) {
    const Escape cases[] = {
        {"", ""},
        {"Controller", "Controller"},
        {"Say \"hi\"", "Say \\\"hi\\\""},
        {"C:\\Rig\\", "C:\\\\Rig\\\\"},
        {"line\nfeed", "line\\nfeed"},
        {"carriage\rreturn", "carriage\\rreturn"},
        {"tab\there", "tab\\there"},
        {"\x01\x1f\x7f", "\\u0001\\u001F\\u007F"},
        {"sep\xE2\x80\xA8par\xE2\x80\xA9", "sep\\u2028par\\u2029"},
        // Other characters of the same lead bytes, and every other UTF-8 text, stay as they are.
        {"\xE2\x80\xA6 \xE2\x82\xAC \xC3\xA9 \xF0\x9F\x90\x8D",
         "\xE2\x80\xA6 \xE2\x82\xAC \xC3\xA9 \xF0\x9F\x90\x8D"},
        // A lone surrogate in its three-byte form becomes the code unit it stands for.
        {"half \xED\xA0\xBD!", "half \\uD83D!"},
        {"half \xED\xBF\xBF", "half \\uDFFF"},
        // Hangul (ED 80..9F xx) is a character, not a surrogate.
        {"\xED\x95\x9C", "\xED\x95\x9C"},
        // A format directive in a name is only text.
        {"100% %s%n", "100% %s%n"},
    };
    for (const Escape& c : cases) {
        EXPECT_EQ(EscapeForStringLiteral(c.raw), c.literal) << c.raw;
    }
    // NUL is a control character like the others.
    EXPECT_EQ(EscapeForStringLiteral(std::string("a\0b", 3)), "a\\u0000b");
}

TEST(EscapeForStringLiteral, EachSingleByteMapsOnItsOwn) {
    for (int c = 0; c < 0x80; ++c) {
        const std::string one(1, static_cast<char>(c));
        const std::string out = EscapeForStringLiteral(one);
        const bool control = c < 0x20 || c == 0x7F;
        if (c == '"' || c == '\\') {
            EXPECT_EQ(out, "\\" + one);
        } else if (control) {
            EXPECT_EQ(out.front(), '\\') << c;
            EXPECT_EQ(out.find_first_of(std::string("\n\r\0", 3)), std::string::npos) << c;
        } else {
            EXPECT_EQ(out, one) << c;
        }
    }
}

// ---- UTF-16 names -------------------------------------------------------------------------------

TEST(Utf16ToUtf8, PairsJoinAndLoneHalvesKeepTheirThreeByteForm) {
    const A_UTF16Char text[] = {'R', 0x00E9, 0x20AC, 0xD83D, 0xDC0D, 0x2028, 0};
    EXPECT_EQ(Utf16ToUtf8(text, 6), "R\xC3\xA9\xE2\x82\xAC\xF0\x9F\x90\x8D\xE2\x80\xA8");
    const A_UTF16Char lone[] = {0xD800, 'a', 0xDC00, 0xD83D};
    EXPECT_EQ(Utf16ToUtf8(lone, 4),
              "\xED\xA0\x80"
              "a"
              "\xED\xB0\x80"
              "\xED\xA0\xBD");
    // Escaped, the halves reach the literal as the units they are.
    EXPECT_EQ(EscapeForStringLiteral(Utf16ToUtf8(lone, 4)), "\\uD800a\\uDC00\\uD83D");
    EXPECT_EQ(Utf16ToUtf8(text, 0), "");
}

// ---- formatting ---------------------------------------------------------------------------------

int HostSprintf(A_char* dst, const A_char* format, ...) {
    va_list args;
    va_start(args, format);
    const int n = std::vsprintf(dst, format, args);
    va_end(args);
    return n;
}

int ShortSprintf(A_char* dst, const A_char*, ...) {
    dst[0] = '\0';
    return 0;
}

class FormatExpressionTest : public ::testing::Test {
  protected:
    FormatExpressionTest() {
        utils_.ansi.sprintf = HostSprintf;
        in_.utils = &utils_;
    }
    PF_UtilCallbacks utils_{};
    PF_InData in_{};
};

TEST_F(FormatExpressionTest, TheTextIsSizedForTheNamesAndTheyAreEscaped) {
    const std::string name = "Rig \"" + std::string(5000, 'x') + "\\";
    std::string out;
    EXPECT_EQ(FormatExpression(&in_, out, "a(\"%s\").b(\"%s\")-%d", LiteralText(name),
                               LiteralText("LK TetherlineStyles"), 94),
              A_Err_NONE);
    EXPECT_EQ(out,
              "a(\"Rig \\\"" + std::string(5000, 'x') + "\\\\\").b(\"LK TetherlineStyles\")-94");
}

TEST_F(FormatExpressionTest, ATextBeyondTheLimitIsRefusedWithAMessageNamingTheName) {
    const std::string name = "Endless " + std::string(kMaxExpressionTextSize, 'z');
    std::string out = "old";
    try {
        FormatExpression(&in_, out, "x(\"%s\")", LiteralText(name));
        FAIL() << "not refused";
    } catch (const UserMessageError& refused) {
        EXPECT_EQ(refused.code, PF_Err_OUT_OF_MEMORY);
        EXPECT_NE(refused.message.find("naming \"Endless zzz"), std::string::npos)
            << refused.message;
        EXPECT_NE(refused.message.find("Shorten the name"), std::string::npos);
        // It fits the host's message buffer with its terminator.
        EXPECT_LT(refused.message.size(), 256u);
    }
    // Escaping can make a text too long that was not before it: refused as well.
    const std::string quotes(kMaxExpressionTextSize / 2 + 1, '"');
    EXPECT_THROW(FormatExpression(&in_, out, "%s", LiteralText(quotes)), UserMessageError);
    EXPECT_EQ(out, "");
    // A text of exactly the limit is written.
    const std::string most(kMaxExpressionTextSize - 2, 'a');
    EXPECT_EQ(FormatExpression(&in_, out, "\"%s\"", LiteralText(most)), A_Err_NONE);
    EXPECT_EQ(out.size(), kMaxExpressionTextSize);
}

TEST_F(FormatExpressionTest, TheMessageCutsALongNameOnACharacterAndHidesControlCharacters) {
    std::string name = "Line\n";
    for (int i = 0; i < 200; ++i) name += "\xE2\x82\xAC";  // three bytes each
    try {
        RefuseExpressionText(name);
    } catch (const UserMessageError& refused) {
        const std::string& m = refused.message;
        EXPECT_NE(m.find("\"Line \xE2\x82\xAC"), std::string::npos) << m;
        EXPECT_NE(m.find("...\""), std::string::npos) << m;
        // No character is cut: every euro sign is whole.
        const std::size_t start = m.find("Line ") + 5;
        const std::size_t end = m.find("...\"");
        EXPECT_EQ((end - start) % 3, 0u);
        EXPECT_LT(m.size(), 256u);
    }
}

TEST_F(FormatExpressionTest, AHostThatPrintsSomethingElseIsAnErrorAndNothingIsKept) {
    utils_.ansi.sprintf = ShortSprintf;
    std::string out;
    EXPECT_EQ(FormatExpression(&in_, out, "x(\"%s\")", LiteralText("Controller")),
              kFormattingFailed);
    EXPECT_EQ(out, "");
}

}  // namespace
