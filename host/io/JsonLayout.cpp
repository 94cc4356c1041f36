#include "io/JsonLayout.h"

#include <sstream>

namespace tlhost::io {

namespace {

using Json = LayoutJson;

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
            out += Scalar(Json(key));
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
    out += Scalar(value);
}

// The length of a string as written: at least its bytes and two quotes.
std::size_t TextLength(const std::string& text, std::size_t room) {
    if (text.size() + 2 > room) return text.size() + 2;
    return Scalar(Json(text)).size();
}

// The length of the one-line form, measured no further than `room` characters:
// the result exceeds `room` exactly when the form does.
std::size_t Measure(const Json& value, std::size_t room) {
    if (value.is_string()) return TextLength(value.get_ref<const std::string&>(), room);
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

std::string Scalar(const Json& value) {
    // Text that is not valid UTF-8 (8-bit names from the plug-in) is written with
    // replacement characters rather than refused.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool FitsOnLine(const Json& value, std::size_t room) {
    return Measure(value, room) <= room;
}

void WriteLaidOut(const Json& value, std::size_t indent, std::size_t column, std::size_t tail,
                  std::size_t width, LayoutSink& out) {
    const std::size_t used = column + tail;
    if (!value.is_structured() || value.empty() ||
        (used <= width && FitsOnLine(value, width - used))) {
        std::string line;
        OneLine(value, line);
        out.Put(line);
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
            const std::string name = Scalar(Json(key)) + ": ";
            out.Put(name);
            at += name.size();
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
