// The texts the export makes: path numbers from set names, placeholder layer names, and the
// expressions with every name escaped.
#include <gtest/gtest.h>

#include "arrowheads/ArrowheadFixture.h"
#include "arrowheads/Export.h"

namespace arrowtest {
namespace {

TEST(PathNumber, TwoPiecesGiveTheSecondReadAsAnInteger) {
    EXPECT_EQ(PathNumberOf("Arrowheads 3"), 3);
    EXPECT_EQ(PathNumberOf("Arrowheads 12"), 12);
    EXPECT_EQ(PathNumberOf("Arrowheads 3 "), 3);  // a trailing space adds no piece
    EXPECT_EQ(PathNumberOf("Arrowheads -2"), -2);
    EXPECT_EQ(PathNumberOf("Arrowheads +7x"), 7);    // up to the first other character
    EXPECT_EQ(PathNumberOf("Arrowheads \t\n4"), 4);  // leading white space skipped
    EXPECT_EQ(PathNumberOf("Arrowheads x"), 0);      // no digits
    EXPECT_EQ(PathNumberOf(" 3"), 3);                // an empty first piece, then "3"
    EXPECT_EQ(PathNumberOf("Arrowheads  "), 0);      // "Arrowheads" and an empty piece
}

TEST(PathNumber, OtherCountsOfPiecesGiveOne) {
    EXPECT_EQ(PathNumberOf(""), 1);
    EXPECT_EQ(PathNumberOf("Arrowheads"), 1);
    EXPECT_EQ(PathNumberOf("Arrowheads 3 4"), 1);
    EXPECT_EQ(PathNumberOf("Arrowheads  3"), 1);  // two spaces leave an empty piece
    EXPECT_EQ(PathNumberOf("Arrowheads "), 1);    // a trailing space adds none: one piece
}

TEST(PathNumber, NumbersBeyond32BitsAreHeldToThem) {
    EXPECT_EQ(PathNumberOf("Arrowheads 99999999999999999999"), 2147483647);
    EXPECT_EQ(PathNumberOf("Arrowheads -99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(PathNumberOf("Arrowheads 2147483647"), 2147483647);
}

TEST(IntToString, DecimalWithoutPadding) {
    EXPECT_EQ(intToString(0), "0");
    EXPECT_EQ(intToString(42), "42");
    EXPECT_EQ(intToString(-7), "-7");
    EXPECT_EQ(intToString(-2147483647 - 1), "-2147483648");
}

TEST(PlaceholderName, JoinsTheFourNamesInOrder) {
    EXPECT_EQ(PlaceholderLayerName("End Arrowhead", "Controller", "Arrowheads 2", "Line 1"),
              "End Arrowhead - Controller - Arrowheads 2 - Line 1");
}

// Never more than 255 bytes, and a cut never splits a character.
TEST(PlaceholderName, ALongNameIsCutOnACharacterBoundary) {
    const std::string ascii(400, 'a');
    EXPECT_EQ(PlaceholderLayerName("Start Arrowhead", ascii, "Arrowheads 1", "Line").size(), 255u);
    for (std::size_t pad = 0; pad < 4; ++pad) {
        std::string wide(pad, 'x');
        for (int i = 0; i < 100; ++i) wide += "\xF0\x9F\x99\x82";  // four bytes each
        const std::string name =
            PlaceholderLayerName("Start Arrowhead", wide, "Arrowheads 1", "Line");
        EXPECT_LE(name.size(), 255u) << pad;
        EXPECT_GE(name.size(), 252u) << pad;
        // Ends on a whole character: the last lead byte has all its continuation bytes.
        std::size_t lead = name.size();
        while (lead > 0 && (static_cast<unsigned char>(name[lead - 1]) & 0xC0) == 0x80) --lead;
        ASSERT_GT(lead, 0u);
        EXPECT_EQ(static_cast<unsigned char>(name[lead - 1]) >= 0xF0 ? lead + 3 : lead, name.size())
            << pad;
    }
}

class Texts : public ArrowheadTest {
  protected:
    PlaceholderExpressions Format(const std::string& effect_layer, const std::string& line,
                                  const std::string& group, A_long number) {
        PlaceholderExpressions texts;
        const CommandReport report = Run([&](PF_InData* in_data) -> PF_Err {
            return FormatPlaceholderExpressions(in_data, effect_layer, line, group, number, texts);
        });
        EXPECT_EQ(report.result, A_Err_NONE);
        return texts;
    }
};

TEST_F(Texts, TheOrientationAndOpacityTextsAreTheFixedPiecesAroundTheNames) {
    const PlaceholderExpressions texts = Format("Controller", "Line 1", "Line 1", 2);
    EXPECT_EQ(texts.orientation, "thisComp.layer(\"Line 1\").orientation;");
    EXPECT_EQ(texts.opacity,
              "is3dB = true; try { foo = orientation.value; } catch(e){ is3dB = false; }fx = "
              "is3dB ? thisComp.layer(\"Controller\").effect(\"LK TetherlineStyles\") : "
              "thisComp.layer(\"Line 1\").effect(\"LK TetherlineStyles\");trimB = "
              "(fx(\"Trim\").value > 0);opa = value;if (trimB){   start = fx(\"LK "
              "TetherlineStyles-0120\")/100;   end = fx(\"LK TetherlineStyles-0121\")/100;   if "
              "(start == end)   {      opa = 0;   }}opa;");
    // The trim function comes first in both path expressions, with its tabs and its "%".
    EXPECT_EQ(texts.position.rfind("function getMod(){\tvar mod = 0;\tif (trimB)\t{", 0), 0u);
    EXPECT_NE(texts.position.find("mod = (trimVal + offset) % 1;"), std::string::npos);
    EXPECT_NE(texts.position.find(
                  "H = value;L = is3dB ? thisComp.layer(\"Line 1\") : thisComp.layer(\"Line 1\");"
                  "path = L.content(\"Line 1\").content(\"Paths\").content(\"Path 2\")"),
              std::string::npos);
    EXPECT_NE(texts.rotation.find("radiansToDegrees(a) + (isStartB ? 180 : 0);"),
              std::string::npos);
}

TEST_F(Texts, EveryNameIsEscapedInsideItsStringLiteral) {
    const PlaceholderExpressions texts = Format("A\"b", "C\\d", "E\nf", 1);
    EXPECT_NE(texts.opacity.find("thisComp.layer(\"A\\\"b\")"), std::string::npos);
    EXPECT_NE(texts.opacity.find("thisComp.layer(\"C\\\\d\")"), std::string::npos);
    EXPECT_NE(texts.position.find("L.content(\"E\\nf\")"), std::string::npos);
    EXPECT_NE(texts.position.find("thisComp.layer(\"E\\nf\")"), std::string::npos);
    EXPECT_EQ(texts.orientation, "thisComp.layer(\"C\\\\d\").orientation;");
    for (const std::string* text :
         {&texts.position, &texts.rotation, &texts.orientation, &texts.opacity}) {
        EXPECT_EQ(text->find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace arrowtest
