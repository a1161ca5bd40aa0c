#pragma once

// Real index databases for tests, written and read through the store's own objects.

#include "store/Connection.h"
#include "store/IndexSchema.h"
#include "store/Recordset.h"
#include "support/Errors.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace kwiklet::test {

// Whole files, written (with the folders they need), and read back to see that they
// were left alone.
inline void writeFile(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}
inline QByteArray contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// An entry of the index; one given only a name is at /apps/<name>.exe.
struct Row {
    Row(const QString& entryName, const QString& entryPath = QString())
        : name(entryName), path(entryPath.isNull() ? "/apps/" + name + ".exe" : entryPath) {}
    Row(const char* entryName, const char* entryPath = nullptr)
        : Row(QString(entryName), entryPath ? QString(entryPath) : QString()) {}
    QString name;
    QString path;
};

// Rows named name0, name1, ...
inline std::vector<Row> generatedRows(int count) {
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i) {
        rows.emplace_back(QStringLiteral("name%1").arg(i));
    }
    return rows;
}

inline void openAt(Connection& connection, const QString& file) {
    connection.setConnectionString(connectionStringFor(file));
    connection.open();
}

// Adds the rows, with ids from 1, the way the rebuild does: through a recordset over the
// whole table.
inline void addRows(Connection& connection, const std::vector<Row>& rows) {
    Recordset table;
    table.open(QStringLiteral("SELECT * FROM filez"), &connection, CursorType::Keyset,
               LockType::Optimistic);
    qint64 id = 0;
    for (const Row& row : rows) {
        table.addNew();
        table.setField("id", ++id);
        table.setField("name", row.name);
        table.setField("path", row.path);
        table.update();
    }
}

// Creates an index database at the path, with the folders it needs, holding the rows in
// this order.
inline void createDatabaseAt(const QString& path, const std::vector<Row>& rows) {
    QDir().mkpath(QFileInfo(path).path());
    createIndexDatabase(path);
    Connection connection;
    openAt(connection, path);
    connection.execute(QStringLiteral("BEGIN"));
    addRows(connection, rows);
    connection.execute(QStringLiteral("COMMIT"));
}

// The named field of every row the statement delivers, in order.
inline QStringList read(Connection& connection, const QString& statement,
                        const char* field = "name") {
    Recordset rows;
    rows.open(statement, &connection, CursorType::Static, LockType::Optimistic);
    QStringList values;
    for (; !rows.eof(); rows.moveNext()) {
        values << rows.field(field);
    }
    return values;
}

// Another program working on the same file with plain SQLite: no folding function, no
// knowledge of the name key.
class OtherProgram {
public:
    explicit OtherProgram(const QString& path) {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    }
    ~OtherProgram() { sqlite3_close(db_); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    void run(const std::string& sql) {
        EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sql << ": " << sqlite3_errmsg(db_);
    }

private:
    sqlite3* db_ = nullptr;
};

// An empty index database, open as db_, in a temporary folder.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        createIndexDatabase(path());
        openAt(db_, path());
    }

    QString path() const { return scratch(QStringLiteral("avs.dat")); }
    QString scratch(const QString& name) const { return folder_.filePath(name); }

    QTemporaryDir folder_;
    Connection db_;
};

}  // namespace kwiklet::test
