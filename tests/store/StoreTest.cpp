// The index store's own objects over real database files: opening and creating the
// database, recordsets reading and adding rows as the rebuild does, and the errors of
// closed objects.

#include "support/Database.h"

#include "store/StoreErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kwiklet::test {
namespace {

const QString kAll = QStringLiteral("SELECT * FROM filez");

TEST_F(StoreTest, OpenRefusesWhatIsNotAnIndexDatabaseAndLeavesItAlone) {
    writeFile(scratch("text.dat"), QByteArray("not a database\n").repeated(300));
    writeFile(scratch("empty.dat"), "");
    QDir(folder_.path()).mkdir("folder.dat");
    const std::pair<const char*, QString> cases[] = {
        {"missing.dat", "Could not find file '"},
        {"text.dat", "Unrecognized database format '"},
        {"empty.dat", "Unrecognized database format '"},
        {"folder.dat", "'"},
    };
    for (const auto& [name, descriptionStart] : cases) {
        const QString file = scratch(name);
        const QByteArray before = contentsOf(file);
        Connection connection;
        connection.setConnectionString(connectionStringFor(file));
        const QString error = errorOf([&] { connection.open(); });
        EXPECT_TRUE(error.startsWith(QString::number(err::kStoreFailure) + ": " + descriptionStart))
            << error.toStdString();
        EXPECT_TRUE(error.contains(file)) << error.toStdString();
        EXPECT_EQ(connection.state(), ObjectState::Closed);
        EXPECT_EQ(contentsOf(file), before);
    }
    EXPECT_FALSE(QFile::exists(scratch("missing.dat")));  // never created
}

TEST_F(StoreTest, ConnectionStringNamesAnyFile) {
    const QString odd = scratch("a;b \"c\" ");
    ASSERT_TRUE(QDir().mkpath(odd));
    createDatabaseAt(odd + "/avs.dat", {"odd"});
    Connection oddConnection;
    openAt(oddConnection, odd + "/avs.dat");
    EXPECT_EQ(read(oddConnection, kAll), QStringList{"odd"});
}

TEST_F(StoreTest, CreatingRefusesAnExistingFile) {
    addRows(db_, {"kept"});
    db_.close();
    const QByteArray before = contentsOf(path());
    EXPECT_EQ(errorNumberOf([&] { createIndexDatabase(path()); }), err::kStoreFailure);
    EXPECT_EQ(contentsOf(path()), before);
    EXPECT_EQ(errorNumberOf([&] { createIndexDatabase(scratch("no/such/avs.dat")); }),
              err::kStoreFailure);
    // Only the database itself is left in the folder: no half-made files.
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"avs.dat"});
}

