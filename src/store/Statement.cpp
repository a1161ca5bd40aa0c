#include "store/Statement.h"

#include "common/AppError.h"

#include <sqlite3.h>

namespace kwiklet::store {
namespace {

bool isSyntaxMessage(const QString& message) {
    return message.contains(QLatin1String("syntax error")) ||
           message.contains(QLatin1String("unrecognized token")) ||
           message.contains(QLatin1String("incomplete input"));
}

AppError storeFailure(const QString& message) {
    return AppError(err::kStoreFailure,
                    QStringLiteral("The index database reported an error: %1.").arg(message));
}

[[noreturn]] void raiseStoreFailure(const QString& message) {
    throw storeFailure(message);
}

// What a statement read as rows may do while SQLite compiles it: read columns, call
// functions, select, recurse. Every other action is denied, which fails the compile.
int allowReadingOnly(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_FUNCTION:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        default:
            return SQLITE_DENY;
    }
}

// Installs the reading-only authorizer for its lifetime.
class ReadingOnly {
public:
    explicit ReadingOnly(sqlite3* db) : db_(db) {
        sqlite3_set_authorizer(db_, &allowReadingOnly, nullptr);
    }
    ~ReadingOnly() { sqlite3_set_authorizer(db_, nullptr, nullptr); }
    ReadingOnly(const ReadingOnly&) = delete;
    ReadingOnly& operator=(const ReadingOnly&) = delete;

private:
    sqlite3* db_;
};

}  // namespace

void StatementDeleter::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

void DatabaseCloser::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

QString lastMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

StatementPtr prepareOne(sqlite3* db, const QByteArray& sql) {
    const char* tail = nullptr;
    sqlite3_stmt* raw = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &raw, &tail);
    StatementPtr statement(raw);
    if (rc != SQLITE_OK) {
        const QString message = lastMessage(db);
        if ((rc & 0xFF) == SQLITE_AUTH) {
            throw AppError(err::kMalformedStatement,
                           QStringLiteral("Only a statement that reads rows can be opened as a "
                                          "recordset; this one would do more."));
        }
        if ((rc & 0xFF) != SQLITE_ERROR) {
            raiseStoreFailure(message);
        }
        throw AppError(err::kMalformedStatement,
                       isSyntaxMessage(message)
                           ? QStringLiteral("Syntax error in query expression: %1.").arg(message)
                           : QStringLiteral("The statement cannot be run: %1.").arg(message));
    }
    if (!statement) {
        throw AppError(err::kMalformedStatement, QStringLiteral("The statement is empty."));
    }
    // Whatever follows the first statement must be blank: comments, spaces or empty
    // statements. Compiling it (never running it) is the one sure test.
    const char* end = sql.constData() + sql.size();
    if (tail && tail < end) {
        sqlite3_stmt* extra = nullptr;
        const int tailRc =
            sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &extra, nullptr);
        sqlite3_finalize(extra);
        if (tailRc != SQLITE_OK || extra) {
            throw AppError(err::kMalformedStatement,
                           QStringLiteral("Characters found after end of SQL statement."));
        }
    }
    return statement;
}

StatementPtr prepareReader(sqlite3* db, const QByteArray& sql) {
    const ReadingOnly guard(db);
    return prepareOne(db, sql);
}

void bindText(sqlite3_stmt* statement, int parameter, const QByteArray& utf8) {
    const int rc = sqlite3_bind_text(statement, parameter, utf8.constData(),
                                     static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) {
        raiseStepError(sqlite3_db_handle(statement), rc);
    }
}

AppError stepError(sqlite3* db, int resultCode) {
    const QString message = lastMessage(db);
    if ((resultCode & 0xFF) == SQLITE_ERROR) {
        return AppError(err::kMalformedStatement,
                        QStringLiteral("The statement cannot be run: %1.").arg(message));
    }
    return storeFailure(message);
}

void raiseStepError(sqlite3* db, int resultCode) {
    throw stepError(db, resultCode);
}

}  // namespace kwiklet::store
