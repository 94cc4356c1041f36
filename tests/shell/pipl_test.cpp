// The registration resource: exact bytes for Windows, the platform differences for macOS, and
// the reader the host checks modules with.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/Pipl.h"

namespace {

std::string AsString(const std::vector<std::uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

// The Windows resource written out by hand: 16-bit 1, list version 0, 12 properties, each as
// vendor "MIB8", byte-reversed key, id 0, length, data.
// clang-format off
const char kWindowsBytes[] =
    "\x01\x00"                  // reserved word 1
    "\x00\x00\x00\x00"          // list version 0
    "\x0C\x00\x00\x00"          // 12 properties
    // 1 kind: 'eFKT'
    "MIB8" "dnik" "\x00\x00\x00\x00" "\x04\x00\x00\x00" "TKFe"
    // 2 name: 19 characters, length byte + 19 = 20
    "MIB8" "eman" "\x00\x00\x00\x00" "\x14\x00\x00\x00" "\x13" "Tetherline - Styles"
    // 3 catg: 8 characters, 1 + 8 = 9, padded to 12
    "MIB8" "gtac" "\x00\x00\x00\x00" "\x0C\x00\x00\x00" "\x08" "Larkmoor" "\x00\x00\x00"
    // 4 8664: "EffectMain" + terminating zero = 11, padded to 12
    "MIB8" "4668" "\x00\x00\x00\x00" "\x0C\x00\x00\x00" "EffectMain" "\x00\x00"
    // 5 ePVR: 2, 0
    "MIB8" "RVPe" "\x00\x00\x00\x00" "\x04\x00\x00\x00" "\x02\x00\x00\x00"
    // 6 eSVR: 13, 25
    "MIB8" "RVSe" "\x00\x00\x00\x00" "\x04\x00\x00\x00" "\x0D\x00\x19\x00"
    // 7 eVER: 0x00080001
    "MIB8" "REVe" "\x00\x00\x00\x00" "\x04\x00\x00\x00" "\x01\x00\x08\x00"
    // 8 eINF: 16-bit 0, length 2, then 2 uncounted zero bytes
    "MIB8" "FNIe" "\x00\x00\x00\x00" "\x02\x00\x00\x00" "\x00\x00" "\x00\x00"
    // 9 eGLO: 0x02208400
    "MIB8" "OLGe" "\x00\x00\x00\x00" "\x04\x00\x00\x00" "\x00\x84\x20\x02"
    // 10 eGL2: 0x08001408
    "MIB8" "2LGe" "\x00\x00\x00\x00" "\x04\x00\x00\x00" "\x08\x14\x00\x08"
    // 11 eMNA: 19 characters, 20 bytes
    "MIB8" "ANMe" "\x00\x00\x00\x00" "\x14\x00\x00\x00" "\x13" "LK TetherlineStyles"
    // 12 aeFL: 0
    "MIB8" "LFea" "\x00\x00\x00\x00" "\x04\x00\x00\x00" "\x00\x00\x00\x00";
// clang-format on

TEST(PiplWindows, MatchesTheHandWrittenBytes) {
    const std::string expected(kWindowsBytes, sizeof(kWindowsBytes) - 1);
    ASSERT_EQ(expected.size(), 298u);
    EXPECT_EQ(AsString(BuildPipl(PiplPlatform::Windows)), expected);
}

// One property record located by its key, with the length field and data as stored.
struct Record {
    std::size_t offset;  // of the vendor code
    std::string header;  // 16 bytes: vendor, key, id, length
    std::string data;    // `length` bytes
};

Record FindMac(const std::string& bytes, const std::string& key) {
    const std::size_t at = bytes.find("8BIM" + key);
    if (at == std::string::npos || at + 16 > bytes.size()) return {std::string::npos, {}, {}};
    const std::string header = bytes.substr(at, 16);
    const std::size_t len = (std::size_t{static_cast<unsigned char>(header[14])} << 8) |
                            static_cast<unsigned char>(header[15]);
    return {at, header, bytes.substr(at + 16, len)};
}

TEST(PiplMacOS, BigEndianNaturalCodesNoPrefixAndTwoEntryPoints) {
    const std::string mac = AsString(BuildPipl(PiplPlatform::MacOS));
    // No 2-byte prefix: list version 0 then 13 properties, big-endian.
    EXPECT_EQ(mac.substr(0, 8), std::string("\x00\x00\x00\x00\x00\x00\x00\x0D", 8));
    // Codes in natural order, the kind datum included.
    EXPECT_EQ(mac.substr(8, 20), std::string("8BIMkind\x00\x00\x00\x00\x00\x00\x00\x04"
                                             "eFKT",
                                             20));
    EXPECT_EQ(mac.find("8664"), std::string::npos);
    EXPECT_EQ(mac.find("MIB8"), std::string::npos);

    // Text lengths count the length byte and the characters, not the padding that follows.
    for (const char* key : {"mi64", "ma64"}) {
        const Record r = FindMac(mac, key);
        ASSERT_NE(r.offset, std::string::npos) << key;
        EXPECT_EQ(r.header.substr(12), std::string("\x00\x00\x00\x0B", 4)) << key;
        EXPECT_EQ(r.data, std::string(1, '\x0A') + "EffectMain") << key;
        EXPECT_EQ(mac[r.offset + 16 + 11], '\0') << key << ": one zero byte pads the record";
    }
    const Record category = FindMac(mac, "catg");
    EXPECT_EQ(category.header.substr(12), std::string("\x00\x00\x00\x09", 4));
    EXPECT_EQ(category.data, std::string(1, '\x08') + "Larkmoor");
    EXPECT_EQ(mac.substr(category.offset + 16 + 9, 3), std::string(3, '\0'));
    EXPECT_EQ(FindMac(mac, "mi64").offset, category.offset + 16 + 12);
    EXPECT_EQ(FindMac(mac, "name").header.substr(12), std::string("\x00\x00\x00\x14", 4));
    EXPECT_EQ(FindMac(mac, "eMNA").data, std::string(1, '\x13') + "LK TetherlineStyles");
    EXPECT_LT(FindMac(mac, "catg").offset, FindMac(mac, "mi64").offset);
    EXPECT_LT(FindMac(mac, "mi64").offset, FindMac(mac, "ma64").offset);
    EXPECT_LT(FindMac(mac, "ma64").offset, FindMac(mac, "ePVR").offset);

    EXPECT_EQ(FindMac(mac, "ePVR").data, std::string("\x00\x02\x00\x00", 4));
    EXPECT_EQ(FindMac(mac, "eSVR").data, std::string("\x00\x0D\x00\x19", 4));
    EXPECT_EQ(FindMac(mac, "eVER").data, std::string("\x00\x08\x00\x01", 4));
    EXPECT_EQ(FindMac(mac, "eGLO").data, std::string("\x02\x20\x84\x00", 4));
    EXPECT_EQ(FindMac(mac, "eGL2").data, std::string("\x08\x00\x14\x08", 4));

    // 'eINF' keeps its 16-bit datum with two uncounted pad bytes, so 'eGLO' follows 20 bytes on.
    const Record inf = FindMac(mac, "eINF");
    EXPECT_EQ(inf.header.substr(12), std::string("\x00\x00\x00\x02", 4));
    EXPECT_EQ(FindMac(mac, "eGLO").offset, inf.offset + 20);

    // 298 Windows bytes, less the prefix and '8664', plus 'mi64' and 'ma64'.
    EXPECT_EQ(mac.size(), 298u - 2 - 28 + 2 * 28);
}

// Parses a copy held in a buffer of exactly `size` bytes, so a read past it is a real overrun
// (caught by the sanitizer builds).
bool ParseExact(const std::vector<std::uint8_t>& bytes, std::size_t size, PiplPlatform platform,
                PiplInfo& info, std::string& error) {
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size == 0 ? 1 : size]);
    std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size), copy.get());
    return ParsePipl(copy.get(), size, platform, info, error);
}

