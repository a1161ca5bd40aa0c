#pragma once

// The connection to the index database avs.dat. Statements are plain text; each call
// runs exactly one statement.

#include <QString>

#include <vector>

struct sqlite3;

namespace kwiklet {

class Recordset;

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

    // Whether the index table's name key can be relied on to narrow pattern statements
    // (see IndexSchema.h); settled when the connection opens.
    bool nameKeyReady() const { return nameKeyReady_; }

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
    std::vector<Recordset*> recordsets_;
};

// The connection string for a database file.
QString connectionStringFor(const QString& databasePath);

}  // namespace kwiklet
