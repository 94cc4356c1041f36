#include "expressions/Instrument.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace tlhost {

const char kStepHookName[] = "__tl_step";

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

enum class Kind { Ident, Number, String, Regex, Punct };

struct Token {
    Kind kind;
    std::size_t begin, end;
    std::size_t match = kNone;  // the other bracket of a pair
};

// Words after which a '/' starts a regular expression rather than a division.
constexpr std::string_view kRegexAfter[] = {"return", "typeof", "instanceof", "in", "new", "delete",
                                            "void",   "throw",  "case",       "do", "else"};
// Keywords whose parenthesised head is followed by a statement, not an operand.
constexpr std::string_view kStatementHeads[] = {"if", "while", "for", "with"};
// Punctuators of more than one character, longest first.
constexpr std::string_view kPunctuators[] = {
    ">>>=", "===", "!==", ">>>", "<<=", ">>=", "**=", "...", "==", "!=", "<=", ">=", "&&", "||",
    "++",   "--",  "+=",  "-=",  "*=",  "/=",  "%=",  "&=",  "|=", "^=", "<<", ">>", "**", "=>"};
// Code points other than ASCII that the engine reads as white space or line breaks.
constexpr std::uint32_t kSpaces[] = {0x00A0, 0x1680, 0x180E, 0x2000, 0x2001, 0x2002, 0x2003,
                                     0x2004, 0x2005, 0x2006, 0x2007, 0x2008, 0x2009, 0x200A,
                                     0x2028, 0x2029, 0x202F, 0x205F, 0x3000, 0xFEFF};

bool IsIdentByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c >= 0x80;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decodes the code point at `i` (the text is valid UTF-8), giving its length.
std::uint32_t CodePoint(const std::string& s, std::size_t i, std::size_t* length) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    n = std::min(n, s.size() - i);
    std::uint32_t cp = n == 1 ? b : n == 2 ? (b & 0x1Fu) : n == 3 ? (b & 0x0Fu) : (b & 0x07u);
    for (std::size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    *length = n;
    return cp;
}

bool IsSpaceAt(const std::string& s, std::size_t i, std::size_t* length) {
    const char c = s[i];
    *length = 1;
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') return true;
    if (static_cast<unsigned char>(c) < 0x80) return false;
    const std::uint32_t cp = CodePoint(s, i, length);
    return std::find(std::begin(kSpaces), std::end(kSpaces), cp) != std::end(kSpaces);
}

class Lexer {
  public:
    explicit Lexer(const std::string& s) : s_(s) {}

    bool Run(std::string* error) {
        std::size_t i = 0;
        while (i < s_.size()) {
            std::size_t n = 0;
            if (IsSpaceAt(s_, i, &n)) {
                i += n;
                continue;
            }
            const char c = s_[i];
            const char next = i + 1 < s_.size() ? s_[i + 1] : '\0';
            if (c == '/' && next == '/') {
                i = SkipLine(i);
                continue;
            }
            if (c == '/' && next == '*') {
                const std::size_t close = s_.find("*/", i + 2);
                i = close == std::string::npos ? s_.size() : close + 2;
                continue;
            }
            if (c == '/') {
                if (!tokens_.empty() && Text(tokens_.back()) == "}") {
                    *error = "a '/' right after '}' is not supported in expressions";
                    return false;
                }
                if (RegexAllowed()) {
                    i = Push(Kind::Regex, i, SkipRegex(i));
                    continue;
                }
            }
            if (c == '"' || c == '\'') {
                i = Push(Kind::String, i, SkipString(i));
                continue;
            }
            if (IsDigit(c) || (c == '.' && IsDigit(next))) {
                i = Push(Kind::Number, i, SkipNumber(i));
                continue;
            }
            if (IsIdentByte(static_cast<unsigned char>(c)) || c == '\\') {
                const std::size_t end = SkipIdent(i);
                if (s_.find('\\', i) < end) {
                    *error = "escaped identifiers are not supported in expressions";
                    return false;
                }
                i = Push(Kind::Ident, i, end);
                continue;
            }
            i = PushPunct(i);
        }
        return true;
    }

