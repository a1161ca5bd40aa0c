#pragma once

// The wildcard and case-folding core that both of the program's name patterns share: the
// file-name patterns of folder listings ('*', '?') and the index store's like operator
// ('%', '_', sets). Each parses its own syntax into a Pattern; matching, letter case
// and the reading of UTF-8 text are the same for both.
//
// Text is UTF-8. A byte that does not start a valid, shortest UTF-8 sequence reads as
// U+FFFD on its own, so that matching and folding agree on any bytes. Letter case is
// ignored through simple (one code point to one code point) case folding, so é matches É.

#include <QByteArray>

#include <cstddef>
#include <string_view>
#include <vector>

namespace kwiklet::wildcards {

struct Decoded {
    char32_t codePoint;
    std::size_t length;  // in bytes, at least 1
};

// The code point that starts at byte offset i of the text (i below its size).
Decoded decodeAt(std::string_view utf8, std::size_t i);

void appendUtf8(QByteArray& out, char32_t codePoint);

// Simple case folding of one code point.
char32_t foldCase(char32_t codePoint);

// The folded form of the text, code point by code point, as UTF-8.
QByteArray foldText(std::string_view utf8);

class Pattern {
public:
    // One range of a set: a character belongs to it when it lies between the ends as
    // written, or when its folded form lies between the folded ends.
    struct Range {
        char32_t low, high;
    };

    void appendLiteral(char32_t codePoint);  // that character, letter case not counting
    void appendAnyOne();                     // any one character
    void appendAnyRun();                     // any run of characters, the empty one too
    // One character that is (or with negated, is not) in one of the ranges. A range
    // with its ends reversed holds nothing.
    void appendSet(bool negated, const std::vector<Range>& ranges);

    // Whether the whole text matches the whole pattern.
    bool matches(std::string_view utf8) const;

    // The folded text every match begins with: the literal characters before the first
    // other token. Empty when the pattern starts with another token.
    QByteArray foldedLiteralPrefix() const;

    // True when the pattern is a single run: it matches every text.
    bool matchesEverything() const;

private:
    enum class Kind { Literal, AnyOne, AnyRun, Set };
    struct FoldedRange {
        char32_t low, high;              // as written
        char32_t foldedLow, foldedHigh;  // after folding
    };
    struct Token {
        Kind kind;
        char32_t folded = 0;              // Literal
        bool negated = false;             // Set
        std::vector<FoldedRange> ranges;  // Set
    };

    static bool takes(const Token& token, char32_t raw, char32_t folded);

    std::vector<Token> tokens_;
};

}  // namespace kwiklet::wildcards
