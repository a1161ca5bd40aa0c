#include "platform/Wildcards.h"

#include <QChar>

namespace kwiklet::wildcards {
namespace {
constexpr char32_t kReplacement = 0xFFFD;
}  // namespace

Decoded decodeAt(std::string_view utf8, std::size_t i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t trailing = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
        codePoint = lead & 0x1Fu;
        smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        codePoint = lead & 0x0Fu;
        smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        codePoint = lead & 0x07u;
        smallest = 0x10000;
    } else {
        return {kReplacement, 1};
    }
    if (utf8.size() - i <= trailing) {
        return {kReplacement, 1};
    }
    for (std::size_t k = 1; k <= trailing; ++k) {
        const auto byte = static_cast<unsigned char>(utf8[i + k]);
        if ((byte & 0xC0u) != 0x80u) {
            return {kReplacement, 1};
        }
        codePoint = (codePoint << 6) | (byte & 0x3Fu);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return {kReplacement, 1};
    }
    return {codePoint, trailing + 1};
}

void appendUtf8(QByteArray& out, char32_t c) {
    if (c < 0x80) {
        out.append(static_cast<char>(c));
    } else if (c < 0x800) {
        out.append(static_cast<char>(0xC0 | (c >> 6)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.append(static_cast<char>(0xE0 | (c >> 12)));
        out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.append(static_cast<char>(0xF0 | (c >> 18)));
        out.append(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.append(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.append(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

char32_t foldCase(char32_t codePoint) {
    if (codePoint < 0x80) {
        return (codePoint >= 'A' && codePoint <= 'Z') ? codePoint + ('a' - 'A') : codePoint;
    }
    return QChar::toCaseFolded(codePoint);
}

QByteArray foldText(std::string_view utf8) {
    QByteArray folded;
    folded.reserve(static_cast<qsizetype>(utf8.size()));
    for (std::size_t i = 0; i < utf8.size();) {
        const Decoded d = decodeAt(utf8, i);
        appendUtf8(folded, foldCase(d.codePoint));
        i += d.length;
    }
    return folded;
}

void Pattern::appendLiteral(char32_t codePoint) {
    tokens_.push_back(Token{Kind::Literal, foldCase(codePoint), false, {}});
}

void Pattern::appendAnyOne() {
    tokens_.push_back(Token{Kind::AnyOne, 0, false, {}});
}

void Pattern::appendAnyRun() {
    // Consecutive runs mean the same as one.
    if (tokens_.empty() || tokens_.back().kind != Kind::AnyRun) {
        tokens_.push_back(Token{Kind::AnyRun, 0, false, {}});
    }
}

void Pattern::appendSet(bool negated, const std::vector<Range>& ranges) {
    Token set{Kind::Set, 0, negated, {}};
    for (const Range& range : ranges) {
        if (range.low <= range.high) {
            set.ranges.push_back(
                {range.low, range.high, foldCase(range.low), foldCase(range.high)});
        }
    }
    tokens_.push_back(std::move(set));
}

bool Pattern::takes(const Token& token, char32_t raw, char32_t folded) {
    switch (token.kind) {
        case Kind::Literal:
            return token.folded == folded;
        case Kind::AnyOne:
            return true;
        case Kind::Set: {
            bool member = false;
            for (const FoldedRange& r : token.ranges) {
                if ((raw >= r.low && raw <= r.high) ||
                    (folded >= r.foldedLow && folded <= r.foldedHigh)) {
                    member = true;
                    break;
                }
            }
            return member != token.negated;
        }
        case Kind::AnyRun:
            break;
    }
    return false;
}

bool Pattern::matches(std::string_view utf8) const {
    // Every token but a run takes exactly one character, so one remembered run to fall
    // back to is enough: on a mismatch the last run takes one more character and
    // matching resumes after it. Time grows with pattern length times text length at
    // worst.
    const std::size_t count = tokens_.size();
    std::size_t t = 0;
    std::size_t s = 0;
    std::size_t runToken = count + 1;  // none yet
    std::size_t runText = 0;
    while (true) {
        if (t < count && tokens_[t].kind == Kind::AnyRun) {
            if (t + 1 == count) {
                return true;  // a trailing run takes whatever is left
            }
            runToken = ++t;
            runText = s;
            continue;
        }
        if (s == utf8.size()) {
            return t == count;
        }
        if (t < count) {
            const Decoded d = decodeAt(utf8, s);
            if (takes(tokens_[t], d.codePoint, foldCase(d.codePoint))) {
                ++t;
                s += d.length;
                continue;
            }
        }
        if (runToken > count) {
            return false;
        }
        runText += decodeAt(utf8, runText).length;
        s = runText;
        t = runToken;
    }
}

QByteArray Pattern::foldedLiteralPrefix() const {
    QByteArray prefix;
    for (const Token& token : tokens_) {
        if (token.kind != Kind::Literal) {
            break;
        }
        appendUtf8(prefix, token.folded);
    }
    return prefix;
}

bool Pattern::matchesEverything() const {
    return tokens_.size() == 1 && tokens_[0].kind == Kind::AnyRun;
}

}  // namespace kwiklet::wildcards
