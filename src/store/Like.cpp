#include "store/Like.h"

#include <sqlite3.h>

#include <memory>
#include <new>
#include <vector>

namespace kwiklet::like {
namespace {

using wildcards::decodeAt;

std::string_view textOf(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const int length = sqlite3_value_bytes(value);
    return text ? std::string_view(text, static_cast<std::size_t>(length)) : std::string_view();
}

// A parsed pattern kept with a statement, together with the escape it was parsed with.
struct CachedPattern {
    wildcards::Pattern pattern;
    std::optional<char32_t> escape;
};

void deleteCachedPattern(void* cached) {
    delete static_cast<CachedPattern*>(cached);
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
        const std::string_view text = textOf(argv[1]);
        const auto* cached = static_cast<const CachedPattern*>(sqlite3_get_auxdata(context, 0));
        if (cached && cached->escape == escape) {
            sqlite3_result_int(context, cached->pattern.matches(text) ? 1 : 0);
            return;
        }
        auto parsed =
            std::make_unique<CachedPattern>(CachedPattern{parse(textOf(argv[0]), escape), escape});
        sqlite3_result_int(context, parsed->pattern.matches(text) ? 1 : 0);
        sqlite3_set_auxdata(context, 0, parsed.release(), &deleteCachedPattern);
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
        const QByteArray folded = wildcards::foldText(textOf(argv[0]));
        sqlite3_result_text(context, folded.constData(), static_cast<int>(folded.size()),
                            SQLITE_TRANSIENT);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(context);
    }
}

}  // namespace

wildcards::Pattern parse(std::string_view utf8, std::optional<char32_t> escape) {
    wildcards::Pattern pattern;
    // A '[' with no ']' anywhere after it stands for itself; knowing where the last ']'
    // is spares reading the rest of the pattern for each such '[' (a pasted run of them
    // would otherwise take time growing with the square of its length).
    const std::size_t lastClose = utf8.rfind(']');
    for (std::size_t i = 0; i < utf8.size();) {
        const wildcards::Decoded d = decodeAt(utf8, i);
        i += d.length;
        if (escape && d.codePoint == *escape) {
            if (i < utf8.size()) {
                const wildcards::Decoded escaped = decodeAt(utf8, i);
                i += escaped.length;
                pattern.appendLiteral(escaped.codePoint);
            } else {
                pattern.appendLiteral(d.codePoint);
            }
            continue;
        }
        switch (d.codePoint) {
            case U'%':
                pattern.appendAnyRun();
                break;
            case U'_':
                pattern.appendAnyOne();
                break;
            case U'[': {
                // A set runs to the first ']' after it; without one, the '[' is an
                // ordinary character and reading goes on right after it.
                if (lastClose == std::string_view::npos || lastClose < i) {
                    pattern.appendLiteral(U'[');
                    break;
                }
                std::size_t j = i;
                bool negated = false;
                if (utf8[j] == '!') {
                    negated = true;
                    ++j;
                }
                std::vector<char32_t> members;
                for (wildcards::Decoded m = decodeAt(utf8, j); m.codePoint != U']';
                     m = decodeAt(utf8, j)) {
                    members.push_back(m.codePoint);
                    j += m.length;
                }
                ++j;  // past the ']'
                std::vector<wildcards::Pattern::Range> ranges;
                for (std::size_t k = 0; k < members.size();) {
                    // A '-' between two members makes a range; at either end it is a member.
                    if (k + 2 < members.size() && members[k + 1] == U'-') {
                        ranges.push_back({members[k], members[k + 2]});
                        k += 3;
                    } else {
                        ranges.push_back({members[k], members[k]});
                        ++k;
                    }
                }
                pattern.appendSet(negated, ranges);
                i = j;
                break;
            }
            default:
                pattern.appendLiteral(d.codePoint);
                break;
        }
    }
    return pattern;
}

bool matches(std::string_view pattern, std::string_view text) {
    return parse(pattern).matches(text);
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
