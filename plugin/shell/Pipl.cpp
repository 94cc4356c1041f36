#include "shell/Pipl.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "shell/Identity.h"

namespace {

using identity::FourCC;
using identity::kApiVersionMajor;
using identity::kApiVersionMinor;
using identity::kCategory;
using identity::kDisplayName;
using identity::kEntryPointName;
using identity::kKind;
using identity::kMatchName;
using identity::kMyVersion;
using identity::kOutFlags;
using identity::kOutFlags2;

// How a property's value is stored.
enum class Datum {
    Long,        // one 32-bit value (numbers and four-character codes alike)
    ShortPair,   // two 16-bit values
    Short,       // one 16-bit value; the record is filled to 4 bytes outside the counted length
    PascalText,  // length byte and characters, zero-padded to 4 bytes (see TextPaddingCounted)
    CText,       // characters and a terminating zero, zero-padded the same way
};

// Which platform's list carries a property.
enum class On { Both, Windows, MacOS };

struct Property {
    std::uint32_t key;
    On on;
    Datum datum;
    const char* text;
    std::uint32_t number;
    std::uint16_t first, second;
};

// ---- the property list, in the order the host expects ----------------------------------------
// clang-format off
constexpr Property kProperties[] = {
    // key          platform     datum              text             number, two values
    {FourCC("kind"), On::Both,    Datum::Long,       nullptr,         kKind, 0, 0},
    {FourCC("name"), On::Both,    Datum::PascalText, kDisplayName,    0, 0, 0},
    {FourCC("catg"), On::Both,    Datum::PascalText, kCategory,       0, 0, 0},
    {FourCC("8664"), On::Windows, Datum::CText,      kEntryPointName, 0, 0, 0},
    {FourCC("mi64"), On::MacOS,   Datum::PascalText, kEntryPointName, 0, 0, 0},
    {FourCC("ma64"), On::MacOS,   Datum::PascalText, kEntryPointName, 0, 0, 0},
    {FourCC("ePVR"), On::Both,    Datum::ShortPair,  nullptr,         0, 2, 0},
    {FourCC("eSVR"), On::Both,    Datum::ShortPair,  nullptr,         0,
                                                      kApiVersionMajor, kApiVersionMinor},
    {FourCC("eVER"), On::Both,    Datum::Long,       nullptr,         kMyVersion, 0, 0},
    {FourCC("eINF"), On::Both,    Datum::Short,      nullptr,         0, 0, 0},
    {FourCC("eGLO"), On::Both,    Datum::Long,       nullptr,         kOutFlags, 0, 0},
    {FourCC("eGL2"), On::Both,    Datum::Long,       nullptr,         kOutFlags2, 0, 0},
    {FourCC("eMNA"), On::Both,    Datum::PascalText, kMatchName,      0, 0, 0},
    {FourCC("aeFL"), On::Both,    Datum::Long,       nullptr,         0, 0, 0},
};
// clang-format on
// -----------------------------------------------------------------------------------------------

constexpr std::uint32_t kVendor = FourCC("8BIM");
constexpr std::uint16_t kWindowsPrefix = 1;
constexpr std::uint32_t kListVersion = 0;

constexpr std::size_t RoundUp4(std::size_t n) {
    return (n + 3) & ~std::size_t{3};
}

// Text data is zero-padded to a multiple of 4 bytes on both platforms. Windows counts that
// padding in the property's length; macOS counts the text alone and pads after it, as it does
// for every datum.
bool TextPaddingCounted(PiplPlatform platform) {
    return platform == PiplPlatform::Windows;
}

bool Carries(On on, PiplPlatform platform) {
    return on == On::Both || (on == On::Windows && platform == PiplPlatform::Windows) ||
           (on == On::MacOS && platform == PiplPlatform::MacOS);
}

// Appends integers in the platform's byte order.
class Writer {
  public:
    Writer(std::vector<std::uint8_t>& out, PiplPlatform platform)
        : out_(out), little_(platform == PiplPlatform::Windows) {}

    void U16(std::uint16_t v) { Int(v, 2); }
    void U32(std::uint32_t v) { Int(v, 4); }
    void Byte(std::uint8_t b) { out_.push_back(b); }
    void Text(const char* s, std::size_t n) { out_.insert(out_.end(), s, s + n); }
    void ZerosTo4() {
        while (out_.size() % 4 != 0) out_.push_back(0);
    }

  private:
    void Int(std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = little_ ? 8 * i : 8 * (bytes - 1 - i);
            out_.push_back(static_cast<std::uint8_t>(v >> shift));
        }
    }
    std::vector<std::uint8_t>& out_;
    bool little_;
};

