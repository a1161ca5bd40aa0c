#include "store/Statement.h"

#include "common/AppError.h"

#include <sqlite3.h>

namespace kwiklet::store {
namespace {

AppError storeFailure(const QString& message) {
    return AppError(err::kStoreFailure,
                    QStringLiteral("The index database reported an error: %1.").arg(message));
}

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

StatementPtr prepare(sqlite3* db, const QByteArray& sql) {
    sqlite3_stmt* raw = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &raw, nullptr);
    StatementPtr statement(raw);
    if (rc != SQLITE_OK) {
        // A table another program made without the fields the statement names fails to
        // compile; anything else is the file's fault.
        const QString message = lastMessage(db);
        if ((rc & 0xFF) != SQLITE_ERROR) {
            throw storeFailure(message);
        }
        throw AppError(err::kMalformedStatement,
                       QStringLiteral("The statement cannot be run: %1.").arg(message));
    }
    return statement;
}

int columnNamed(sqlite3_stmt* statement, const char* name) {
    const int count = sqlite3_column_count(statement);
    for (int i = 0; i < count; ++i) {
        if (sqlite3_stricmp(sqlite3_column_name(statement, i), name) == 0) {
            return i;
        }
    }
    return -1;
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
