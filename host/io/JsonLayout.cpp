#include "io/JsonLayout.h"

namespace tlhost::io {

namespace {

using Json = nlohmann::ordered_json;

std::string Scalar(const Json& value) {
    // Text that is not valid UTF-8 (8-bit names from the plug-in) is written with
    // replacement characters rather than refused.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The one-line form: members separated by ", " and keys by ": ".
std::string OneLine(const Json& value) {
    if (value.is_object()) {
        if (value.empty()) return "{}";
        std::string out = "{";
        bool first = true;
        for (const auto& [key, member] : value.items()) {
            if (!first) out += ", ";
            first = false;
            out += Scalar(Json(key)) + ": " + OneLine(member);
        }
        return out + "}";
    }
    if (value.is_array()) {
        if (value.empty()) return "[]";
        std::string out = "[";
        bool first = true;
        for (const auto& member : value) {
            if (!first) out += ", ";
            first = false;
            out += OneLine(member);
        }
        return out + "]";
    }
    return Scalar(value);
}

// Writes `value` whose first line starts at column `column` of a line indented by
// `indent` spaces; `tail` characters (a comma) follow it on its last line.
void Write(const Json& value, std::size_t indent, std::size_t column, std::size_t tail,
           std::size_t width, std::string& out) {
    if (!value.is_structured() || value.empty()) {
        out += OneLine(value);
        return;
    }
    std::string line = OneLine(value);
    if (column + line.size() + tail <= width) {
        out += line;
        return;
    }
    const std::string inner(indent + 2, ' ');
    const bool object = value.is_object();
    out += object ? "{\n" : "[\n";
    std::size_t left = value.size();
    for (const auto& [key, member] : value.items()) {
        --left;
        out += inner;
        std::size_t at = inner.size();
        if (object) {
            const std::string name = Scalar(Json(key)) + ": ";
            out += name;
            at += name.size();
        }
        Write(member, indent + 2, at, left ? 1 : 0, width, out);
        out += left ? ",\n" : "\n";
    }
    out += std::string(indent, ' ') + (object ? "}" : "]");
}

}  // namespace

std::string LayOut(const nlohmann::ordered_json& value, std::size_t width) {
    std::string out;
    Write(value, 0, 0, 0, width, out);
    out += "\n";
    return out;
}

}  // namespace tlhost::io