// The datum of one property, including the padding its length counts.
std::vector<std::uint8_t> EncodeDatum(const Property& p, PiplPlatform platform) {
    std::vector<std::uint8_t> data;
    Writer w(data, platform);
    const bool pad_text = TextPaddingCounted(platform);
    switch (p.datum) {
        case Datum::Long:
            w.U32(p.number);
            break;
        case Datum::ShortPair:
            w.U16(p.first);
            w.U16(p.second);
            break;
        case Datum::Short:
            w.U16(static_cast<std::uint16_t>(p.number));
            break;
        case Datum::PascalText: {
            const std::size_t n = std::strlen(p.text);
            w.Byte(static_cast<std::uint8_t>(n));
            w.Text(p.text, n);
            if (pad_text) w.ZerosTo4();
            break;
        }
        case Datum::CText:
            w.Text(p.text, std::strlen(p.text));
            w.Byte(0);
            if (pad_text) w.ZerosTo4();
            break;
    }
    return data;
}

// ---- reading ------------------------------------------------------------------------------------

// Bounds-checked reads in the platform's byte order.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size, PiplPlatform platform)
        : data_(data), size_(size), little_(platform == PiplPlatform::Windows) {}

    std::size_t remaining() const { return size_ - pos_; }
    std::size_t pos() const { return pos_; }
    bool U16(std::uint16_t& v) {
        std::uint32_t w = 0;
        if (!Int(w, 2)) return false;
        v = static_cast<std::uint16_t>(w);
        return true;
    }
    bool U32(std::uint32_t& v) { return Int(v, 4); }
    bool Skip(std::size_t n) {
        if (n > remaining()) return false;
        pos_ += n;
        return true;
    }
    const std::uint8_t* here() const { return data_ + pos_; }

  private:
    bool Int(std::uint32_t& v, int bytes) {
        if (remaining() < static_cast<std::size_t>(bytes)) return false;
        v = 0;
        for (int i = 0; i < bytes; ++i) {
            const int shift = little_ ? 8 * i : 8 * (bytes - 1 - i);
            v |= static_cast<std::uint32_t>(data_[pos_ + i]) << shift;
        }
        pos_ += bytes;
        return true;
    }
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool little_;
};

std::string KeyText(std::uint32_t key) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i) {
        const char c = static_cast<char>(key >> (24 - 8 * i));
        s[i] = (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return "'" + s + "'";
}

bool ReadPascal(const std::uint8_t* d, std::uint32_t len, std::string& out) {
    if (len < 1 || std::size_t{d[0]} + 1 > len) return false;
    out.assign(reinterpret_cast<const char*>(d + 1), d[0]);
    return true;
}

bool ReadCText(const std::uint8_t* d, std::uint32_t len, std::string& out) {
    const void* nul = std::memchr(d, 0, len);
    if (nul == nullptr) return false;
    out.assign(reinterpret_cast<const char*>(d),
               static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - d));
    return true;
}

bool ReadU32(const std::uint8_t* d, std::uint32_t len, PiplPlatform platform, std::uint32_t& v) {
    Reader r(d, len, platform);
    return len == 4 && r.U32(v);
}

bool ReadPair(const std::uint8_t* d, std::uint32_t len, PiplPlatform platform, std::uint16_t& a,
              std::uint16_t& b) {
    Reader r(d, len, platform);
    return len == 4 && r.U16(a) && r.U16(b);
}

// The properties PiplInfo is filled from; each must appear exactly once.
enum Seen : unsigned {
    kSeenKind = 1u << 0,
    kSeenName = 1u << 1,
    kSeenCategory = 1u << 2,
    kSeenEntry = 1u << 3,     // '8664' on Windows, 'mi64' on macOS
    kSeenEntryArm = 1u << 4,  // 'ma64' on macOS
    kSeenApiVersion = 1u << 5,
    kSeenVersion = 1u << 6,
    kSeenFlags = 1u << 7,
    kSeenFlags2 = 1u << 8,
    kSeenMatchName = 1u << 9,
};

// Decodes one property's datum into `out`; unknown keys are accepted and ignored.
bool DecodeProperty(std::uint32_t key, const std::uint8_t* d, std::uint32_t len,
                    PiplPlatform platform, PiplInfo& out, std::string& arm_entry, unsigned& seen,
                    std::string& error) {
    const bool windows = platform == PiplPlatform::Windows;
    unsigned bit = 0;
    bool ok = true;
    if (key == FourCC("kind")) {
        bit = kSeenKind;
        ok = ReadU32(d, len, platform, out.kind);
    } else if (key == FourCC("name")) {
        bit = kSeenName;
        ok = ReadPascal(d, len, out.name);
    } else if (key == FourCC("catg")) {
        bit = kSeenCategory;
        ok = ReadPascal(d, len, out.category);
    } else if (key == FourCC("eMNA")) {
        bit = kSeenMatchName;
        ok = ReadPascal(d, len, out.match_name);
    } else if (windows && key == FourCC("8664")) {
        bit = kSeenEntry;
        ok = ReadCText(d, len, out.entry_point);
    } else if (!windows && key == FourCC("mi64")) {
        bit = kSeenEntry;
        ok = ReadPascal(d, len, out.entry_point);
    } else if (!windows && key == FourCC("ma64")) {
        bit = kSeenEntryArm;
        ok = ReadPascal(d, len, arm_entry);
    } else if (key == FourCC("eSVR")) {
        bit = kSeenApiVersion;
        ok = ReadPair(d, len, platform, out.spec_major, out.spec_minor);
    } else if (key == FourCC("eVER")) {
        bit = kSeenVersion;
        ok = ReadU32(d, len, platform, out.version);
    } else if (key == FourCC("eGLO")) {
        bit = kSeenFlags;
        ok = ReadU32(d, len, platform, out.out_flags);
    } else if (key == FourCC("eGL2")) {
        bit = kSeenFlags2;
        ok = ReadU32(d, len, platform, out.out_flags2);
    } else {
        return true;
    }
    if (seen & bit) {
        error = "property " + KeyText(key) + " appears twice";
        return false;
    }
    if (!ok) {
        error =
            "property " + KeyText(key) + " has a malformed value of length " + std::to_string(len);
        return false;
    }
    seen |= bit;
    return true;
}

}  // namespace

