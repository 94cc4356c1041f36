// Writes JSON for people to read and for diffs to stay small: an object or array
// that fits on the rest of its line is written on one line, anything longer is
// broken into one member per line. The same value always gives the same bytes.
//
// The writer is linear in the size of the value: whether a value fits is found by
// measuring its one-line form only up to the room left on the line.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace tlhost::io {

using LayoutJson = nlohmann::ordered_json;

std::string LayOut(const LayoutJson& value, std::size_t width = 100);
void LayOut(const LayoutJson& value, std::ostream& out, std::size_t width = 100);

// Output gathered into blocks before it reaches the stream.
class LayoutSink {
  public:
    explicit LayoutSink(std::ostream& out) : out_(out) {}
    ~LayoutSink() { Flush(); }
    LayoutSink(const LayoutSink&) = delete;
    LayoutSink& operator=(const LayoutSink&) = delete;
    void Put(const std::string& text) {
        buffer_ += text;
        if (buffer_.size() >= kBlock) Flush();
    }
    void Put(char c) {
        buffer_ += c;
        if (buffer_.size() >= kBlock) Flush();
    }
    void Spaces(std::size_t n) {
        buffer_.append(n, ' ');
        if (buffer_.size() >= kBlock) Flush();
    }
    // The text being gathered, for a writer that appends to it in place (no text of
    // its own per piece); Settle() once the piece is complete.
    std::string& Text() { return buffer_; }
    void Settle() {
        if (buffer_.size() >= kBlock) Flush();
    }
    void Flush() {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

  private:
    static constexpr std::size_t kBlock = 1 << 16;
    std::ostream& out_;
    std::string buffer_;
};

// The pieces, for writers that lay out a document a part at a time.
// A scalar as it is written (invalid UTF-8 in text replaced).
std::string Scalar(const LayoutJson& value);
// A number as it is written: the shortest text that reads back the same double,
// "null" for one that is not finite.
void AppendNumber(double x, std::string& out);
std::size_t NumberLength(double x);
// A text (a key or a string value) as it is written: quoted and escaped.
std::string Quote(std::string_view text);
void AppendQuoted(std::string_view text, std::string& out);
// Whether a text is written as it is between its quotes (printable ASCII without
// a quote or a backslash).
bool Plain(std::string_view text);
// The length of a quoted text, or of a value's one-line form, measured no further
// than `room`: the result exceeds `room` exactly when the written form does.
std::size_t QuotedLength(std::string_view text, std::size_t room);
std::size_t OneLineLength(const LayoutJson& value, std::size_t room);
void AppendOneLine(const LayoutJson& value, std::string& out);
// Whether `value`'s one-line form has at most `room` characters.
bool FitsOnLine(const LayoutJson& value, std::size_t room);
// Writes `value` whose first line starts at column `column` of a line indented by
// `indent` spaces; `tail` characters (a comma) follow it on its last line.
void WriteLaidOut(const LayoutJson& value, std::size_t indent, std::size_t column, std::size_t tail,
                  std::size_t width, LayoutSink& out);

}  // namespace tlhost::io
