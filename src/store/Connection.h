#pragma once

// The connection to the index database avs.dat. Statements are plain text; each call
// runs exactly one statement.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct sqlite3;

namespace kwiklet {

class Recordset;

// The most the write-ahead log beside the file (avs.dat-wal) keeps between two writes:
// whenever the log starts over it is cut back to this size, and a rebuild and closing
// the connection empty it.
inline constexpr std::int64_t kLogSizeLimitBytes = 4 * 1024 * 1024;

enum class ObjectState : int { Closed = 0, Open = 1 };

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // "PROVIDER=SQLite;Data Source=<path>;" names the database file.
    void setConnectionString(const QString& connectionString);
    const QString& connectionString() const { return connectionString_; }

    // Opens the database named by the connection string. The file must exist and be an
    // index database; the store never creates one. Raises AppError on failure.
    void open(const QString& userName = {}, const QString& password = {}, int options = -1);
    // Closes an open connection; closing a closed one raises err::kObjectClosed.
    void close();
    ObjectState state() const;

    // Runs one statement that returns no rows ("DELETE FROM filez").
    void execute(const QString& statement, int options = -1);

    // For the recordsets of this connection; null while closed.
    sqlite3* handle() const { return db_; }

    // Whether the index table's name key can be relied on to narrow the search box's
    // pattern query (see IndexSchema.h). Opening the connection repairs every key that
    // another program left wrong.
    bool nameKeyReady() const { return nameKeyReady_; }
    // False when another program may have changed names since the keys were last
    // repaired. Asked while a statement reads the table, it speaks of the rows that
    // statement reads.
    bool nameKeyCurrent() const;
    // Repairs the keys again, after nameKeyCurrent() said they may be stale.
    void refreshNameKey();
    // Opening leaves the keys of a table that another program filled for later: putting
    // them right takes seconds at a million rows, and searches scan every name until
    // then. This repairs them; callers run it behind the wait window. Never raises.
    void repairPutOffNameKeys();

    // Around storing many rows one by one (a rebuild): the name key's index is set
    // aside meanwhile, so that each row commits half the pages, and built again in one
    // go at the end. Searches scan every name in between. The log is written back into
    // the file often enough to stay small, and emptied at the end. The end never raises:
    // should the index not come back, searches go on scanning.
    void beginStoringManyRows();
    void endStoringManyRows();

private:
    friend class Recordset;
    // Open recordsets register here; closing the connection closes them first, so none
    // is left holding a statement of a closed database.
    void attach(Recordset* recordset);
    void detach(Recordset* recordset);
    void closeRecordsets();

    QString connectionString_;
    sqlite3* db_ = nullptr;
    bool nameKeyReady_ = false;
    bool nameKeyPutOff_ = false;
    std::optional<std::int64_t> keyCheckedAtVersion_;  // the file's data version then
    std::vector<Recordset*> recordsets_;
};

// The connection string for a database file.
QString connectionStringFor(const QString& databasePath);

}  // namespace kwiklet