std::vector<std::uint8_t> BuildPipl(PiplPlatform platform) {
    std::vector<std::uint8_t> out;
    Writer w(out, platform);
    std::uint32_t count = 0;
    for (const Property& p : kProperties) count += Carries(p.on, platform) ? 1 : 0;

    if (platform == PiplPlatform::Windows) w.U16(kWindowsPrefix);
    w.U32(kListVersion);
    w.U32(count);
    for (const Property& p : kProperties) {
        if (!Carries(p.on, platform)) continue;
        const std::vector<std::uint8_t> data = EncodeDatum(p, platform);
        w.U32(kVendor);
        w.U32(p.key);
        w.U32(0);  // property identifier
        w.U32(static_cast<std::uint32_t>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
        // Padding the length does not count: after a 16-bit datum on both platforms, and
        // after text on macOS.
        for (std::size_t n = data.size(); n % 4 != 0; ++n) w.Byte(0);
    }
    return out;
}

bool ParsePipl(const std::uint8_t* data, std::size_t size, PiplPlatform platform, PiplInfo& out,
               std::string& error) {
    out = PiplInfo{};
    if (data == nullptr && size != 0) {
        error = "no data";
        return false;
    }
    Reader r(data, size, platform);
    if (platform == PiplPlatform::Windows) {
        std::uint16_t prefix = 0;
        if (!r.U16(prefix)) {
            error = "truncated before the reserved word";
            return false;
        }
        if (prefix != kWindowsPrefix) {
            error = "reserved word is " + std::to_string(prefix) + ", expected 1";
            return false;
        }
    }
    std::uint32_t version = 0, count = 0;
    if (!r.U32(version) || !r.U32(count)) {
        error = "truncated list header";
        return false;
    }
    if (version != kListVersion) {
        error = "list version is " + std::to_string(version) + ", expected 0";
        return false;
    }
    // Every property record takes at least 16 bytes of header.
    if (count > r.remaining() / 16) {
        error = "property count " + std::to_string(count) + " exceeds the data";
        return false;
    }

    unsigned seen = 0;
    std::string arm_entry;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string where = "property " + std::to_string(i + 1);
        std::uint32_t vendor = 0, key = 0, id = 0, len = 0;
        if (!r.U32(vendor) || !r.U32(key) || !r.U32(id) || !r.U32(len)) {
            error = where + ": truncated record header";
            return false;
        }
        if (vendor != kVendor) {
            error = where + ": vendor code " + KeyText(vendor) + ", expected '8BIM'";
            return false;
        }
        if (len > r.remaining() || RoundUp4(len) > r.remaining()) {
            error = where + " (" + KeyText(key) + "): length " + std::to_string(len) +
                    " runs past the end of the data";
            return false;
        }
        if (!DecodeProperty(key, r.here(), len, platform, out, arm_entry, seen, error)) {
            return false;
        }
        r.Skip(RoundUp4(len));
    }
    // A resource compiler may pad the resource to a 4-byte boundary; anything more is an error.
    const std::size_t rest = r.remaining();
    const bool zeros =
        std::all_of(r.here(), r.here() + rest, [](std::uint8_t b) { return b == 0; });
    if (rest >= 4 || !zeros) {
        error = std::to_string(rest) + " unexpected bytes after the last property";
        return false;
    }

    const bool windows = platform == PiplPlatform::Windows;
    const std::array<std::pair<unsigned, const char*>, 10> required = {{
        {kSeenKind, "'kind'"},
        {kSeenName, "'name'"},
        {kSeenCategory, "'catg'"},
        {kSeenEntry, windows ? "'8664'" : "'mi64'"},
        {windows ? 0u : kSeenEntryArm, "'ma64'"},
        {kSeenApiVersion, "'eSVR'"},
        {kSeenVersion, "'eVER'"},
        {kSeenFlags, "'eGLO'"},
        {kSeenFlags2, "'eGL2'"},
        {kSeenMatchName, "'eMNA'"},
    }};
    for (const auto& [bit, key] : required) {
        if ((seen & bit) != bit) {
            error = std::string("missing property ") + key;
            return false;
        }
    }
    if (!windows && arm_entry != out.entry_point) {
        error = "'mi64' and 'ma64' name different entry points";
        return false;
    }
    return true;
}
