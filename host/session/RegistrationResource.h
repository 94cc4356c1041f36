// The host's reader of a module's registration resource (the property list it
// carries). The host takes the entry point's name, the version and the global
// flags from here; they must agree with what the plug-in answers at run time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tlhost {

struct ResourceInfo {
    std::string name, match_name, category, entry_point;
    std::uint32_t kind = 0;
    std::uint16_t spec_major = 0, spec_minor = 0;
    std::uint32_t version = 0, out_flags = 0, out_flags2 = 0;
    std::vector<std::string> keys;  // property keys in the order found
};

// Reads the Windows layout (little-endian, byte-reversed codes, 2-byte prefix).
// False, with the reason, on a malformed resource; never reads past `bytes`.
bool ReadRegistrationResource(const std::vector<std::uint8_t>& bytes, ResourceInfo* info,
                              std::string* error);

std::string FourCC(std::uint32_t code);

}  // namespace tlhost
