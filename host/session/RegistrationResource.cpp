#include "session/RegistrationResource.h"

#include <cstring>

namespace tlhost {

namespace {

class Reader {
  public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool Has(std::size_t n) const { return n <= bytes_.size() - pos_; }
    std::uint16_t U16() {
        std::uint16_t v = static_cast<std::uint16_t>(bytes_[pos_] | bytes_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    std::uint32_t U32() {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = v << 8 | bytes_[pos_ + static_cast<std::size_t>(i)];
        pos_ += 4;
        return v;
    }
    const std::uint8_t* Take(std::size_t n) {
        const std::uint8_t* p = bytes_.data() + pos_;
        pos_ += n;
        return p;
    }
    std::size_t pos() const { return pos_; }
    std::size_t size() const { return bytes_.size(); }

  private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t pos_ = 0;
};

constexpr std::uint32_t Code(const char (&c)[5]) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(c[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(c[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(c[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(c[3]));
}

bool PascalText(const std::uint8_t* data, std::uint32_t length, std::string* out) {
    if (length < 1 || data[0] + 1u > length) return false;
    out->assign(reinterpret_cast<const char*>(data + 1), data[0]);
    return true;
}

bool CText(const std::uint8_t* data, std::uint32_t length, std::string* out) {
    const void* end = std::memchr(data, 0, length);
    if (!end) return false;
    out->assign(reinterpret_cast<const char*>(data), static_cast<const std::uint8_t*>(end) - data);
    return true;
}

}  // namespace

std::string FourCC(std::uint32_t code) {
    std::string s(4, ' ');
    for (int i = 0; i < 4; ++i)
        s[static_cast<std::size_t>(i)] = static_cast<char>(code >> (24 - 8 * i));
    return s;
}

bool ReadRegistrationResource(const std::vector<std::uint8_t>& bytes, ResourceInfo* info,
                              std::string* error) {
    Reader r(bytes);
    auto fail = [&](const std::string& why) {
        if (error) *error = "registration resource at byte " + std::to_string(r.pos()) + ": " + why;
        return false;
    };
    if (!r.Has(10)) return fail("too short for a header");
    if (r.U16() != 1) return fail("the prefix word is not 1");
    if (r.U32() != 0) return fail("unknown list version");
    const std::uint32_t count = r.U32();
    if (count > 64) return fail("implausible property count " + std::to_string(count));
    ResourceInfo out;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!r.Has(16)) return fail("property " + std::to_string(i + 1) + " is cut short");
        const std::uint32_t vendor = r.U32();
        const std::uint32_t key = r.U32();
        r.U32();  // property id
        const std::uint32_t length = r.U32();
        const std::uint32_t padded = (length + 3u) & ~3u;
        if (vendor != Code("8BIM")) return fail("property vendor is not 8BIM");
        if (padded < length || !r.Has(padded)) {
            return fail("property '" + FourCC(key) + "' runs past the end");
        }
        const std::uint8_t* data = r.Take(padded);
        out.keys.push_back(FourCC(key));
        auto u32 = [&](std::size_t at) {
            return static_cast<std::uint32_t>(data[at] | data[at + 1] << 8 | data[at + 2] << 16 |
                                              static_cast<std::uint32_t>(data[at + 3]) << 24);
        };
        auto need = [&](std::uint32_t n) { return length >= n; };
        bool ok = true;
        switch (key) {
            case Code("kind"):
                ok = need(4) && ((out.kind = u32(0)), true);
                break;
            case Code("name"):
                ok = PascalText(data, length, &out.name);
                break;
            case Code("catg"):
                ok = PascalText(data, length, &out.category);
                break;
            case Code("eMNA"):
                ok = PascalText(data, length, &out.match_name);
                break;
            case Code("8664"):
                ok = CText(data, length, &out.entry_point);
                break;
            case Code("eSVR"):
                ok = need(4);
                if (ok) {
                    out.spec_major = static_cast<std::uint16_t>(data[0] | data[1] << 8);
                    out.spec_minor = static_cast<std::uint16_t>(data[2] | data[3] << 8);
                }
                break;
            case Code("eVER"):
                ok = need(4) && ((out.version = u32(0)), true);
                break;
            case Code("eGLO"):
                ok = need(4) && ((out.out_flags = u32(0)), true);
                break;
            case Code("eGL2"):
                ok = need(4) && ((out.out_flags2 = u32(0)), true);
                break;
            default:
                break;
        }
        if (!ok) return fail("property '" + FourCC(key) + "' is malformed");
    }
    if (r.pos() != r.size()) return fail("trailing bytes after the last property");
    *info = std::move(out);
    return true;
}

}  // namespace tlhost
