#include "style/ExpressionText.h"

#include <algorithm>
#include <cstring>

#include "shell/RunningError.h"
#include "shell/Scoped.h"
#include "shell/UserMessage.h"

namespace {

void AppendUnicodeEscape(std::string& out, unsigned code) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04X", code & 0xFFFFu);
    out += escape;
}

// How a name is shown in a message: cut to `limit` bytes on a character boundary, with control
// characters shown as spaces.
std::string ShownName(const std::string& name, std::size_t limit) {
    std::string shown;
    std::size_t end = name.size();
    if (end > limit) {
        end = limit;
        // Back up to the start of a character.
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    }
    for (std::size_t i = 0; i < end; ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        shown += c < 0x20 || c == 0x7F ? ' ' : name[i];
    }
    if (end < name.size()) shown += "...";
    return shown;
}

// Bytes of a name the refusal message shows; the message must fit the host's 256-byte buffer.
constexpr std::size_t kShownNameBytes = 80;

}  // namespace

std::string EscapeForStringLiteral(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
            case '"':
                out += "\\\"";
                continue;
            case '\\':
                out += "\\\\";
                continue;
            case '\n':
                out += "\\n";
                continue;
            case '\r':
                out += "\\r";
                continue;
            case '\t':
                out += "\\t";
                continue;
            default:
                break;
        }
        if (c < 0x20 || c == 0x7F) {
            AppendUnicodeEscape(out, c);
            continue;
        }
        // Three-byte sequences that a string literal cannot hold as they are: the line and
        // paragraph separators (E2 80 A8, E2 80 A9) end a line inside a literal in older
        // engines, and a lone surrogate (ED A0..BF xx) is no character at all in UTF-8.
        if (i + 2 < text.size()) {
            const auto c1 = static_cast<unsigned char>(text[i + 1]);
            const auto c2 = static_cast<unsigned char>(text[i + 2]);
            const bool continuation = (c1 & 0xC0) == 0x80 && (c2 & 0xC0) == 0x80;
            const unsigned code = (c & 0x0Fu) << 12 | (c1 & 0x3Fu) << 6 | (c2 & 0x3Fu);
            const bool separator = c == 0xE2 && c1 == 0x80 && (c2 == 0xA8 || c2 == 0xA9);
            const bool surrogate = c == 0xED && c1 >= 0xA0 && continuation;
            if (separator || surrogate) {
                AppendUnicodeEscape(out, code);
                i += 2;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::string Utf16ToUtf8(const A_UTF16Char* units, std::size_t count) {
    std::string out;
    out.reserve(count);
    auto put = [&](unsigned char byte) { out += static_cast<char>(byte); };
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t code = units[i];
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        if (high && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[i + 1] - 0xDC00u);
            ++i;
        }
        if (code < 0x80) {
            put(static_cast<unsigned char>(code));
        } else if (code < 0x800) {
            put(static_cast<unsigned char>(0xC0 | code >> 6));
            put(static_cast<unsigned char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            // Lone surrogates too: they keep their three-byte form.
            put(static_cast<unsigned char>(0xE0 | code >> 12));
            put(static_cast<unsigned char>(0x80 | (code >> 6 & 0x3F)));
            put(static_cast<unsigned char>(0x80 | (code & 0x3F)));
        } else {
            put(static_cast<unsigned char>(0xF0 | code >> 18));
            put(static_cast<unsigned char>(0x80 | (code >> 12 & 0x3F)));
            put(static_cast<unsigned char>(0x80 | (code >> 6 & 0x3F)));
            put(static_cast<unsigned char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

LiteralText::LiteralText(std::string_view raw) : raw_(raw) {
    // Escaping never shortens a name, so one this long can be refused before it is escaped.
    if (raw.size() > kMaxExpressionTextSize) RefuseExpressionText(raw_);
    escaped_ = EscapeForStringLiteral(raw);
}

void RefuseExpressionText(const std::string& name) {
    std::string message = "Tetherline - Styles cannot write an expression";
    if (!name.empty()) message += " naming \"" + ShownName(name, kShownNameBytes) + "\"";
    message += ": the name is too long for an expression. Shorten the name and try again.";
    throw UserMessageError{PF_Err_OUT_OF_MEMORY, std::move(message)};
}

A_Err MemHandleTextUTF8(AEGP_SuiteHandler& suites, AEGP_MemHandle handle, std::string& text,
                        std::size_t max_units) {
    text.clear();
    if (handle == nullptr) return A_Err_GENERIC;
    RunningError err;
    AEGP_MemSize size = 0;
    err.Then([&] { return suites.MemorySuite1()->AEGP_GetMemHandleSize(handle, &size); });
    if (!err.ok()) return err.get();
    ScopedMemLock lock(suites, handle);
    err.Then([&] { return lock.Lock(); }).Then([&] {
        const auto* units = static_cast<const A_UTF16Char*>(lock.data());
        if (units == nullptr) return A_Err{A_Err_GENERIC};
        // The text ends at its terminator, with the handle, or at the limit.
        const std::size_t capacity = size / sizeof(A_UTF16Char);
        std::size_t count = static_cast<std::size_t>(std::find(units, units + capacity, 0) - units);
        if (count > max_units) {
            count = max_units;
            // A pair is one character: one cut between its halves keeps the pair.
            const bool cut_pair = count > 0 && units[count - 1] >= 0xD800 &&
                                  units[count - 1] <= 0xDBFF && units[count] >= 0xDC00 &&
                                  units[count] <= 0xDFFF;
            if (cut_pair) ++count;
        }
        text = Utf16ToUtf8(units, count);
        return A_Err{A_Err_NONE};
    });
    err.Release(lock.Unlock());
    return err.get();
}

A_Err GetLayerNameUTF8(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_LayerH layer,
                       std::string& name) {
    name.clear();
    RunningError err;
    ScopedMemHandle handle(suites);
    // The source name is not wanted: no handle is asked for.
    err.Then([&] {
           return suites.LayerSuite7()->AEGP_GetLayerName(plugin_id, layer, handle.put(), nullptr);
       })
        .Then([&] { return MemHandleTextUTF8(suites, handle.get(), name); });
    err.Release(handle.Dispose());
    return err.get();
}

A_Err GetStreamNameUTF8(AEGP_SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_StreamRefH stream,
                        std::string& name) {
    name.clear();
    RunningError err;
    ScopedMemHandle handle(suites);
    // In the user's language, as the groups are named in the timeline.
    err.Then([&] {
           return suites.StreamSuite4()->AEGP_GetStreamName(plugin_id, stream, FALSE, handle.put());
       })
        .Then([&] { return MemHandleTextUTF8(suites, handle.get(), name); });
    err.Release(handle.Dispose());
    return err.get();
}
