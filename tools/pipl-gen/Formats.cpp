#include "Formats.h"

#include <cstdio>

#include "shell/Identity.h"

namespace piplgen {

namespace {

// The resource file's fixed layout.
constexpr std::uint32_t kHeaderSize = 256;     // the data start here
constexpr std::uint16_t kTypeListOffset = 28;  // from the map's start: after the header copy
                                               // (16), reserved words (8) and two offsets (4)
constexpr std::uint16_t kTypeEntrySize = 8;    // type, count - 1, reference-list offset
constexpr std::uint16_t kReferenceSize = 12;   // id, name offset, attributes + data offset,
                                               // reserved
constexpr std::uint16_t kNoName = 0xFFFF;

class BigEndian {
  public:
    explicit BigEndian(std::vector<std::uint8_t>& out) : out_(out) {}
    void U8(std::uint8_t v) { out_.push_back(v); }
    void U16(std::uint16_t v) { Int(v, 2); }
    void U24(std::uint32_t v) { Int(v, 3); }
    void U32(std::uint32_t v) { Int(v, 4); }
    void Code(const char (&code)[5]) { out_.insert(out_.end(), code, code + 4); }
    void Zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }
    void Bytes(const std::vector<std::uint8_t>& bytes) {
        out_.insert(out_.end(), bytes.begin(), bytes.end());
    }

  private:
    void Int(std::uint32_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) out_.push_back(static_cast<std::uint8_t>(v >> 8 * i));
    }
    std::vector<std::uint8_t>& out_;
};

}  // namespace

bool WindowsResourceScript(const std::vector<std::uint8_t>& pipl, std::string& script,
                           std::string& error) {
    if (pipl.size() % 2 != 0) {
        error = "the property list has an odd number of bytes (" + std::to_string(pipl.size()) +
                ") and cannot be written as 16-bit words";
        return false;
    }
    char line[160];
    script = "// Written by tl-pipl-gen from the effect's identity table; do not edit.\n";
    std::snprintf(line, sizeof line,
                  "// The registration resource: %zu bytes as 16-bit little-endian words.\n",
                  pipl.size());
    script += line;
    std::snprintf(line, sizeof line, "LANGUAGE 0x%02X, 0x%02X\n\n", kWindowsLanguage & 0x3FF,
                  kWindowsLanguage >> 10);
    script += line;
    std::snprintf(line, sizeof line, "%d %s\nBEGIN\n", kResourceId, kWindowsResourceType);
    script += line;
    constexpr std::size_t kWordsPerLine = 8;
    const std::size_t words = pipl.size() / 2;
    for (std::size_t i = 0; i < words; ++i) {
        const unsigned word = pipl[2 * i] | (unsigned{pipl[2 * i + 1]} << 8);
        const bool last = i + 1 == words;
        const bool line_start = i % kWordsPerLine == 0;
        const bool line_end = last || i % kWordsPerLine == kWordsPerLine - 1;
        std::snprintf(line, sizeof line, "%s0x%04X%s%s", line_start ? "    " : " ", word,
                      last ? "" : ",", line_end ? "\n" : "");
        script += line;
    }
    script += "END\n";
    return true;
}

std::vector<std::uint8_t> MacResourceFile(const std::vector<std::uint8_t>& pipl) {
    const auto data_length = static_cast<std::uint32_t>(4 + pipl.size());
    const std::uint32_t map_offset = kHeaderSize + data_length;
    // One type with one reference; the name list is empty and starts where the map ends.
    const std::uint16_t reference_list = 2 + kTypeEntrySize;  // from the type list's start
    const auto map_length =
        static_cast<std::uint16_t>(kTypeListOffset + reference_list + kReferenceSize);

    std::vector<std::uint8_t> out;
    BigEndian w(out);
    auto header = [&] {
        w.U32(kHeaderSize);
        w.U32(map_offset);
        w.U32(data_length);
        w.U32(map_length);
    };
    header();
    w.Zeros(kHeaderSize - 16);

    // The data: the one resource behind its length.
    w.U32(static_cast<std::uint32_t>(pipl.size()));
    w.Bytes(pipl);

    // The map.
    header();
    w.Zeros(4 + 2 + 2);  // next map, file reference, attributes: the loader's, kept zero
    w.U16(kTypeListOffset);
    w.U16(map_length);  // name list offset: empty, at the end
    w.U16(0);           // number of types - 1
    w.Code(kMacResourceType);
    w.U16(0);  // number of resources of the type - 1
    w.U16(reference_list);
    w.U16(static_cast<std::uint16_t>(kResourceId));
    w.U16(kNoName);
    w.U8(0);   // attributes
    w.U24(0);  // offset of the resource's length word in the data
    w.U32(0);  // reserved: the loader's handle
    return out;
}

std::string MacPkgInfo() {
    std::string kind(4, ' ');
    for (int i = 0; i < 4; ++i) kind[i] = static_cast<char>(identity::kKind >> (24 - 8 * i));
    return kind + kHostCreator;
}

}  // namespace piplgen
