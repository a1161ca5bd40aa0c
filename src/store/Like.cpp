#include "store/Like.h"

#include <QChar>

#include <sqlite3.h>

#include <memory>
#include <new>

namespace kwiklet::like {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

// Reads the code point at byte offset i. A byte that does not start a valid, shortest
// UTF-8 sequence reads as U+FFFD and is skipped alone, so matching and folding agree
// on text other tools may have stored.
inline Decoded decodeAt(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
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
    if (text.size() - i <= trailing) {
        return {kReplacement, 1};
    }
    for (std::size_t k = 1; k <= trailing; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + k]);
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

std::string_view textOf(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const int length = sqlite3_value_bytes(value);
    return text ? std::string_view(text, static_cast<std::size_t>(length)) : std::string_view();
}

void deletePattern(void* pattern) {
    delete static_cast<Pattern*>(pattern);
}

// like(pattern, text [, escape]). The parsed pattern is kept with the statement while
// the pattern argument stays the same, so a full scan parses it once, not once a row.
void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    try {
        std::optional<char32_t> escape;
        if (argc == 3) {
            const std::string_view escapeText = textOf(argv[2]);
            if (escapeText.empty() || decodeAt(escapeText, 0).length != escapeText.size()) {
                sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
                return;
            }
            escape = decodeAt(escapeText, 0).codePoint;
        }
        const std::string_view patternText = textOf(argv[0]);
        const std::string_view text = textOf(argv[1]);
        auto* cached = static_cast<Pattern*>(sqlite3_get_auxdata(context, 0));
        if (cached && cached->escape() == escape) {
            sqlite3_result_int(context, cached->matches(text) ? 1 : 0);
            return;
        }
        auto pattern = std::make_unique<Pattern>(patternText, escape);
        sqlite3_result_int(context, pattern->matches(text) ? 1 : 0);
        sqlite3_set_auxdata(context, 0, pattern.release(), &deletePattern);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(context);
    }
}

void foldFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    try {
        const QByteArray folded = foldText(textOf(argv[0]));
        sqlite3_result_text(context, folded.constData(), static_cast<int>(folded.size()),
                            SQLITE_TRANSIENT);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(context);
    }
}

}  // namespace

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

Pattern::Pattern(std::string_view utf8, std::optional<char32_t> escape) : escape_(escape) {
    const auto literal = [this](char32_t c) {
        tokens_.push_back(Token{Kind::Literal, foldCase(c), false, {}});
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const Decoded d = decodeAt(utf8, i);
        i += d.length;
        if (escape_ && d.codePoint == *escape_) {
            // The escaped character stands for itself; an escape at the very end does too.
            if (i < utf8.size()) {
                const Decoded escaped = decodeAt(utf8, i);
                i += escaped.length;
                literal(escaped.codePoint);
            } else {
                literal(d.codePoint);
            }
            continue;
        }
        switch (d.codePoint) {
            case U'%':
                // Consecutive runs mean the same as one.
                if (tokens_.empty() || tokens_.back().kind != Kind::AnyRun) {
                    tokens_.push_back(Token{Kind::AnyRun, 0, false, {}});
                }
                break;
            case U'_':
                tokens_.push_back(Token{Kind::AnyOne, 0, false, {}});
                break;
            case U'[': {
                // A set runs to the first ']'; without one, the '[' is an ordinary
                // character and reading goes on right after it.
                std::size_t j = i;
                bool negated = false;
                if (j < utf8.size() && utf8[j] == '!') {
                    negated = true;
                    ++j;
                }
                std::vector<char32_t> members;
                bool closed = false;
                while (j < utf8.size()) {
                    const Decoded m = decodeAt(utf8, j);
                    j += m.length;
                    if (m.codePoint == U']') {
                        closed = true;
                        break;
                    }
                    members.push_back(m.codePoint);
                }
                if (!closed) {
                    literal(U'[');
                    break;
                }
                Token set{Kind::Set, 0, negated, {}};
                for (std::size_t k = 0; k < members.size();) {
                    // A '-' between two members makes a range; at either end it is a member.
                    if (k + 2 < members.size() && members[k + 1] == U'-') {
                        const char32_t low = members[k];
                        const char32_t high = members[k + 2];
                        if (low <= high) {
                            set.ranges.push_back({low, high, foldCase(low), foldCase(high)});
                        }  // reversed ends: the range holds nothing
                        k += 3;
                    } else {
                        const char32_t folded = foldCase(members[k]);
                        set.ranges.push_back({members[k], members[k], folded, folded});
                        ++k;
                    }
                }
                tokens_.push_back(std::move(set));
                i = j;
                break;
            }
            default:
                literal(d.codePoint);
                break;
        }
    }
}

bool Pattern::tokenMatches(const Token& token, char32_t raw, char32_t folded) const {
    switch (token.kind) {
        case Kind::Literal:
            return token.folded == folded;
        case Kind::AnyOne:
            return true;
        case Kind::Set: {
            bool member = false;
            for (const Range& r : token.ranges) {
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
    // Every token but '%' takes exactly one character, so one remembered '%' to fall back
    // to is enough: on a mismatch the last '%' takes one more character and matching
    // resumes after it. Time grows with pattern length times text length at worst.
    const std::size_t count = tokens_.size();
    std::size_t t = 0;
    std::size_t s = 0;
    std::size_t runToken = count + 1;  // none yet
    std::size_t runText = 0;
    while (true) {
        if (t < count && tokens_[t].kind == Kind::AnyRun) {
            if (t + 1 == count) {
                return true;  // a trailing '%' takes whatever is left
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
            if (tokenMatches(tokens_[t], d.codePoint, foldCase(d.codePoint))) {
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

bool matches(std::string_view pattern, std::string_view text) {
    return Pattern(pattern).matches(text);
}

bool registerFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    return sqlite3_create_function(db, "like", 2, flags, nullptr, &likeFunction, nullptr,
                                   nullptr) == SQLITE_OK &&
           sqlite3_create_function(db, "like", 3, flags, nullptr, &likeFunction, nullptr,
                                   nullptr) == SQLITE_OK &&
           sqlite3_create_function(db, kFoldFunction, 1, flags, nullptr, &foldFunction, nullptr,
                                   nullptr) == SQLITE_OK;
}

}  // namespace kwiklet::like
