// The macOS bundle's files as this build writes them into build/macos/: the resource file that
// carries the registration resource, PkgInfo and Info.plist. They cannot be loaded by the host
// here, so their bytes are read back the way the host's loader reads them.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "shell/Identity.h"
#include "shell/Pipl.h"

namespace {

std::vector<std::uint8_t> Read(const std::string& name) {
    std::ifstream in(std::string(TL_MACOS_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name << " was not written";
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

std::uint32_t BE(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | b.at(at + static_cast<std::size_t>(i));
    return v;
}

std::string Text(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t n) {
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at),
                       b.begin() + static_cast<std::ptrdiff_t>(at + n));
}

// Finds a resource through the file's map as the loader does: header, type list, reference
// list, then the length word in the data. Empty, with the reason, when anything is off.
std::vector<std::uint8_t> FindResource(const std::vector<std::uint8_t>& file,
                                       const std::string& type, int id, std::string& why) {
    auto fail = [&](const std::string& reason) {
        why = reason;
        return std::vector<std::uint8_t>{};
    };
    if (file.size() < 16) return fail("no header");
    const std::size_t data = BE(file, 0, 4), map = BE(file, 4, 4);
    const std::size_t data_length = BE(file, 8, 4), map_length = BE(file, 12, 4);
    if (data + data_length > map || map + map_length != file.size()) {
        return fail("data and map do not tile the file");
    }
    const std::size_t types = map + BE(file, map + 24, 2);
    const std::size_t type_count = BE(file, types, 2) + 1;
    for (std::size_t t = 0; t < type_count; ++t) {
        const std::size_t entry = types + 2 + 8 * t;
        if (Text(file, entry, 4) != type) continue;
        const std::size_t count = BE(file, entry + 4, 2) + 1;
        const std::size_t refs = types + BE(file, entry + 6, 2);
        for (std::size_t r = 0; r < count; ++r) {
            const std::size_t ref = refs + 12 * r;
            if (static_cast<std::int16_t>(BE(file, ref, 2)) != id) continue;
            const std::size_t at = data + (BE(file, ref + 4, 4) & 0xFFFFFF);
            const std::size_t length = BE(file, at, 4);
            if (at + 4 + length > data + data_length) return fail("resource runs past the data");
            const auto begin = file.begin() + static_cast<std::ptrdiff_t>(at + 4);
            return std::vector<std::uint8_t>(begin, begin + static_cast<std::ptrdiff_t>(length));
        }
    }
    return fail("no resource " + type + " " + std::to_string(id));
}

TEST(MacResourceFile, HeaderAndMapHaveTheLoadersLayout) {
    const std::vector<std::uint8_t> file = Read("TetherlineStyles.rsrc");
    const std::vector<std::uint8_t> pipl = BuildPipl(PiplPlatform::MacOS);
    ASSERT_EQ(file.size(), 256 + 4 + pipl.size() + 50);

    // Header: data at 256, map right after the data, lengths; the rest of the 256 bytes zero.
    EXPECT_EQ(BE(file, 0, 4), 256u);
    EXPECT_EQ(BE(file, 4, 4), 256u + 4 + pipl.size());
    EXPECT_EQ(BE(file, 8, 4), 4 + pipl.size());
    EXPECT_EQ(BE(file, 12, 4), 50u);
    for (std::size_t i = 16; i < 256; ++i) ASSERT_EQ(file[i], 0) << "header byte " << i;

    // The map: a copy of the header, 8 reserved bytes, the type and name list offsets.
    const std::size_t map = BE(file, 4, 4);
    EXPECT_EQ(Text(file, map, 16), Text(file, 0, 16));
    EXPECT_EQ(Text(file, map + 16, 8), std::string(8, '\0'));
    EXPECT_EQ(BE(file, map + 24, 2), 28u);
    EXPECT_EQ(BE(file, map + 26, 2), 50u) << "the name list is empty, at the end of the map";
    // One type, 'PiPL', with one resource whose references start 10 bytes into the type list.
    EXPECT_EQ(BE(file, map + 28, 2), 0u);
    EXPECT_EQ(Text(file, map + 30, 4), "PiPL");
    EXPECT_EQ(BE(file, map + 34, 2), 0u);
    EXPECT_EQ(BE(file, map + 36, 2), 10u);
    // The reference: id 16000, no name, no attributes, the first resource of the data.
    EXPECT_EQ(BE(file, map + 38, 2), 16000u);
    EXPECT_EQ(BE(file, map + 40, 2), 0xFFFFu);
    EXPECT_EQ(BE(file, map + 42, 4), 0u);
    EXPECT_EQ(BE(file, map + 46, 4), 0u);
}

TEST(MacResourceFile, CarriesTheMacPropertyListAsPiPL16000) {
    const std::vector<std::uint8_t> file = Read("TetherlineStyles.rsrc");
    std::string why;
    const std::vector<std::uint8_t> pipl = FindResource(file, "PiPL", 16000, why);
    ASSERT_FALSE(pipl.empty()) << why;
    EXPECT_EQ(pipl, BuildPipl(PiplPlatform::MacOS));
    EXPECT_TRUE(FindResource(file, "PIPL", 16000, why).empty()) << "the type is 'PiPL' here";

    // Big-endian, codes in their natural order, no Windows prefix, both entry-point keys.
    EXPECT_EQ(Text(pipl, 0, 8), std::string("\0\0\0\0\0\0\0\x0D", 8));
    EXPECT_EQ(Text(pipl, 8, 8), "8BIMkind");
    EXPECT_EQ(Text(pipl, 24, 4), "eFKT");
    PiplInfo info;
    std::string error;
    ASSERT_TRUE(ParsePipl(pipl.data(), pipl.size(), PiplPlatform::MacOS, info, error)) << error;
    EXPECT_EQ(info.entry_point, "EffectMain");
    EXPECT_EQ(info.match_name, identity::kMatchName);
    EXPECT_EQ(info.out_flags, identity::kOutFlags);
    EXPECT_EQ(info.out_flags2, identity::kOutFlags2);
    EXPECT_EQ(info.version, identity::kMyVersion);
}

// The <key>/<string> pairs of a flat property list, and whether every key was unique.
std::map<std::string, std::string> PlistStrings(const std::string& xml, bool& unique) {
    std::map<std::string, std::string> out;
    unique = true;
    std::size_t at = 0;
    while ((at = xml.find("<key>", at)) != std::string::npos) {
        const std::size_t key_end = xml.find("</key>", at);
        const std::string key = xml.substr(at + 5, key_end - at - 5);
        const std::size_t value = xml.find_first_not_of(" \t\r\n", key_end + 6);
        std::string text;
        if (xml.compare(value, 8, "<string>") == 0) {
            text = xml.substr(value + 8, xml.find("</string>", value) - value - 8);
        }
        unique = unique && out.count(key) == 0;
        out[key] = text;
        at = key_end;
    }
    return out;
}

TEST(MacBundleInfo, PkgInfoAndInfoPlistAgreeWithTheIdentity) {
    const std::vector<std::uint8_t> pkginfo = Read("PkgInfo");
    EXPECT_EQ(Text(pkginfo, 0, pkginfo.size()), "eFKTFXTC");
    EXPECT_EQ(BE(pkginfo, 0, 4), identity::kKind);

    const std::vector<std::uint8_t> bytes = Read("Info.plist");
    const std::string xml(bytes.begin(), bytes.end());
    EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
    EXPECT_NE(xml.find("<plist version=\"1.0\">"), std::string::npos);
    EXPECT_EQ(xml.find('@'), std::string::npos) << "a template variable was left unreplaced";

    bool unique = false;
    const auto keys = PlistStrings(xml, unique);
    EXPECT_TRUE(unique);
    EXPECT_EQ(keys.at("CFBundlePackageType"), Text(pkginfo, 0, 4));
    EXPECT_EQ(keys.at("CFBundleSignature"), Text(pkginfo, 4, 4));
    // The executable and the resource file share the bundle's base name.
    EXPECT_EQ(keys.at("CFBundleExecutable"), "TetherlineStyles");
    EXPECT_EQ(keys.at("CFBundleName"), "TetherlineStyles");
    EXPECT_EQ(keys.at("CFBundleIdentifier"), "com.larkmoor.TetherlineStyles");
    EXPECT_EQ(keys.at("CFBundleShortVersionString"), identity::kProductVersion);
    EXPECT_EQ(keys.at("CFBundleVersion"), identity::kProductVersion);
    EXPECT_EQ(keys.at("CFBundleInfoDictionaryVersion"), "6.0");
}

}  // namespace
