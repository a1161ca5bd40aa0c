#pragma once

// Real index databases for tests, written through the store as the rebuild writes them
// and read back with plain SQLite.

#include "store/IndexSchema.h"
#include "store/IndexStore.h"
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

// Stores the rows, with ids from 1, the way the rebuild does.
inline void addRows(IndexStore& store, const std::vector<Row>& rows) {
    store.beginStoringMany();
    qint64 id = 0;
    for (const Row& row : rows) {
        store.storeEntry(++id, row.name, row.path);
    }
    store.endStoringMany();
}

// Creates an index database at the path, with the folders it needs, holding the rows in
// this order.
inline void createDatabaseAt(const QString& path, const std::vector<Row>& rows) {
    QDir().mkpath(QFileInfo(path).path());
    createIndexDatabase(path);
    IndexStore store(path);
    store.open();
    addRows(store, rows);
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

    // The first column of every row the statement delivers, in order.
    QStringList read(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
            << sql << ": " << sqlite3_errmsg(db_);
        QStringList values;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            values << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        }
        sqlite3_finalize(statement);
        return values;
    }

private:
    sqlite3* db_ = nullptr;
};

// An empty index database, open as store_, in a temporary folder.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        createIndexDatabase(path());
        store_.open();
    }

    QString path() const { return scratch(QStringLiteral("avs.dat")); }
    QString scratch(const QString& name) const { return folder_.filePath(name); }

    QTemporaryDir folder_;
    IndexStore store_{path()};
};

}  // namespace kwiklet::test
