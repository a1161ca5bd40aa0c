#pragma once

// A small, plain reading of the like rule (store/Like.h), written apart from the store's
// matcher so that the two can be checked against each other: its own UTF-8 reading, its
// own parsing, and matching by trying every split, remembered so that it ends quickly.

#include <QChar>

#include <string_view>
#include <vector>

namespace kwiklet::reference {

// The text as code points; a byte that does not begin a valid, shortest sequence is
// U+FFFD on its own.
inline std::vector<char32_t> codePoints(std::string_view utf8) {
    std::vector<char32_t> result;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
        const unsigned lead = byte(i);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
        bool valid = lead < 0x80 || (lead >= 0xC0 && lead <= 0xF7);
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = i + k < utf8.size() && (byte(i + k) & 0xC0) == 0x80;
            c = (c << 6) | (valid ? byte(i + k) & 0x3Fu : 0);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && c >= smallest[length] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
        result.push_back(valid ? c : 0xFFFD);
        i += valid ? length : 1;
    }
    return result;
}

inline char32_t fold(char32_t c) {
    return QChar::toCaseFolded(c);
}

struct Token {
    enum Kind { Character, AnyOne, AnyRun, Set };
    explicit Token(Kind k, char32_t c = 0, bool n = false) : kind(k), character(c), negated(n) {}

    Kind kind;
    char32_t character;
    bool negated;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool takes(char32_t c) const {
        if (kind == AnyOne) {
            return true;
        }
        if (kind == Character) {
            return fold(c) == fold(character);
        }
        bool member = false;
        for (const auto& [low, high] : ranges) {
            member = member || (low <= high && ((low <= c && c <= high) ||
                                                (fold(low) <= fold(c) && fold(c) <= fold(high))));
        }
        return member != negated;
    }
};

inline std::vector<Token> parse(const std::vector<char32_t>& pattern) {
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (c == U'%') {
            tokens.emplace_back(Token::AnyRun);
        } else if (c == U'_') {
            tokens.emplace_back(Token::AnyOne);
        } else if (c == U'[') {
            std::size_t start = i + 1;
            const bool negated = start < pattern.size() && pattern[start] == U'!';
            start += negated ? 1 : 0;
            std::size_t close = start;
            while (close < pattern.size() && pattern[close] != U']') {
                ++close;
            }
            if (close == pattern.size()) {
                tokens.emplace_back(Token::Character, U'[');  // no set without its ']'
                continue;
            }
            Token set(Token::Set, 0, negated);
            for (std::size_t k = start; k < close;) {
                const bool range = k + 2 < close && pattern[k + 1] == U'-';
                set.ranges.emplace_back(pattern[k], pattern[range ? k + 2 : k]);
                k += range ? 3 : 1;
            }
            tokens.push_back(set);
            i = close;
        } else {
            tokens.emplace_back(Token::Character, c);
        }
    }
    return tokens;
}

// Whether the text from position s on matches the tokens from t on; known answers kept
// in memo, indexed by (t, s).
inline bool matchFrom(const std::vector<Token>& tokens, const std::vector<char32_t>& text,
                      std::size_t t, std::size_t s, std::vector<signed char>& memo) {
    signed char& known = memo[t * (text.size() + 1) + s];
    if (known >= 0) {
        return known != 0;
    }
    bool result = false;
    if (t == tokens.size()) {
        result = s == text.size();
    } else if (tokens[t].kind == Token::AnyRun) {
        for (std::size_t split = s; split <= text.size() && !result; ++split) {
            result = matchFrom(tokens, text, t + 1, split, memo);
        }
    } else {
        result = s < text.size() && tokens[t].takes(text[s]) &&
                 matchFrom(tokens, text, t + 1, s + 1, memo);
    }
    known = result ? 1 : 0;
    return result;
}

inline bool matches(std::string_view pattern, std::string_view text) {
    const std::vector<Token> tokens = parse(codePoints(pattern));
    const std::vector<char32_t> characters = codePoints(text);
    std::vector<signed char> memo((tokens.size() + 1) * (characters.size() + 1), -1);
    return matchFrom(tokens, characters, 0, 0, memo);
}

}  // namespace kwiklet::reference
