#pragma once

// The search box's query: the rows whose names begin with the typed text under the like
// rule (see Like.h), in table order. The text is bound to a fixed statement as a
// parameter, never compiled as part of one.

#include "store/Statement.h"

#include <QByteArray>
#include <QString>

namespace kwiklet::store {

class PatternQuery {
public:
    // Raises err::kMalformedStatement, and prepares nothing, when the text holds an
    // apostrophe: the pattern statement the search box stands for would end its text
    // literal there and be malformed.
    explicit PatternQuery(const QString& typedText);

    // Whether the rows can be found through a range of the name key index: the pattern
    // begins with literal text. Otherwise every row is scanned.
    bool canUseNameKey() const { return !upperKey_.isEmpty(); }

    // The statement reading the rows through the name key's range, in key order, each
    // followed by its rowid; the key must be current (IndexStore checks that it is).
    StatementPtr prepareThroughNameKey(sqlite3* db) const;
    // The statement reading every row and testing each name.
    StatementPtr prepareScan(sqlite3* db) const;

private:
    QByteArray pattern_;        // the typed text followed by '%', UTF-8
    QByteArray lowerKey_;       // the folded literal beginning every match shares
    QByteArray upperKey_;       // the least key above every key that begins with it
    bool onlyLiteral_ = false;  // the typed text holds no wildcard
};

}  // namespace kwiklet::store
