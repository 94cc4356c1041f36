// The registration resource ("PiPL" property list) that tells the host what the module is
// before it loads any code: written at build time by tl-pipl-gen, read back by the stand-in host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The byte layout differs per platform: Windows stores every 32-bit field little-endian (so
// four-character codes appear byte-reversed) behind a 2-byte prefix and names the entry point
// with one '8664' property; macOS stores them big-endian, without the prefix, and names the
// entry point twice ('mi64' and 'ma64').
enum class PiplPlatform { Windows, MacOS };

// The property list for the given platform, from the identity table. The byte order follows
// the platform argument, never the machine running the code.
std::vector<std::uint8_t> BuildPipl(PiplPlatform platform);

// What a host needs from a property list to check a module against its global-setup answers.
struct PiplInfo {
    std::string name, match_name, category, entry_point;
    std::uint32_t kind = 0, version = 0, out_flags = 0, out_flags2 = 0;
    std::uint16_t spec_major = 0, spec_minor = 0;
};

// Reads a property list laid out for `platform`. Returns false with a message in `error` when
// the data is truncated, malformed, or lacks one of the properties PiplInfo holds; never reads
// past `size` bytes.
bool ParsePipl(const std::uint8_t* data, std::size_t size, PiplPlatform platform, PiplInfo& out,
               std::string& error);
