// Recordsets over the index table: reading, moving, adding rows as the rebuild does, and
// the errors of misuse.

#include "StoreTestHelpers.h"

#include "store/StoreErrors.h"

namespace kwiklet::test {
namespace {

const QString kAll = QStringLiteral("SELECT * FROM filez");

TEST_F(StoreTest, EmptyTableStandsAtTheEnd) {
    Recordset rows;
    rows.open(kAll, &db_, CursorType::Static, LockType::Optimistic);
    EXPECT_TRUE(rows.eof());
    EXPECT_EQ(errorNumberOf([&] { rows.moveNext(); }), err::kNoCurrentRecord);
    EXPECT_EQ(errorNumberOf([&] { rows.field("name"); }), err::kNoCurrentRecord);
    rows.moveFirst();
    EXPECT_TRUE(rows.eof());
}

TEST_F(StoreTest, ReadsFieldsByNameAndMovesThroughRows) {
    addRows(db_, {QStringLiteral("notes"), QStringLiteral("Notepad")});
    db_.execute(QStringLiteral("INSERT INTO filez (id, name) VALUES (3, 'bare')"));

    Recordset rows;
    rows.open(kAll, &db_, CursorType::Dynamic, LockType::Optimistic);
    EXPECT_EQ(rows.field("name"), QStringLiteral("notes"));
    EXPECT_EQ(rows.field("path"), QStringLiteral("C:\\Apps\\notes.exe"));
    EXPECT_EQ(rows.field("id"), QStringLiteral("1"));
    EXPECT_EQ(errorNumberOf([&] { rows.field("size"); }), err::kItemNotFound);
    rows.moveNext();
    EXPECT_EQ(rows.field("name"), QStringLiteral("Notepad"));
    rows.moveNext();
    EXPECT_EQ(rows.field("path"), QString());  // no value reads as ""
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
    rows.moveFirst();
    EXPECT_EQ(rows.field("name"), QStringLiteral("notes"));
    // Typing n: the stored order decides which entry comes first.
    EXPECT_EQ(read(db_, QStringLiteral("SELECT * FROM filez where name like 'n%'")),
              (QStringList{"notes", "Notepad"}));
}

// The rebuild's sequence: open the whole table, delete every row while the recordset is
// open, add the new rows through it, then requery.
TEST_F(StoreTest, RebuildSequenceReplacesTheRows) {
    addRows(db_, {QStringLiteral("old one"), QStringLiteral("old two")});
    Recordset rows;
    rows.open(kAll, &db_, CursorType::Keyset, LockType::Optimistic);
    ASSERT_FALSE(rows.eof());
    db_.execute(QStringLiteral("DELETE FROM filez"));
    for (qint64 id = 1; id <= 3; ++id) {
        rows.addNew();
        rows.setField("id", id);
        rows.setField("name", QStringLiteral("new%1").arg(id));
        rows.setField("path", QStringLiteral("/p/%1").arg(id));
        rows.update();
    }
    rows.requery();
    QStringList seen;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        seen << rows.field("id") + QLatin1Char(' ') + rows.field("name");
    }
    EXPECT_EQ(seen, (QStringList{"1 new1", "2 new2", "3 new3"}));
    rows.close();
    // Rows added through the recordset are found by a pattern like any other.
    EXPECT_EQ(read(db_, QStringLiteral("SELECT * FROM filez where name like 'NEW2%'")),
              QStringList{"new2"});
}

TEST_F(StoreTest, AddingNeedsARowBeingAddedAndAWholeTableRead) {
    Recordset rows;
    rows.open(kAll, &db_, CursorType::Keyset, LockType::Optimistic);
    EXPECT_EQ(errorNumberOf([&] { rows.setField("name", QStringLiteral("x")); }),
              err::kIllegalOperation);
    rows.addNew();
    EXPECT_EQ(errorNumberOf([&] { rows.setField("size", 1); }), err::kItemNotFound);
    rows.close();
    rows.open(QStringLiteral("SELECT name FROM filez"), &db_, CursorType::Keyset,
              LockType::Optimistic);
    EXPECT_EQ(errorNumberOf([&] { rows.addNew(); }), err::kNotUpdatable);
    EXPECT_EQ(rowCount(), 0);
}

TEST_F(StoreTest, ClosedRecordsetRefusesEveryOperation) {
    Recordset rows;
    const std::function<void()> operations[] = {
        [&] { rows.eof(); },       [&] { rows.field("name"); }, [&] { rows.moveNext(); },
        [&] { rows.moveFirst(); }, [&] { rows.requery(); },     [&] { rows.addNew(); },
        [&] { rows.update(); },    [&] { rows.close(); },
    };
    for (int round = 0; round < 2; ++round) {  // never opened, then opened and closed
        for (const auto& operation : operations) {
            EXPECT_EQ(errorNumberOf(operation), err::kObjectClosed);
        }
        rows.open(kAll, &db_, CursorType::Static, LockType::Optimistic);
        rows.close();
    }
    // Closing the connection closes its recordsets.
    rows.open(kAll, &db_, CursorType::Static, LockType::Optimistic);
    db_.close();
    EXPECT_FALSE(rows.isOpen());
    EXPECT_EQ(errorNumberOf([&] { rows.eof(); }), err::kObjectClosed);
}

TEST_F(StoreTest, MissingOrClosedConnectionIsInvalid) {
    Recordset rows;
    EXPECT_EQ(
        errorNumberOf([&] { rows.open(kAll, nullptr, CursorType::Static, LockType::Optimistic); }),
        err::kInvalidConnection);
    db_.close();
    EXPECT_EQ(db_.state(), ObjectState::Closed);
    EXPECT_EQ(
        errorNumberOf([&] { rows.open(kAll, &db_, CursorType::Static, LockType::Optimistic); }),
        err::kInvalidConnection);
    EXPECT_EQ(errorNumberOf([&] { db_.execute(QStringLiteral("DELETE FROM filez")); }),
              err::kInvalidConnection);
    EXPECT_EQ(errorNumberOf([&] { db_.close(); }), err::kObjectClosed);
    db_.open();  // the search box reopens the same connection
    EXPECT_EQ(db_.state(), ObjectState::Open);
    EXPECT_EQ(rowCount(), 0);
}

// Nothing that reaches a recordset, and nothing malformed given to execute, can change
// the table; each is refused with the malformed-statement error.
TEST_F(StoreTest, StatementsThatCouldChangeTheTableAreRefused) {
    addRows(db_, {QStringLiteral("keep")});
    const char* recordsetSources[] = {
        "SELECT * FROM filez where name like 'don'%'",
        "SELECT * FROM filez where name like 'x'; DELETE FROM filez",
        "SELECT * FROM filez; DROP TABLE filez",
        "DELETE FROM filez",
        "INSERT INTO filez (id, name, path) VALUES (2, 'x', 'y')",
        "UPDATE filez SET name = 'changed'",
        "WITH t AS (SELECT 1) DELETE FROM filez",
        "DROP TABLE filez",
        "ATTACH 'other.dat' AS other",
        "  -- nothing but a comment",
    };
    for (const char* source : recordsetSources) {
        SCOPED_TRACE(source);
        Recordset rows;
        EXPECT_EQ(errorNumberOf([&] {
                      rows.open(QString::fromUtf8(source), &db_, CursorType::Static,
                                LockType::Optimistic);
                  }),
                  err::kMalformedStatement);
        EXPECT_FALSE(rows.isOpen());
    }
    for (const char* statement :
         {"x; DELETE FROM filez", "DELETE FROM filez; DELETE FROM filez", ""}) {
        SCOPED_TRACE(statement);
        EXPECT_EQ(errorNumberOf([&] { db_.execute(QString::fromUtf8(statement)); }),
                  err::kMalformedStatement);
    }
    EXPECT_EQ(read(db_, kAll), QStringList{"keep"});
    EXPECT_FALSE(QFile::exists(QStringLiteral("other.dat")));
}

TEST_F(StoreTest, MalformedPatternNamesTheFault) {
    Recordset rows;
    try {
        rows.open(QStringLiteral("SELECT * FROM filez where name like 'don'%'"), &db_,
                  CursorType::Static, LockType::Optimistic);
        FAIL() << "a malformed statement was accepted";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), err::kMalformedStatement);
        EXPECT_TRUE(
            error.description().startsWith(QStringLiteral("Syntax error in query expression: ")))
            << error.description().toStdString();
    }
}

TEST_F(StoreTest, ReadsBackManyRowsWithLargeIds) {
    db_.execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
        "INSERT INTO filez (id, name, path) SELECT i, 'entry' || i, '/p/' || i FROM n"));
    Recordset rows;
    rows.open(kAll, &db_, CursorType::Static, LockType::Optimistic);
    qint64 count = 0;
    bool inOrder = true;
    for (; !rows.eof(); rows.moveNext()) {
        ++count;
        inOrder = inOrder && rows.field("id") == QString::number(count);
    }
    EXPECT_EQ(count, 100000);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(read(db_, QStringLiteral("SELECT * FROM filez where name like 'ENTRY9999_'"), "path"),
              (QStringList{"/p/99990", "/p/99991", "/p/99992", "/p/99993", "/p/99994", "/p/99995",
                           "/p/99996", "/p/99997", "/p/99998", "/p/99999"}));
}

}  // namespace
}  // namespace kwiklet::test
