#include "store/IndexSchema.h"

#include "store/Statement.h"

#include "common/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sqlite3.h>

#include <memory>
#include <optional>

namespace kwiklet {
namespace {

bool run(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool compiles(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    const bool ok = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK;
    sqlite3_finalize(statement);
    return ok;
}

[[noreturn]] void fail(const QString& description) {
    throw AppError(err::kStoreFailure, description);
}

QString occupied(const QString& path) {
    return QStringLiteral("Something is already at '%1'; it was left as it is.").arg(path);
}

QString cannotCreate(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot create the index database '%1': %2.").arg(path, reason);
}

// The key's index holds every column of the table after the key, so that a search reads
// the rows of its range from the index alone, from a few neighbouring pages, instead of
// looking each one up in the table. An index with only the key (as older files have) is
// used the same way, through the table.
constexpr const char* kNameKeyIndexColumns = "name_key, name, path, id";

QByteArray createNameKeyIndexStatement() {
    return QByteArray("CREATE INDEX IF NOT EXISTS main.filez_name_key ON filez (") +
           kNameKeyIndexColumns + ")";
}

// Whether the key's index holds the columns above, in their order.
bool nameKeyIndexIsCovering(sqlite3* db) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT group_concat(name, ', ') FROM (SELECT name FROM "
                       "pragma_index_info('filez_name_key') ORDER BY seqno)",
                       -1, &raw, nullptr);
    const store::StatementPtr statement(raw);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) {
        return false;
    }
    const auto* columns = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
    return columns && qstrcmp(columns, kNameKeyIndexColumns) == 0;
}

// From one stale key in this many rows on, the repair builds the key's index anew.
constexpr double kManyStaleKeys = 16;
// From this many stale keys on, the repair takes long enough to be put off (a fraction
// of a second at this many, seconds at a million).
constexpr double kStaleKeysToPutOff = 20000;

}  // namespace

int indexschema::openFlags() {
    return SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
}

bool indexschema::prepareNameKey(sqlite3* db) {
    // The key's index is built (again) when it is missing, as a rebuild that stopped
    // while storing its rows leaves it, or of an older layout. Should that fail (a
    // read-only file), an older index still finds the same rows, only slower.
    if (compiles(db, "SELECT name_key FROM main.filez LIMIT 0") && !nameKeyIndexIsCovering(db)) {
        const QByteArray build = "BEGIN IMMEDIATE; DROP INDEX IF EXISTS main.filez_name_key; " +
                                 createNameKeyIndexStatement() + "; COMMIT";
        if (!run(db, build.constData())) {
            run(db, "ROLLBACK");
        }
    }
    // The reads through the key name the index and order by rowid; both must work here.
    if (!compiles(db,
                  "SELECT rowid, name, name_key FROM main.filez INDEXED BY filez_name_key "
                  "WHERE name_key >= '' LIMIT 0")) {
        return false;
    }
    // Temporary triggers live with this connection only, so the file stays readable by
    // programs that lack the folding function.
    return run(db,
               "CREATE TEMP TRIGGER IF NOT EXISTS kwiklet_filez_key_insert AFTER INSERT ON "
               "main.filez WHEN NEW.name_key IS NOT kwiklet_fold(NEW.name) BEGIN "
               "UPDATE filez SET name_key = kwiklet_fold(NEW.name) WHERE rowid = NEW.rowid; END") &&
           run(db,
               "CREATE TEMP TRIGGER IF NOT EXISTS kwiklet_filez_key_update AFTER UPDATE OF name, "
               "name_key ON main.filez WHEN NEW.name_key IS NOT kwiklet_fold(NEW.name) BEGIN "
               "UPDATE filez SET name_key = kwiklet_fold(NEW.name) WHERE rowid = NEW.rowid; END");
}

indexschema::KeyRepair indexschema::repairNameKeys(sqlite3* db, bool evenMany) {
    // Look before writing, so that opening a read-only or untouched file writes nothing.
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT count(*), total(name_key IS NOT kwiklet_fold(name)) FROM main.filez",
                       -1, &raw, nullptr);
    store::StatementPtr count(raw);
    if (!count || sqlite3_step(count.get()) != SQLITE_ROW) {
        return KeyRepair::Failed;
    }
    const double rows = sqlite3_column_double(count.get(), 0);
    const double stale = sqlite3_column_double(count.get(), 1);
    count.reset();  // a statement still running would keep the index from being dropped
    if (stale == 0) {
        return KeyRepair::Done;
    }
    constexpr const char* kRepair =
        "UPDATE main.filez SET name_key = kwiklet_fold(name) "
        "WHERE name_key IS NOT kwiklet_fold(name)";
    // A few keys are put right in place. Many (a table filled by another program) are
    // put right with the index set aside and then built in one go, which takes a sort
    // instead of a search of the index for each row.
    if (stale * kManyStaleKeys < rows) {
        return run(db, kRepair) ? KeyRepair::Done : KeyRepair::Failed;
    }
    if (!evenMany && stale >= kStaleKeysToPutOff) {
        return KeyRepair::TooMany;
    }
    const QByteArray all =
        QByteArray("BEGIN IMMEDIATE; DROP INDEX IF EXISTS main.filez_name_key; ") + kRepair + "; " +
        createNameKeyIndexStatement() + "; COMMIT";
    if (run(db, all.constData())) {
        return KeyRepair::Done;
    }
    run(db, "ROLLBACK");
    return KeyRepair::Failed;
}

bool indexschema::dropNameKeyIndex(sqlite3* db) {
    return run(db, "DROP INDEX IF EXISTS main.filez_name_key");
}

bool indexschema::createNameKeyIndex(sqlite3* db) {
    return run(db, createNameKeyIndexStatement().constData());
}

std::optional<std::int64_t> indexschema::dataVersion(sqlite3* db) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &raw, nullptr);
    const store::StatementPtr statement(raw);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) {
        return std::nullopt;
    }
    return sqlite3_column_int64(statement.get(), 0);
}

void createIndexDatabase(const QString& path) {
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink()) {
        fail(occupied(path));
    }
    const QDir folder = target.absoluteDir();
    if (!folder.exists()) {
        fail(QStringLiteral("The folder '%1' does not exist.").arg(folder.path()));
    }

    // Built under a temporary name beside the target, then renamed into place, which
    // fails rather than replace a file that appeared meanwhile.
    QTemporaryFile staging(folder.filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!staging.open()) {
        fail(QStringLiteral("Cannot create a file in '%1': %2.")
                 .arg(folder.path(), staging.errorString()));
    }
    const QString stagingPath = staging.fileName();
    staging.close();
    staging.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                           QFile::ReadOther);

    {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(QFile::encodeName(stagingPath).constData(), &raw,
                                       SQLITE_OPEN_READWRITE, nullptr);
        store::DatabasePtr db(raw);
        if (rc != SQLITE_OK) {
            fail(cannotCreate(path,
                              QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc))));
        }
        const QByteArray schema =
            "BEGIN; CREATE TABLE filez (id INTEGER, name TEXT, path TEXT, name_key TEXT); " +
            createNameKeyIndexStatement() + "; COMMIT";
        if (!run(db.get(), schema.constData())) {
            fail(cannotCreate(path, QString::fromUtf8(sqlite3_errmsg(db.get()))));
        }
    }

    if (!QFile::rename(stagingPath, path)) {
        fail(QFileInfo::exists(path)
                 ? occupied(path)
                 : QStringLiteral("Cannot create the index database '%1'.").arg(path));
    }
    staging.setAutoRemove(false);
}

}  // namespace kwiklet
