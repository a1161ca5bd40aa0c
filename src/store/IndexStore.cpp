#include "store/IndexStore.h"

#include "store/IndexSchema.h"
#include "store/Like.h"
#include "store/PatternQuery.h"
#include "store/StoreErrors.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace kwiklet {
namespace {

// The most the rows of a key range may take while they are put in table order: a range
// of a quarter of a million typical rows. A larger one is read by a scan.
constexpr std::size_t kMostHeldBytes = std::size_t{16} << 20;

// How long a statement waits for another program to release the file before failing.
constexpr int kBusyTimeoutMs = 2000;

// After how many pages in the log a commit writes them back into the file: SQLite's own
// choice normally, and while a rebuild stores its entries one by one, a larger one that
// saves most of the work of writing the same pages back again and again, yet keeps the
// log, at a page and a frame header per page, well below 64 MB.
constexpr int kCheckpointPages = 1000;
constexpr int kCheckpointPagesWhileStoring = 10000;

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

// Every entry the rebuild stores is a transaction of its own. With a write-ahead log and
// synchronous=NORMAL a commit appends to the log without waiting for the disk, which
// makes storing a hundred thousand entries a matter of seconds instead of minutes, while
// a crash or power cut still leaves a consistent file (at worst without the last
// entries). Readers in other programs no longer block the rebuild either. Where the log
// cannot be used (another program has the file open just now, or its folder is
// read-only), the file keeps its rollback journal, slower but as safe.
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

// The statement listing every entry. Only the name and the path are read, and reading
// those alone spares decoding the others in every row; a table without them (another
// program's) is read whole, so that reading the missing field fails as it should.
QByteArray entriesStatementFor(sqlite3* db) {
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM filez", -1, &raw, nullptr);
    const store::StatementPtr table(raw);
    const bool both = table && store::columnNamed(table.get(), "name") >= 0 &&
                      store::columnNamed(table.get(), "path") >= 0;
    return both ? "SELECT name, path FROM filez" : "SELECT * FROM filez";
}

void runToEnd(sqlite3_stmt* statement) {
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
        const AppError error = store::stepError(sqlite3_db_handle(statement), rc);
        sqlite3_reset(statement);
        throw error;
    }
    sqlite3_reset(statement);
}

}  // namespace

IndexStore::IndexStore(QString path) : path_(std::move(path)) {}

IndexStore::~IndexStore() {
    if (isOpen()) {
        close();
    }
}

void IndexStore::open() {
    if (db_) {
        return;
    }
    const QFileInfo file(path_);
    if (!file.exists()) {
        fail(QStringLiteral("Could not find file '%1'.").arg(path_));
    }
    if (file.isDir()) {
        fail(QStringLiteral("'%1' is a folder, not a database file.").arg(path_));
    }

    // Read-write but never create: the index database must already be there. An absolute
    // path keeps SQLite from reading a name beginning with "file:" as a URI.
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(file.absoluteFilePath()).constData(), &raw,
                                   indexschema::openFlags(), nullptr);
    store::DatabasePtr db(raw);
    if (rc != SQLITE_OK) {
        fail(QStringLiteral("Cannot open the database file '%1': %2.")
                 .arg(path_, QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc))));
    }
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    checkIsDatabase(db.get(), path_);
    if (!like::registerFunctions(db.get())) {
        fail(QStringLiteral("Cannot prepare the database file '%1': %2.")
                 .arg(path_, store::lastMessage(db.get())));
    }
    useWriteAheadLog(db.get());
    entriesStatement_ = entriesStatementFor(db.get());
    db_ = db.release();
    nameKeyReady_ = indexschema::prepareNameKey(db_);
    refreshNameKey();
    emptyLog(db_);
}

