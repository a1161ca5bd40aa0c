#include "store/PatternQuery.h"

#include "common/AppError.h"
#include "store/Like.h"

#include <QList>

namespace kwiklet::store {
namespace {

// The least text greater than every text that begins with prefix: its last code point
// raised by one. Empty when there is none (only U+10FFFF code points).
QByteArray upperBoundFor(const QByteArray& prefix) {
    QList<uint> codePoints = QString::fromUtf8(prefix).toUcs4();
    while (!codePoints.isEmpty()) {
        const uint last = codePoints.takeLast();
        if (last < 0x10FFFF) {
            codePoints.append(last + 1 == 0xD800 ? 0xE000 : last + 1);
            return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()),
                                     codePoints.size())
                .toUtf8();
        }
    }
    return {};
}

}  // namespace

PatternQuery::PatternQuery(const QString& typedText) {
    if (typedText.contains(QLatin1Char('\''))) {
        throw AppError(err::kMalformedStatement,
                       QStringLiteral("Syntax error in query expression: the search text cannot "
                                      "hold an apostrophe (')."));
    }
    pattern_ = (typedText + QLatin1Char('%')).toUtf8();
    lowerKey_ = like::parse(std::string_view(pattern_.constData(),
                                             static_cast<std::size_t>(pattern_.size())))
                    .foldedLiteralPrefix();
    if (!lowerKey_.isEmpty()) {
        upperKey_ = upperBoundFor(lowerKey_);
    }
}

// The like operator is the program's own, so SQLite cannot use an index for it and would
// call it on every row. Every match has a folded name in the key range of its literal
// beginning: the statement reads only the rows of that range, in table order as a scan
// delivers them, and still applies the like to each, so the rows are exactly those of a
// scan. Looking the range up first and then fetching the rows by rowid, in order, spares
// a sort and keeps the reads sequential.
StatementPtr PatternQuery::prepareThroughNameKey(sqlite3* db) const {
    StatementPtr statement = prepare(
        db,
        "SELECT * FROM filez WHERE rowid IN (SELECT rowid FROM filez INDEXED BY filez_name_key "
        "WHERE name_key >= ?1 AND name_key < ?2) AND name like ?3 ORDER BY rowid");
    bindText(statement.get(), 1, lowerKey_);
    bindText(statement.get(), 2, upperKey_);
    bindText(statement.get(), 3, pattern_);
    return statement;
}

StatementPtr PatternQuery::prepareScan(sqlite3* db) const {
    StatementPtr statement = prepare(db, "SELECT * FROM filez WHERE name like ?1");
    bindText(statement.get(), 1, pattern_);
    return statement;
}

}  // namespace kwiklet::store