// Closed connections and recordsets, as closing the main window leaves them under a
// running load, search or rebuild: each use raises the error its handler expects.
TEST_F(StoreTest, ClosedObjectsRaiseTheErrorsTheirHandlersExpect) {
    EXPECT_EQ(read(db_, kAll), QStringList{});  // an empty table stands at its end
    addRows(db_, {"only"});
    Recordset neverOpened, closed, closedWithConnection;
    closed.open(kAll, &db_, CursorType::Static, LockType::Optimistic);
    closed.close();
    Connection other;
    openAt(other, path());
    closedWithConnection.open(kAll, &other, CursorType::Static, LockType::Optimistic);
    other.close();  // closes its recordsets too
    const auto openOn = [&](Connection* connection) {
        closed.open(kAll, connection, CursorType::Static, LockType::Optimistic);
    };
    const std::pair<int, std::function<void()>> cases[] = {
        {err::kInvalidConnection, [&] { openOn(nullptr); }},
        {err::kInvalidConnection, [&] { openOn(&other); }},
        {err::kInvalidConnection, [&] { other.execute("DELETE FROM filez"); }},
        {err::kObjectClosed, [&] { other.close(); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorNumberOf(c.second), c.first) << "case " << &c - cases;
    }
    for (Recordset* rows : {&neverOpened, &closed, &closedWithConnection}) {
        const std::function<void()> operations[] = {
            [&] { rows->eof(); },       [&] { rows->field("name"); }, [&] { rows->moveNext(); },
            [&] { rows->moveFirst(); }, [&] { rows->requery(); },     [&] { rows->addNew(); },
            [&] { rows->update(); },    [&] { rows->close(); },
        };
        for (const auto& operation : operations) {
            EXPECT_EQ(errorNumberOf(operation), err::kObjectClosed)
                << "case " << &operation - operations;
        }
    }
    other.open();  // the search box reopens a closed connection the same way
    EXPECT_EQ(read(other, kAll), QStringList{"only"});
}

// A recordset only ever reads: a statement that would do anything else is refused while
// it is compiled, so it never runs, and the file stays as it was to the byte. Nothing
// malformed given to execute runs either.
TEST_F(StoreTest, StatementsThatWouldChangeTheFileAreRefused) {
    addRows(db_, {"keep"});
    db_.close();
    const QByteArray before = contentsOf(path());
    openAt(db_, path());
    for (const char* source : {
             "SELECT * FROM filez where name like 'x'; DELETE FROM filez",
             "DELETE FROM filez",
             "INSERT INTO filez (id, name, path) VALUES (2, 'x', 'y') RETURNING *",
             "ATTACH 'other.dat' AS other",
             "PRAGMA journal_mode = WAL",
             "BEGIN",
             "  -- nothing but a comment",
         }) {
        EXPECT_EQ(errorNumberOf([&] { read(db_, source); }), err::kMalformedStatement) << source;
    }
    for (const char* statement :
         {"x; DELETE FROM filez", "DELETE FROM filez; DELETE FROM filez", ""}) {
        EXPECT_EQ(errorNumberOf([&] { db_.execute(statement); }), err::kMalformedStatement)
            << statement;
    }
    // Reading is still allowed, recursion and functions included.
    EXPECT_EQ(read(db_,
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                   "WHERE i < 3) SELECT upper(name) AS name FROM filez, n"),
              (QStringList{"KEEP", "KEEP", "KEEP"}));
    db_.close();
    EXPECT_EQ(contentsOf(path()), before);
    EXPECT_FALSE(QFile::exists("other.dat"));
}

// Many rows another program stored without their name keys: the repair that opening puts
// off gives every row its key (names folded without regard to case, in any script) and
// leaves the log beside the file small; one stale key among them is put right at open.
TEST_F(StoreTest, KeysOfManyRowsStoredByAnotherProgramAreRepairedAtOpen) {
    db_.close();
    OtherProgram other(path());
    other.run(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
        "INSERT INTO filez (id, name, path) SELECT i, 'entry' || i, '/p/' || i FROM n");
    const std::pair<const char*, const char*> keys[] = {
        {"École", "école"}, {"ÖL", "öl"},           {"ΣΟΦΙΑ", "σοφια"},
        {"Ärger", "ärger"}, {"MiXeD 1", "mixed 1"}, {"😀Smile", "😀smile"},
    };
    for (const auto& [name, key] : keys) {
        other.run(std::string("INSERT INTO filez (id, name) VALUES (0, '") + name + "')");
    }
    openAt(db_, path());
    EXPECT_FALSE(db_.nameKeyReady());  // put off: searches scan until then
    db_.repairPutOffNameKeys();
    EXPECT_TRUE(db_.nameKeyReady());
    EXPECT_LE(QFileInfo(path() + "-wal").size(), kLogSizeLimitBytes);
    EXPECT_EQ(read(db_, "SELECT count(*) AS n FROM filez WHERE name_key IS NOT lower(name)", "n"),
              QStringList{"4"});  // the names lower() leaves alone: not ASCII
    for (const auto& [name, key] : keys) {
        EXPECT_EQ(read(db_, QString("SELECT name_key FROM filez WHERE name = '%1'").arg(name),
                       "name_key"),
                  QStringList{key})
            << name;
    }
    // A key gone wrong again among many right ones is put right in place.
    db_.close();
    other.run("UPDATE filez SET name = 'Ökonom' WHERE id = 7");
    openAt(db_, path());
    EXPECT_EQ(read(db_, "SELECT name_key FROM filez WHERE id = 7", "name_key"),
              QStringList{"ökonom"});
    const QStringList ids = read(db_, kAll + " WHERE id > 0", "id");
    ASSERT_EQ(ids.size(), 100000);
    for (qsizetype i = 0; i < ids.size(); ++i) {
        ASSERT_EQ(ids[i], QString::number(i + 1));
    }
    EXPECT_EQ(read(db_, "SELECT * FROM filez where name like 'ENTRY9999_'", "path"),
              (QStringList{"/p/99990", "/p/99991", "/p/99992", "/p/99993", "/p/99994", "/p/99995",
                           "/p/99996", "/p/99997", "/p/99998", "/p/99999"}));
}

}  // namespace
}  // namespace kwiklet::test
