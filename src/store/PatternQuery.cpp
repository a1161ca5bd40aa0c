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
    // Folding keeps every character (it never folds one to nothing), so the typed text is
    // all literal exactly when its folded form is the literal beginning.
    onlyLiteral_ =
        lowerKey_ == wildcards::foldText(std::string_view(
                         pattern_.constData(), static_cast<std::size_t>(pattern_.size() - 1)));
}

// The like operator is the program's own, so SQLite cannot use an index for it and would
// call it on every row. Every match has a folded name in the key range of its literal
// beginning: the statement reads only the index entries of that range, which hold every
// column, and still applies the like to each, so the rows are exactly those of a scan.
// Typed text without wildcards matches exactly the names whose key begins with its folded
// form, which is the range itself: there the like would only say yes to each. The rows
// come in key order, each followed by its rowid, for the reader to put them back in
// table order (see RowsInTableOrder.h).
StatementPtr PatternQuery::prepareThroughNameKey(sqlite3* db) const {
    StatementPtr statement =
        prepare(db, onlyLiteral_ ? "SELECT *, rowid FROM filez INDEXED BY filez_name_key "
                                   "WHERE name_key >= ?1 AND name_key < ?2"
                                 : "SELECT *, rowid FROM filez INDEXED BY filez_name_key "
                                   "WHERE name_key >= ?1 AND name_key < ?2 AND name like ?3");
    bindText(statement.get(), 1, lowerKey_);
    bindText(statement.get(), 2, upperKey_);
    if (!onlyLiteral_) {
        bindText(statement.get(), 3, pattern_);
    }
    return statement;
}

StatementPtr PatternQuery::prepareScan(sqlite3* db) const {
    StatementPtr statement = prepare(db, "SELECT * FROM filez WHERE name like ?1");
    bindText(statement.get(), 1, pattern_);
    return statement;
}

}  // namespace kwiklet::store