    const std::vector<Token>& tokens() const { return tokens_; }
    std::string_view Text(const Token& t) const {
        return std::string_view(s_).substr(t.begin, t.end - t.begin);
    }

  private:
    std::size_t Push(Kind kind, std::size_t begin, std::size_t end) {
        tokens_.push_back(Token{kind, begin, end});
        return end;
    }

    std::size_t PushPunct(std::size_t i) {
        std::size_t len = 1;
        for (std::string_view p : kPunctuators) {
            if (s_.compare(i, p.size(), p) == 0) {
                len = p.size();
                break;
            }
        }
        const std::size_t index = tokens_.size();
        Push(Kind::Punct, i, i + len);
        const char c = s_[i];
        if (len == 1 && (c == '(' || c == '[' || c == '{')) {
            open_.push_back(index);
        } else if (len == 1 && (c == ')' || c == ']' || c == '}') && !open_.empty()) {
            const char want = c == ')' ? '(' : c == ']' ? '[' : '{';
            if (s_[tokens_[open_.back()].begin] == want) {
                tokens_[open_.back()].match = index;
                tokens_[index].match = open_.back();
                open_.pop_back();
            }
        }
        return i + len;
    }

    bool IsWord(const Token& t, std::string_view word) const {
        return t.kind == Kind::Ident && Text(t) == word;
    }

    bool RegexAllowed() const {
        if (tokens_.empty()) return true;
        const Token& prev = tokens_.back();
        switch (prev.kind) {
            case Kind::Ident:
                return std::find(std::begin(kRegexAfter), std::end(kRegexAfter), Text(prev)) !=
                       std::end(kRegexAfter);
            case Kind::Number:
            case Kind::String:
            case Kind::Regex:
                return false;
            case Kind::Punct:
                break;
        }
        const std::string_view p = Text(prev);
        if (p == "]" || p == "++" || p == "--") return false;
        if (p == ")") {
            // After the head of if/while/for/with a statement follows; elsewhere a
            // closing parenthesis ends an operand.
            if (prev.match == kNone || prev.match == 0) return false;
            const Token& before = tokens_[prev.match - 1];
            return before.kind == Kind::Ident &&
                   std::find(std::begin(kStatementHeads), std::end(kStatementHeads),
                             Text(before)) != std::end(kStatementHeads);
        }
        return true;
    }

    std::size_t SkipLine(std::size_t i) const {
        while (i < s_.size() && s_[i] != '\n' && s_[i] != '\r') ++i;
        return i;
    }

    std::size_t SkipString(std::size_t i) const {
        const char quote = s_[i++];
        while (i < s_.size() && s_[i] != quote && s_[i] != '\n' && s_[i] != '\r') {
            // An escape takes the next character; a line continuation may be CR LF.
            if (s_[i] == '\\')
                i += s_.compare(i + 1, 2, "\r\n") == 0 ? 3 : 2;
            else
                ++i;
        }
        return std::min(i + 1, s_.size());
    }

    std::size_t SkipRegex(std::size_t i) const {
        bool in_class = false;
        ++i;
        while (i < s_.size() && s_[i] != '\n' && s_[i] != '\r') {
            const char c = s_[i];
            if (c == '\\') {
                i += 2;
                continue;
            }
            if (c == '[') in_class = true;
            if (c == ']') in_class = false;
            ++i;
            if (c == '/' && !in_class) break;
        }
        i = std::min(i, s_.size());
        while (i < s_.size() && IsIdentByte(static_cast<unsigned char>(s_[i]))) ++i;  // flags
        return i;
    }