class PiplRoundTrip : public ::testing::TestWithParam<PiplPlatform> {};

TEST_P(PiplRoundTrip, ReadsBackTheIdentity) {
    const std::vector<std::uint8_t> bytes = BuildPipl(GetParam());
    PiplInfo info;
    std::string error;
    ASSERT_TRUE(ParseExact(bytes, bytes.size(), GetParam(), info, error)) << error;
    EXPECT_EQ(info.name, "Tetherline - Styles");
    EXPECT_EQ(info.match_name, "LK TetherlineStyles");
    EXPECT_EQ(info.category, "Larkmoor");
    EXPECT_EQ(info.entry_point, "EffectMain");
    EXPECT_EQ(info.kind, 0x65464B54u);
    EXPECT_EQ(info.version, 0x00080001u);
    EXPECT_EQ(info.out_flags, 0x02208400u);
    EXPECT_EQ(info.out_flags2, 0x08001408u);
    EXPECT_EQ(info.spec_major, 13);
    EXPECT_EQ(info.spec_minor, 25);
}

TEST_P(PiplRoundTrip, RejectsEveryTruncation) {
    const std::vector<std::uint8_t> bytes = BuildPipl(GetParam());
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        PiplInfo info;
        std::string error;
        EXPECT_FALSE(ParseExact(bytes, n, GetParam(), info, error)) << "accepted " << n << " bytes";
        EXPECT_FALSE(error.empty()) << n;
    }
}

