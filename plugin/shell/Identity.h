// The effect's identity: the one place these values are written down. Registration, global
// setup, the about box and the registration resource all read them from here, so they cannot
// drift apart (the host refuses a module whose resource and global-setup answers differ).
#pragma once

#include <cstdint>

namespace identity {

// ---- identity table ---------------------------------------------------------------------------
inline constexpr char kDisplayName[] = "Tetherline - Styles";
inline constexpr char kMatchName[] = "LK TetherlineStyles";
inline constexpr char kCategory[] = "Larkmoor";
inline constexpr char kEntryPointName[] = "EffectMain";
inline constexpr std::uint32_t kKind = 0x65464B54;  // 'eFKT', an effect plug-in
// The version of the host's effect interface the effect is written against.
inline constexpr std::int16_t kApiVersionMajor = 13;
inline constexpr std::int16_t kApiVersionMinor = 25;
inline constexpr std::int32_t kReservedInfo = 8;
inline constexpr std::uint32_t kMyVersion = 0x00080001;  // 1.0.0, development stage, build 1
inline constexpr std::uint32_t kOutFlags = 0x02208400;   // see the flag check in GlobalSetup.cpp
inline constexpr std::uint32_t kOutFlags2 = 0x08001408;  // likewise
inline constexpr char kProductVersion[] = "1.3.2";
inline constexpr char kDescription[] = "Vector shape styles for Tetherline.";
inline constexpr char kAboutYear[] = "2026";
inline constexpr char kAboutMaker[] = "Larkmoor Tools";
// -----------------------------------------------------------------------------------------------

// Builds a four-character code the way the host compares them: first character in the top byte.
constexpr std::uint32_t FourCC(const char (&code)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

// Packs an effect version the way the host unpacks `my_version`: build in bits 0-8, stage in
// 9-10, bug-fix in 11-14, sub-version in 15-18, low three bits of the version in 19-21 and the
// rest of the version from bit 26 on.
constexpr std::uint32_t PackVersion(std::uint32_t version, std::uint32_t subversion,
                                    std::uint32_t bugfix, std::uint32_t stage,
                                    std::uint32_t build) {
    return ((version >> 3) & 0xF) << 26 | (version & 0x7) << 19 | (subversion & 0xF) << 15 |
           (bugfix & 0xF) << 11 | (stage & 0x3) << 9 | (build & 0x1FF);
}

static_assert(kKind == FourCC("eFKT"), "the plug-in kind is 'eFKT'");
static_assert(kMyVersion == PackVersion(1, 0, 0, 0, 1), "version 1.0.0, develop, build 1");
// The host shows at most 31 characters of the name and category.
static_assert(sizeof(kDisplayName) - 1 <= 31 && sizeof(kCategory) - 1 <= 31, "name too long");

}  // namespace identity
