// The containers the registration resource travels in on each platform, written around the
// property-list bytes that BuildPipl gives: a resource script for the Windows resource compiler,
// a resource file for the Resources folder of the macOS bundle, and the bundle's PkgInfo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace piplgen {

// Where the host looks for the property list.
inline constexpr std::int16_t kResourceId = 16000;
// Windows: resource type "PIPL" in US English (primary language 0x09, sublanguage 0x01).
inline constexpr char kWindowsResourceType[] = "PIPL";
inline constexpr std::uint16_t kWindowsLanguage = 0x0409;
// macOS: resource type 'PiPL'.
inline constexpr char kMacResourceType[] = "PiPL";
// The creator code of the host application, the second half of PkgInfo.
inline constexpr char kHostCreator[] = "FXTC";

// A resource script declaring `pipl` as resource 16000 of type "PIPL" in US English, with the
// bytes written as 16-bit little-endian words (the resource compiler's unit for raw data).
// False, with the reason in `error`, for data of odd length, which words cannot hold exactly.
bool WindowsResourceScript(const std::vector<std::uint8_t>& pipl, std::string& script,
                           std::string& error);

// A resource file holding `pipl` as the one resource of type 'PiPL', id 16000, without a name:
// a 256-byte header (offsets and lengths of the data and the map, then reserved zeros), the
// data (each resource behind its 32-bit length), and the map (a copy of the header, reserved
// words, the type list and the reference list). Every integer big-endian.
std::vector<std::uint8_t> MacResourceFile(const std::vector<std::uint8_t>& pipl);

// The 8 bytes of PkgInfo: the plug-in kind's four characters, then the host's creator code.
std::string MacPkgInfo();

}  // namespace piplgen
