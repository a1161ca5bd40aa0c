#pragma once

// The `like` operator of the index store, as the old data engine applied it to the
// pattern statement:
//
//   %      any run of characters, the empty run included
//   _      any one character (a code point, not a byte)
//   [abc]  one character of the set; [a-c] is a range, [!a-c] negates the set
//   other  that character itself, compared without regard to letter case
//
// Letter case is ignored beyond ASCII through simple (one code point to one code point)
// case folding, so é matches É. Inside a set, '[' is an ordinary member ("[[]" matches a
// literal '['), and a '-' at either end of the set is a member too. A '[' with no closing
// ']' after it stands for itself: "a[b" matches names beginning with "a[b". An empty set
// "[]" matches no character, "[!]" any one character; a range with its ends reversed
// matches nothing. A NULL on either side gives NULL, which is no match.
//
// The same folding produces the name key column (see IndexSchema.h), which lets a pattern
// with a literal beginning be answered through an index.

#include <QByteArray>

#include <optional>
#include <string_view>
#include <vector>

struct sqlite3;

namespace kwiklet::like {

// Simple case folding of one code point.
char32_t foldCase(char32_t codePoint);

// The folded form of UTF-8 text, code point by code point, as UTF-8. Bytes that are not
// valid UTF-8 count as U+FFFD each, exactly as the matcher reads them.
QByteArray foldText(std::string_view utf8);

class Pattern {
public:
    // escape, when given, makes the character after it literal (the ESCAPE clause).
    explicit Pattern(std::string_view utf8, std::optional<char32_t> escape = std::nullopt);

    bool matches(std::string_view utf8) const;

    // The folded UTF-8 text every match must begin with: the literal characters before
    // the first wildcard or set. Empty when the pattern starts with one.
    QByteArray foldedLiteralPrefix() const;

    std::optional<char32_t> escape() const { return escape_; }

private:
    enum class Kind { Literal, AnyOne, AnyRun, Set };
    struct Range {
        char32_t low, high;              // as written
        char32_t foldedLow, foldedHigh;  // after folding
    };
    struct Token {
        Kind kind;
        char32_t folded = 0;        // Literal
        bool negated = false;       // Set
        std::vector<Range> ranges;  // Set; a single member is a range of one
    };

    bool tokenMatches(const Token& token, char32_t raw, char32_t folded) const;

    std::vector<Token> tokens_;
    std::optional<char32_t> escape_;
};

// Whether text matches pattern under the rule above.
bool matches(std::string_view pattern, std::string_view text);

// Installs like(pattern, text), like(pattern, text, escape) and kwiklet_fold(text) on a
// connection. Returns false when SQLite refuses one of them.
bool registerFunctions(sqlite3* db);

// The SQL name of the folding function that fills the name key.
inline constexpr const char* kFoldFunction = "kwiklet_fold";

}  // namespace kwiklet::like
