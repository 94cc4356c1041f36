// The texts of the expressions the plug-in writes: names put inside their string literals, the
// effect layer's name read whole from the host, and formatting sized for whatever the names
// hold.
//
// Every text placed between the double quotes of an expression (layer, group and effect names)
// goes through EscapeForStringLiteral, by way of LiteralText: FormatExpression takes names only
// as LiteralText, so no template can be formatted with a raw name. Any name the host allows thus
// gives an expression that names exactly that layer, group or effect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "AE_Effect.h"
#include "AE_EffectCB.h"
#include "AE_GeneralPlug.h"
#include "shell/SuiteHandler.h"

// Longest expression text the plug-in writes. A longer one is refused with a message that
// names what is too long; no name the host shows in its panels comes anywhere near it.
inline constexpr std::size_t kMaxExpressionTextSize = std::size_t{1} << 20;

// The answer when the host's formatted printing wrote something other than what was measured.
inline constexpr A_Err kFormattingFailed = A_Err_GENERIC;

// `text` (8-bit, UTF-8) made fit to stand between double quotes in an expression: a backslash
// goes before '"' and '\'; line feed, carriage return and tab become \n, \r and \t; every other
// control character (U+0000 to U+001F, U+007F), the line and paragraph separators U+2028 and
// U+2029, and a lone UTF-16 surrogate (written as its three-byte form, see Utf16ToUtf8) become
// \uXXXX escapes. All other bytes are kept as they are, so the literal reads as the name.
std::string EscapeForStringLiteral(std::string_view text);

// UTF-16 text (`count` code units, no terminator needed) as UTF-8. A surrogate that is not half
// of a pair is kept in the three-byte form UTF-8 would give it, so that it survives into the
// literal (EscapeForStringLiteral writes it as a \u escape).
std::string Utf16ToUtf8(const A_UTF16Char* units, std::size_t count);

// A name on its way into an expression's string literal: kept as given (for messages) and
// escaped. A name that alone is longer than any expression may be is refused (thrown as a
// UserMessageError that names it).
class LiteralText {
  public:
    explicit LiteralText(std::string_view raw);
    const std::string& raw() const { return raw_; }
    const std::string& escaped() const { return escaped_; }

  private:
    std::string raw_;
    std::string escaped_;
};

// Throws the refusal of an expression text that cannot be made because of `name`: a
// UserMessageError (PF_Err_OUT_OF_MEMORY) whose message names it and asks for a shorter name.
[[noreturn]] void RefuseExpressionText(const std::string& name);

namespace expression_detail {
inline const char* Arg(const LiteralText& text) {
    return text.escaped().c_str();
}
// Names reach a template only escaped, as LiteralText.
const char* Arg(const char*) = delete;
template <class Int, std::enable_if_t<std::is_integral_v<Int>, int> = 0>
int Arg(Int value) {
    return static_cast<int>(value);
}

inline const std::string* Longest(const std::string* best) {
    return best;
}
template <class First, class... Rest>
const std::string* Longest(const std::string* best, const First& first, const Rest&... rest) {
    if constexpr (std::is_same_v<First, LiteralText>) {
        if (best == nullptr || first.raw().size() > best->size()) best = &first.raw();
    }
    return Longest(best, rest...);
}
}  // namespace expression_detail

// Formats `format` (a template: %s for names, %d for numbers) into `out` through the host's
// formatted printing, in a buffer measured for the arguments. A text longer than
// kMaxExpressionTextSize, or one the memory for which cannot be had, is refused (thrown, naming
// the longest name in it). kFormattingFailed when the host's printing does not write what was
// measured; `out` is empty then.
template <class... Args>
A_Err FormatExpression(PF_InData* in_data, std::string& out, const char* format,
                       const Args&... args) {
    out.clear();
    const int length = std::snprintf(nullptr, 0, format, expression_detail::Arg(args)...);
    const std::string* longest = expression_detail::Longest(nullptr, args...);
    if (length < 0 || static_cast<std::size_t>(length) > kMaxExpressionTextSize) {
        RefuseExpressionText(longest != nullptr ? *longest : std::string());
    }
    std::vector<A_char> text;
    try {
        text.resize(static_cast<std::size_t>(length) + 1);
        out.reserve(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        RefuseExpressionText(longest != nullptr ? *longest : std::string());
    }
    const int written = PF_SPRINTF(text.data(), format, expression_detail::Arg(args)...);
    if (written != length) return kFormattingFailed;
    out.assign(text.data(), static_cast<std::size_t>(length));
    return A_Err_NONE;
}

// The whole name of `layer` in UTF-8, read through "AEGP Layer Suite" v13 (UTF-16 in a memory
// handle, through "AEGP Memory Suite" v1). The handle and its lock are given back on every path.
A_Err GetLayerNameUTF8(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_LayerH layer,
                       std::string& name);

// The whole display name of `stream` (in the user's language) in UTF-8, read through
// "AEGP Stream Suite" v9 (UTF-16 in a memory handle), so that a long or non-Latin group name
// is read exactly. The handle and its lock are given back on every path.
A_Err GetStreamNameUTF8(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_StreamRefH stream,
                        std::string& name);

// The UTF-16 text a host memory handle holds, as UTF-8: up to its terminator, the end of the
// handle or `max_units` code units, whichever comes first (a surrogate pair cut by the limit
// is kept whole). The lock is given back on every path; the handle stays the caller's. A null
// handle is A_Err_GENERIC: a host that answers success must hand the text over.
A_Err MemHandleTextUTF8(AEGP_SuiteHandler& suites, AEGP_MemHandle handle, std::string& text,
                        std::size_t max_units = SIZE_MAX);
