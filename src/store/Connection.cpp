#include "store/Connection.h"

#include "store/IndexSchema.h"
#include "store/Like.h"
#include "store/Recordset.h"
#include "store/Statement.h"
#include "store/StoreErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <sqlite3.h>

#include <algorithm>
#include <memory>

namespace kwiklet {
namespace {

// How long a statement waits for another program to release the file before failing.
constexpr int kBusyTimeoutMs = 2000;

// After how many pages in the log a commit writes them back into the file: SQLite's own
// choice normally, and while a rebuild stores its rows one by one, a larger one that
// saves most of the work of writing the same pages back again and again, yet keeps the
// log, at a page and a frame header per page, well below 64 MB.
constexpr int kCheckpointPages = 1000;
constexpr int kCheckpointPagesWhileStoring = 10000;

const QString kProviderName = QStringLiteral("SQLite");

// Reads "Key=Value;" pairs. Keys ignore letter case and surrounding blanks; a value may
// be quoted with " or ' (a doubled quote stands for itself), so that it can hold ';'.
QHash<QString, QString> parseConnectionString(const QString& text) {
    QHash<QString, QString> fields;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype equals = text.indexOf(QLatin1Char('='), i);
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'), i);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            if (semicolon < 0) {
                break;
            }
            i = semicolon + 1;  // a part without '=' says nothing
            continue;
        }
        const QString key = text.mid(i, equals - i).trimmed().toLower();
        i = equals + 1;
        while (i < n && text[i] == QLatin1Char(' ')) {
            ++i;
        }
        QString value;
        if (i < n && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))) {
            const QChar quote = text[i++];
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            const qsizetype end = text.indexOf(QLatin1Char(';'), i);
            i = end < 0 ? n : end + 1;
        } else {
            qsizetype end = text.indexOf(QLatin1Char(';'), i);
            if (end < 0) {
                end = n;
            }
            value = text.mid(i, end - i).trimmed();
            i = end + 1;
        }
        fields.insert(key, value);
    }
    return fields;
}

[[noreturn]] void fail(const QString& description) {
    throw AppError(err::kStoreFailure, description);
}

// Makes SQLite read the file's header now, so that a file that is not a database fails
// at open rather than at the first statement.
void checkIsDatabase(sqlite3* db, const QString& path) {
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA page_count", -1, &raw, nullptr);
    store::StatementPtr statement(raw);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement.get());
    }
    if (rc == SQLITE_ROW) {
        // An empty file would pass for an empty database, but holds no index.
        if (sqlite3_column_int64(statement.get(), 0) > 0) {
            return;
        }
        rc = SQLITE_NOTADB;
    }
    switch (rc & 0xFF) {
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            fail(QStringLiteral("Unrecognized database format '%1'.").arg(path));
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            fail(QStringLiteral("The database file '%1' is in use by another program.").arg(path));
        default:
            fail(QStringLiteral("Cannot read the database file '%1': %2.")
                     .arg(path, store::lastMessage(db)));
    }
}

// Every row the rebuild stores is a transaction of its own. With a write-ahead log and
// synchronous=NORMAL a commit appends to the log without waiting for the disk, which
// makes storing a hundred thousand rows a matter of seconds instead of minutes, while a
// crash or power cut still leaves a consistent file (at worst without the last rows).
// Readers in other programs no longer block the rebuild either. Where the log cannot
// be used (another program has the file open just now, or its folder is read-only),
// the file keeps its rollback journal, slower but as safe.
void useWriteAheadLog(sqlite3* db) {
    sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    const QByteArray limit =
        "PRAGMA journal_size_limit = " + QByteArray::number(qint64{kLogSizeLimitBytes});
    sqlite3_exec(db, limit.constData(), nullptr, nullptr, nullptr);
}

void checkpointEvery(sqlite3* db, int pages) {
    const QByteArray pragma = "PRAGMA wal_autocheckpoint = " + QByteArray::number(pages);
    sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
}

// Writes the log back into the file and empties it. Nothing waits for readers in other
// programs: what they still read stays in the log, to be cut back the next time it
// starts over.
void emptyLog(sqlite3* db) {
    sqlite3_busy_timeout(db, 0);
    sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
}

// Every statement of the connection is finalized by now (its recordsets are closed), so
// the close is done at once, not put off; the last connection to the file removes the
// log.
void closeDatabase(sqlite3* db) {
    emptyLog(db);
    sqlite3_close_v2(db);
}

}  // namespace

Connection::Connection() = default;

Connection::~Connection() {
    if (db_) {
        closeRecordsets();
        closeDatabase(db_);
    }
}

void Connection::setConnectionString(const QString& connectionString) {
    connectionString_ = connectionString;
}

