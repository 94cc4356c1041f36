#include "io/JsonLayout.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <sstream>

namespace tlhost::io {

namespace {

using Json = LayoutJson;

// Room for any number the library writes.
constexpr std::size_t kNumberRoom = 64;

// A number as the JSON library writes it (the shortest text that reads back the
// same double, "null" for one that is not finite), without a serializer per value.
std::size_t DoubleText(double x, char* buffer) {
    if (!std::isfinite(x)) {
        std::memcpy(buffer, "null", 4);
        return 4;
    }
    return static_cast<std::size_t>(nlohmann::detail::to_chars(buffer, buffer + kNumberRoom, x) -
                                    buffer);
}

std::size_t NumberText(const Json& value, char* buffer) {
    char* const end = buffer + kNumberRoom;
    if (value.is_number_float()) return DoubleText(value.get<double>(), buffer);
    if (value.is_number_unsigned()) {
        return static_cast<std::size_t>(std::to_chars(buffer, end, value.get<std::uint64_t>()).ptr -
                                        buffer);
    }
    return static_cast<std::size_t>(std::to_chars(buffer, end, value.get<std::int64_t>()).ptr -
                                    buffer);
}

// Appends a scalar as it is written.
void AppendScalar(const Json& value, std::string& out) {
    switch (value.type()) {
        case Json::value_t::string:
            AppendQuoted(value.get_ref<const std::string&>(), out);
            return;
        case Json::value_t::boolean:
            out += value.get<bool>() ? "true" : "false";
            return;
        case Json::value_t::null:
            out += "null";
            return;
        case Json::value_t::number_float:
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned: {
            char buffer[kNumberRoom];
            out.append(buffer, NumberText(value, buffer));
            return;
        }
        default:
            out += value.dump(-1, ' ', false, Json::error_handler_t::replace);
            return;
    }
}

// The one-line form: members separated by ", " and keys by ": ".
void OneLine(const Json& value, std::string& out) {
    if (value.is_object()) {
        if (value.empty()) {
            out += "{}";
            return;
        }
        out += '{';
        bool first = true;
        for (const auto& [key, member] : value.items()) {
            if (!first) out += ", ";
            first = false;
            out += Quote(key);
            out += ": ";
            OneLine(member, out);
        }
        out += '}';
        return;
    }
    if (value.is_array()) {
        if (value.empty()) {
            out += "[]";
            return;
        }
        out += '[';
        bool first = true;
        for (const auto& member : value) {
            if (!first) out += ", ";
            first = false;
            OneLine(member, out);
        }
        out += ']';
        return;
    }
    AppendScalar(value, out);
}

// The length of a string as written: at least its bytes and two quotes.
std::size_t TextLength(std::string_view text, std::size_t room) {
    if (text.size() + 2 > room || Plain(text)) return text.size() + 2;
    return Quote(text).size();
}

// The length of the one-line form, measured no further than `room` characters:
// the result exceeds `room` exactly when the form does.
std::size_t Measure(const Json& value, std::size_t room) {
    if (value.is_string()) return TextLength(value.get_ref<const std::string&>(), room);
    if (value.is_number()) {
        char buffer[kNumberRoom];
        return NumberText(value, buffer);
    }
    if (value.is_boolean()) return value.get<bool>() ? 4 : 5;
    if (value.is_null()) return 4;
    if (!value.is_structured()) return Scalar(value).size();
    if (value.empty()) return 2;
    std::size_t length = 1;  // the opening bracket
    bool first = true;
    const bool object = value.is_object();
    for (const auto& [key, member] : value.items()) {
        if (!first) length += 2;
        first = false;
        if (object) length += TextLength(key, room > length ? room - length : 0) + 2;
        if (length > room) return length;
        length += Measure(member, room - length);
        if (length > room) return length;
    }
    return length + 1;
}

}  // namespace

void AppendNumber(double x, std::string& out) {
    char buffer[kNumberRoom];
    out.append(buffer, DoubleText(x, buffer));
}

std::size_t NumberLength(double x) {
    char buffer[kNumberRoom];
    return DoubleText(x, buffer);
}

std::string Scalar(const Json& value) {
    std::string out;
    AppendScalar(value, out);
    return out;
}

bool Plain(std::string_view text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') return false;
    }
    return true;
}

std::string Quote(std::string_view text) {
    std::string out;
    AppendQuoted(text, out);
    return out;
}

void AppendQuoted(std::string_view text, std::string& out) {
    if (Plain(text)) {
        out += '"';
        out += text;
        out += '"';
        return;
    }
    // Text that is not valid UTF-8 (8-bit names from the plug-in) is written with
    // replacement characters rather than refused.
    out += Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::size_t QuotedLength(std::string_view text, std::size_t room) {
    return TextLength(text, room);
}

std::size_t OneLineLength(const Json& value, std::size_t room) {
    return Measure(value, room);
}

void AppendOneLine(const Json& value, std::string& out) {
    OneLine(value, out);
}

bool FitsOnLine(const Json& value, std::size_t room) {
    return Measure(value, room) <= room;
}

void WriteLaidOut(const Json& value, std::size_t indent, std::size_t column, std::size_t tail,
                  std::size_t width, LayoutSink& out) {
    const std::size_t used = column + tail;
    if (!value.is_structured() || value.empty() ||
        (used <= width && FitsOnLine(value, width - used))) {
        OneLine(value, out.Text());
        out.Settle();
        return;
    }
    const bool object = value.is_object();
    out.Put(object ? "{\n" : "[\n");
    std::size_t left = value.size();
    for (const auto& [key, member] : value.items()) {
        --left;
        out.Spaces(indent + 2);
        std::size_t at = indent + 2;
        if (object) {
            std::string& text = out.Text();
            const std::size_t start = text.size();
            AppendQuoted(key, text);
            text += ": ";
            at += text.size() - start;
        }
        WriteLaidOut(member, indent + 2, at, left ? 1 : 0, width, out);
        out.Put(left ? ",\n" : "\n");
    }
    out.Spaces(indent);
    out.Put(object ? '}' : ']');
}

void LayOut(const Json& value, std::ostream& out, std::size_t width) {
    LayoutSink sink(out);
    WriteLaidOut(value, 0, 0, 0, width, sink);
    sink.Put('\n');
}

std::string LayOut(const Json& value, std::size_t width) {
    std::ostringstream out;
    LayOut(value, out, width);
    return out.str();
}

}  // namespace tlhost::io
