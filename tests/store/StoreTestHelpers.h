#pragma once

// Shared by the store tests: real database files in a temporary folder, read and written
// through the store's own objects.

#include "common/AppError.h"
#include "store/Connection.h"
#include "store/IndexSchema.h"
#include "store/Recordset.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <ostream>

// Shows QStrings as text in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kwiklet::test {

// The error number the work raised; 0 when it raised none.
inline int errorNumberOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const AppError& error) {
        return error.number();
    }
    return 0;
}

// A database made by another program: table filez with the three fields only.
inline void createForeignDatabase(const QString& path) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE filez (id INTEGER, name TEXT, path TEXT)", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
}

// Runs SQL on the file as another program would: without the store's functions.
inline void runAsOtherProgram(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        createIndexDatabase(path());
        open(db_, path());
    }

    QString path() const { return folder_.filePath(QStringLiteral("avs.dat")); }
    QString scratch(const QString& name) const { return folder_.filePath(name); }

    static void open(Connection& connection, const QString& file) {
        connection.setConnectionString(connectionStringFor(file));
        connection.open();
    }

    // Adds rows the way the rebuild does: through a recordset over the whole table.
    static void addRows(Connection& connection, const QStringList& names) {
        Recordset rows;
        rows.open(QStringLiteral("SELECT * FROM filez"), &connection, CursorType::Keyset,
                  LockType::Optimistic);
        qint64 id = 0;
        for (const QString& name : names) {
            rows.addNew();
            rows.setField("id", ++id);
            rows.setField("name", name);
            rows.setField("path", QStringLiteral("C:\\Apps\\") + name + QStringLiteral(".exe"));
            rows.update();
        }
        rows.close();
    }

    // The named field of every row the statement delivers, in order.
    static QStringList read(Connection& connection, const QString& statement,
                            const char* field = "name") {
        Recordset rows;
        rows.open(statement, &connection, CursorType::Static, LockType::Optimistic);
        QStringList values;
        while (!rows.eof()) {
            values << rows.field(field);
            rows.moveNext();
        }
        rows.close();
        return values;
    }

    qsizetype rowCount() { return read(db_, QStringLiteral("SELECT * FROM filez")).size(); }

    QTemporaryDir folder_;
    Connection db_;
};

}  // namespace kwiklet::test