TEST_P(PiplRoundTrip, RejectsTheOtherPlatformsLayout) {
    const PiplPlatform other =
        GetParam() == PiplPlatform::Windows ? PiplPlatform::MacOS : PiplPlatform::Windows;
    const std::vector<std::uint8_t> bytes = BuildPipl(other);
    PiplInfo info;
    std::string error;
    EXPECT_FALSE(ParseExact(bytes, bytes.size(), GetParam(), info, error));
}

INSTANTIATE_TEST_SUITE_P(BothPlatforms, PiplRoundTrip,
                         ::testing::Values(PiplPlatform::Windows, PiplPlatform::MacOS));

// Windows offsets used below: header 10 bytes, 'kind' record at 10, 'name' record at 30.
TEST(PiplParse, RejectsDamagedRecords) {
    const std::vector<std::uint8_t> good = BuildPipl(PiplPlatform::Windows);
    auto fails = [](std::vector<std::uint8_t> bytes) {
        PiplInfo info;
        std::string error;
        return !ParseExact(bytes, bytes.size(), PiplPlatform::Windows, info, error) &&
               !error.empty();
    };
    auto patched = [&](std::size_t at, std::initializer_list<std::uint8_t> with) {
        std::vector<std::uint8_t> b = good;
        std::copy(with.begin(), with.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        return b;
    };
    EXPECT_TRUE(fails(patched(0, {2, 0})));                          // reserved word not 1
    EXPECT_TRUE(fails(patched(2, {1})));                             // list version not 0
    EXPECT_TRUE(fails(patched(6, {0xFF, 0xFF, 0xFF, 0x7F})));        // absurd property count
    EXPECT_TRUE(fails(patched(6, {13})));                            // one property too many
    EXPECT_TRUE(fails(patched(10, {'X'})));                          // vendor not '8BIM'
    EXPECT_TRUE(fails(patched(30 + 12, {0xF0, 0xFF, 0xFF, 0xFF})));  // length past the end
    EXPECT_TRUE(fails(patched(30 + 16, {20})));                      // text longer than datum
    EXPECT_TRUE(fails(patched(10 + 4, {'X'})));                      // 'kind' missing
    EXPECT_TRUE(fails(patched(10 + 12, {8})));                       // 'kind' of 8 bytes

    std::vector<std::uint8_t> trailing = good;
    trailing.insert(trailing.end(), {0, 0, 0, 0});
    EXPECT_TRUE(fails(trailing));
    trailing.resize(good.size() + 2);
    EXPECT_FALSE(fails(trailing)) << "a resource padded to 4 bytes is still valid";

    PiplInfo info;
    std::string error;
    EXPECT_FALSE(ParsePipl(nullptr, 0, PiplPlatform::Windows, info, error));
}

}  // namespace