void IndexStore::close() {
    if (!db_) {
        throw storeerror::objectClosed();
    }
    while (!openRows_.empty()) {
        openRows_.back()->close();  // leaves the list
    }
    insert_.reset();
    // Every statement is finalized by now, so the file is closed at once, not put off;
    // the last connection to the file removes the log.
    emptyLog(db_);
    sqlite3_close_v2(db_);
    db_ = nullptr;
    nameKeyReady_ = false;
    nameKeyPutOff_ = false;
    keyCheckedAtVersion_.reset();
}

void IndexStore::requireOpen() const {
    if (!db_) {
        throw storeerror::invalidConnection();
    }
}

IndexRows IndexStore::allEntries() {
    requireOpen();
    return IndexRows(openRows_, store::prepare(db_, entriesStatement_));
}

IndexRows IndexStore::entriesMatching(const QString& typedText) {
    requireOpen();
    const store::PatternQuery query(typedText);
    // The key is checked once the statement stands on its first row: the check then
    // speaks of the very rows being read. A stale key is repaired and the query run
    // again; should another program change names yet again meanwhile, a scan is exact.
    // So is it for a range of the key too large to hold while its rows are sorted.
    bool holdable = true;
    for (int attempt = 0;; ++attempt) {
        if (!(holdable && attempt < 2 && nameKeyReady_ && query.canUseNameKey())) {
            return IndexRows(openRows_, query.prepareScan(db_));
        }
        IndexRows rows(openRows_, query.prepareThroughNameKey(db_), kMostHeldBytes);
        if (rows.tooManyToHold()) {
            holdable = false;
        } else if (nameKeyCurrent()) {
            return rows;
        } else {
            refreshNameKey();
        }
        rows.close();
    }
}

void IndexStore::deleteAll() {
    requireOpen();
    runToEnd(store::prepare(db_, "DELETE FROM filez").get());
}

sqlite3_stmt* IndexStore::insertStatement() {
    if (!insert_) {
        // The fields of the table as it is: another program's may lack the name key. An
        // entry of the program's own table gets the key of its name as it is stored (see
        // IndexSchema.h), so that the key triggers find nothing to do.
        const store::StatementPtr table = store::prepare(db_, "SELECT * FROM filez");
        for (const char* field : {"id", "name", "path"}) {
            if (store::columnNamed(table.get(), field) < 0) {
                throw storeerror::itemNotFound();
            }
        }
        const bool keyed = store::columnNamed(table.get(), "name_key") >= 0;
        insert_ =
            store::prepare(db_, keyed ? "INSERT INTO filez (id, name, path, name_key) "
                                        "VALUES (?1, ?2, ?3, kwiklet_fold(?2))"
                                      : "INSERT INTO filez (id, name, path) VALUES (?1, ?2, ?3)");
    }
    return insert_.get();
}

void IndexStore::storeEntry(std::int64_t id, const QString& name, const QString& path) {
    requireOpen();
    sqlite3_stmt* insert = insertStatement();
    sqlite3_bind_int64(insert, 1, id);
    store::bindText(insert, 2, name.toUtf8());
    store::bindText(insert, 3, path.toUtf8());
    runToEnd(insert);
}

void IndexStore::beginStoringMany() {
    requireOpen();
    if (nameKeyReady_) {
        nameKeyReady_ = false;
        indexschema::dropNameKeyIndex(db_);
    }
    checkpointEvery(db_, kCheckpointPagesWhileStoring);
}

void IndexStore::endStoringMany() {
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

bool IndexStore::nameKeyCurrent() const {
    return keyCheckedAtVersion_ && indexschema::dataVersion(db_) == keyCheckedAtVersion_;
}

void IndexStore::refreshNameKey() {
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

void IndexStore::repairPutOffNameKeys() {
    if (!db_ || !nameKeyPutOff_) {
        return;
    }
    nameKeyPutOff_ = false;
    keyCheckedAtVersion_ = indexschema::dataVersion(db_);
    nameKeyReady_ = indexschema::repairNameKeys(db_, true) == indexschema::KeyRepair::Done;
    emptyLog(db_);  // the repair filled the log with the whole table
}

}  // namespace kwiklet
