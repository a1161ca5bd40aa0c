#pragma once

// Store-internal helpers around SQLite statements: preparing them and turning SQLite's
// failures into the program's errors.

#include "common/AppError.h"

#include <QByteArray>
#include <QString>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace kwiklet::store {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const;
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

struct DatabaseCloser {
    void operator()(sqlite3* db) const;
};
using DatabasePtr = std::unique_ptr<sqlite3, DatabaseCloser>;

// Prepares the statement. One SQLite cannot compile raises err::kMalformedStatement; a
// database that cannot be read raises err::kStoreFailure.
StatementPtr prepare(sqlite3* db, const QByteArray& sql);

// The position of the statement's column of that name (letter case aside), or -1.
int columnNamed(sqlite3_stmt* statement, const char* name);

// Binds text to the statement's parameter (numbered from 1).
void bindText(sqlite3_stmt* statement, int parameter, const QByteArray& utf8);

// The error for a failed sqlite3_step: err::kMalformedStatement when the statement
// itself is at fault, err::kStoreFailure when the database is. Read it before the
// statement is reset, which forgets the message.
AppError stepError(sqlite3* db, int resultCode);
[[noreturn]] void raiseStepError(sqlite3* db, int resultCode);

// SQLite's message for the last failure on db.
QString lastMessage(sqlite3* db);

}  // namespace kwiklet::store