void Connection::open(const QString&, const QString&, int) {
    if (db_) {
        throw storeerror::objectOpen();
    }
    const auto fields = parseConnectionString(connectionString_);
    const QString provider = fields.value(QStringLiteral("provider"));
    if (!provider.isEmpty() && provider.compare(kProviderName, Qt::CaseInsensitive) != 0) {
        throw AppError(
            err::kProviderNotFound,
            QStringLiteral("Provider cannot be found. It may not be properly installed."));
    }
    const QString path = fields.value(QStringLiteral("data source"));
    if (path.isEmpty()) {
        fail(QStringLiteral("The connection string names no database file (Data Source)."));
    }
    const QFileInfo file(path);
    if (!file.exists()) {
        fail(QStringLiteral("Could not find file '%1'.").arg(path));
    }
    if (file.isDir()) {
        fail(QStringLiteral("'%1' is a folder, not a database file.").arg(path));
    }

    // Read-write but never create: the index database must already be there. An absolute
    // path keeps SQLite from reading a name beginning with "file:" as a URI.
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(file.absoluteFilePath()).constData(), &raw,
                                   indexschema::openFlags(), nullptr);
    store::DatabasePtr db(raw);
    if (rc != SQLITE_OK) {
        fail(QStringLiteral("Cannot open the database file '%1': %2.")
                 .arg(path, QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc))));
    }
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    checkIsDatabase(db.get(), path);
    if (!like::registerFunctions(db.get())) {
        fail(QStringLiteral("Cannot prepare the database file '%1': %2.")
                 .arg(path, store::lastMessage(db.get())));
    }
    useWriteAheadLog(db.get());
    db_ = db.release();
    nameKeyReady_ = indexschema::prepareNameKey(db_);
    refreshNameKey();
    emptyLog(db_);
}

void Connection::beginStoringManyRows() {
    if (!db_) {
        throw storeerror::invalidConnection();
    }
    if (nameKeyReady_) {
        nameKeyReady_ = false;
        indexschema::dropNameKeyIndex(db_);
    }
    checkpointEvery(db_, kCheckpointPagesWhileStoring);
}

void Connection::endStoringManyRows() {
    if (!db_) {
        return;
    }
    checkpointEvery(db_, kCheckpointPages);
    if (!nameKeyReady_ && indexschema::createNameKeyIndex(db_)) {
        nameKeyReady_ = indexschema::prepareNameKey(db_);
        refreshNameKey();
    }
    emptyLog(db_);
}

bool Connection::nameKeyCurrent() const {
    return keyCheckedAtVersion_ && indexschema::dataVersion(db_) == keyCheckedAtVersion_;
}

void Connection::refreshNameKey() {
    if (!nameKeyReady_) {
        return;
    }
    // The version is read before the repair looks at the rows: a change committed in
    // between shows as a newer version next time, and the keys are repaired again.
    keyCheckedAtVersion_ = indexschema::dataVersion(db_);
    const auto repair = indexschema::repairNameKeys(db_, false);
    nameKeyReady_ = repair == indexschema::KeyRepair::Done;
    nameKeyPutOff_ = repair == indexschema::KeyRepair::TooMany;
}

void Connection::repairPutOffNameKeys() {
    if (!db_ || !nameKeyPutOff_) {
        return;
    }
    nameKeyPutOff_ = false;
    keyCheckedAtVersion_ = indexschema::dataVersion(db_);
    nameKeyReady_ = indexschema::repairNameKeys(db_, true) == indexschema::KeyRepair::Done;
    emptyLog(db_);  // the repair filled the log with the whole table
}

void Connection::close() {
    if (!db_) {
        throw storeerror::objectClosed();
    }
    closeRecordsets();
    closeDatabase(db_);
    db_ = nullptr;
    nameKeyReady_ = false;
    nameKeyPutOff_ = false;
    keyCheckedAtVersion_.reset();
}

ObjectState Connection::state() const {
    return db_ ? ObjectState::Open : ObjectState::Closed;
}

void Connection::execute(const QString& statement, int) {
    if (!db_) {
        throw storeerror::invalidConnection();
    }
    const store::StatementPtr prepared = store::prepareOne(db_, statement.toUtf8());
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW) {
        rc = sqlite3_step(prepared.get());
    }
    if (rc != SQLITE_DONE) {
        store::raiseStepError(db_, rc);
    }
}

void Connection::attach(Recordset* recordset) {
    recordsets_.push_back(recordset);
}

void Connection::detach(Recordset* recordset) {
    recordsets_.erase(std::remove(recordsets_.begin(), recordsets_.end(), recordset),
                      recordsets_.end());
}

void Connection::closeRecordsets() {
    while (!recordsets_.empty()) {
        recordsets_.back()->close();  // detaches it
    }
}

QString connectionStringFor(const QString& databasePath) {
    QString source = databasePath;
    const bool needsQuotes = source.contains(QLatin1Char(';')) ||
                             source.startsWith(QLatin1Char('"')) ||
                             source.startsWith(QLatin1Char('\'')) || source != source.trimmed();
    if (needsQuotes) {
        source = QLatin1Char('"') + source.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                 QLatin1Char('"');
    }
    return QStringLiteral("PROVIDER=%1;Data Source=%2;").arg(kProviderName, source);
}

}  // namespace kwiklet