    std::size_t SkipNumber(std::size_t i) const {
        if (s_[i] == '0' && i + 1 < s_.size() && (s_[i + 1] == 'x' || s_[i + 1] == 'X')) {
            i += 2;
            while (i < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[i]))) ++i;
            return i;
        }
        while (i < s_.size() && IsDigit(s_[i])) ++i;
        if (i < s_.size() && s_[i] == '.') {
            ++i;
            while (i < s_.size() && IsDigit(s_[i])) ++i;
        }
        if (i < s_.size() && (s_[i] == 'e' || s_[i] == 'E')) {
            std::size_t j = i + 1;
            if (j < s_.size() && (s_[j] == '+' || s_[j] == '-')) ++j;
            if (j < s_.size() && IsDigit(s_[j])) {
                i = j;
                while (i < s_.size() && IsDigit(s_[i])) ++i;
            }
        }
        return i;
    }

    // An identifier: ASCII word characters, backslash escapes and every code point
    // beyond ASCII that is not white space.
    std::size_t SkipIdent(std::size_t i) const {
        while (i < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[i]);
            if (c == '\\') {
                i += 2;
                continue;
            }
            if (!IsIdentByte(c)) break;
            std::size_t n = 1;
            if (c >= 0x80 && IsSpaceAt(s_, i, &n)) break;
            i += n;
        }
        return std::min(i, s_.size());
    }

    const std::string& s_;
    std::vector<Token> tokens_;
    std::vector<std::size_t> open_;
};

struct Insertion {
    std::size_t at;
    std::string text;
};

}  // namespace

bool InstrumentSource(const std::string& source, std::string* out, std::string* error) {
    Lexer lexer(source);
    if (!lexer.Run(error)) return false;
    const std::vector<Token>& t = lexer.tokens();
    const std::string hook = kStepHookName;
    const std::string test_prefix = hook + "() && (";
    std::vector<Insertion> insertions;

    auto punct = [&](std::size_t k, std::string_view p) {
        return k < t.size() && t[k].kind == Kind::Punct && lexer.Text(t[k]) == p;
    };

    for (std::size_t k = 0; k < t.size(); ++k) {
        if (t[k].kind != Kind::Ident) continue;
        const std::string_view w = lexer.Text(t[k]);
        if (w == hook) {
            *error = std::string("the name ") + kStepHookName + " is reserved";
            return false;
        }
        if (k > 0 && punct(k - 1, ".")) continue;  // a property name, not a keyword
        if (w == "with" && punct(k + 1, "(")) {
            *error = "'with' statements are not supported in expressions";
            return false;
        }
        if (w == "while" && punct(k + 1, "(") && t[k + 1].match != kNone) {
            insertions.push_back({t[k + 1].end, test_prefix});
            insertions.push_back({t[t[k + 1].match].begin, ")"});
        } else if (w == "for" && punct(k + 1, "(") && t[k + 1].match != kNone) {
            // The test of a three-part head lies between its two top-level semicolons;
            // for-in heads have none and walk a finite set of keys.
            std::vector<std::size_t> semis;
            for (std::size_t j = k + 2; j < t[k + 1].match; ++j) {
                if (punct(j, ";")) semis.push_back(j);
                if (t[j].match != kNone && t[j].match > j) j = t[j].match;
            }
            if (semis.size() != 2) continue;
            if (semis[1] == semis[0] + 1) {
                insertions.push_back({t[semis[0]].end, hook + "()"});
            } else {
                insertions.push_back({t[semis[0]].end, test_prefix});
                insertions.push_back({t[semis[1]].begin, ")"});
            }
        } else if (w == "function") {
            std::size_t j = k + 1;
            if (j < t.size() && t[j].kind == Kind::Ident) ++j;
            if (!punct(j, "(") || t[j].match == kNone) continue;
            const std::size_t body = t[j].match + 1;
            if (punct(body, "{")) insertions.push_back({t[body].end, hook + "();"});
        }
    }

    std::stable_sort(insertions.begin(), insertions.end(),
                     [](const Insertion& a, const Insertion& b) { return a.at < b.at; });
    std::string result;
    result.reserve(source.size() + insertions.size() * test_prefix.size());
    std::size_t from = 0;
    for (const Insertion& ins : insertions) {
        result.append(source, from, ins.at - from);
        result += ins.text;
        from = ins.at;
    }
    result.append(source, from, std::string::npos);
    *out = std::move(result);
    return true;
}

}  // namespace tlhost
