// The index store over real database files: opening and creating the database, storing
// entries as the rebuild does, and the errors its callers expect.

#include "support/Database.h"

#include "store/StoreErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kwiklet::test {
namespace {

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
        IndexStore store(file);
        const QString error = errorOf([&] { store.open(); });
        EXPECT_TRUE(error.startsWith(QString::number(err::kStoreFailure) + ": " + descriptionStart))
            << error.toStdString();
        EXPECT_TRUE(error.contains(file)) << error.toStdString();
        EXPECT_FALSE(store.isOpen());
        EXPECT_EQ(contentsOf(file), before);
    }
    EXPECT_FALSE(QFile::exists(scratch("missing.dat")));  // never created
}

TEST_F(StoreTest, CreatingRefusesAnExistingFile) {
    addRows(store_, {"kept"});
    store_.close();
    const QByteArray before = contentsOf(path());
    EXPECT_EQ(errorNumberOf([&] { createIndexDatabase(path()); }), err::kStoreFailure);
    EXPECT_EQ(contentsOf(path()), before);
    EXPECT_EQ(errorNumberOf([&] { createIndexDatabase(scratch("no/such/avs.dat")); }),
              err::kStoreFailure);
    // Only the database itself is left in the folder: no half-made files.
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"avs.dat"});
}

// Closed stores and rows, as closing the main window leaves them under a running load,
// search or rebuild, and tables another program made: each use raises the error its
// handler expects.
TEST_F(StoreTest, MisuseRaisesTheErrorsTheHandlersExpect) {
    EXPECT_TRUE(store_.allEntries().atEnd());  // an empty table stands at its end
    addRows(store_, {"only"});
    IndexRows neverOpened, closed = store_.allEntries(), closedWithStore;
    closed.close();
    IndexStore other(path());
    other.open();
    closedWithStore = other.entriesMatching("o");
    other.close();  // closes its rows too
    IndexRows atEnd = store_.entriesMatching("x");
    OtherProgram(scratch("pathless.dat"))
        .run("CREATE TABLE filez (name TEXT); INSERT INTO filez VALUES ('a')");
    IndexStore pathless(scratch("pathless.dat"));
    pathless.open();
    IndexRows pathlessRows = pathless.allEntries();
    const std::pair<int, std::function<void()>> cases[] = {
        {err::kInvalidConnection, [&] { other.allEntries(); }},
        {err::kInvalidConnection, [&] { other.entriesMatching("o"); }},
        {err::kInvalidConnection, [&] { other.deleteAll(); }},
        {err::kInvalidConnection, [&] { other.storeEntry(2, "x", "y"); }},
        {err::kInvalidConnection, [&] { other.beginStoringMany(); }},
        {err::kObjectClosed, [&] { other.close(); }},
        {err::kNoCurrentRecord, [&] { atEnd.nameUtf8(); }},
        {err::kNoCurrentRecord, [&] { atEnd.next(); }},
        {err::kItemNotFound, [&] { pathlessRows.pathUtf8(); }},
        {err::kItemNotFound, [&] { pathless.storeEntry(2, "x", "y"); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorNumberOf(c.second), c.first) << "case " << &c - cases;
    }
    for (IndexRows* rows : {&neverOpened, &closed, &closedWithStore}) {
        const std::function<void()> operations[] = {
            [&] { rows->atEnd(); },
            [&] { rows->nameUtf8(); },
            [&] { rows->next(); },
            [&] { rows->close(); },
        };
        for (const auto& operation : operations) {
            EXPECT_EQ(errorNumberOf(operation), err::kObjectClosed)
                << "case " << &operation - operations;
        }
    }
    other.open();  // the search box opens a closed store again the same way
    EXPECT_EQ(QString::fromUtf8(other.allEntries().nameUtf8()), "only");
}

// Many rows another program stored without their name keys: the repair that opening puts
// off gives every row its key (names folded without regard to case, in any script) and
// leaves the log beside the file small; one stale key among them is put right at open.
TEST_F(StoreTest, KeysOfManyRowsStoredByAnotherProgramAreRepairedAtOpen) {
    store_.close();
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
    store_.open();
    EXPECT_FALSE(store_.nameKeyReady());  // put off: searches scan until then
    store_.repairPutOffNameKeys();
    EXPECT_TRUE(store_.nameKeyReady());
    EXPECT_LE(QFileInfo(path() + "-wal").size(), kLogSizeLimitBytes);
    EXPECT_EQ(other.read("SELECT count(*) FROM filez WHERE name_key IS NOT lower(name)"),
              QStringList{"4"});  // the names lower() leaves alone: not ASCII
    for (const auto& [name, key] : keys) {
        EXPECT_EQ(other.read(std::string("SELECT name_key FROM filez WHERE name = '") + name + "'"),
                  QStringList{key})
            << name;
    }
    // A key gone wrong again among many right ones is put right in place.
    store_.close();
    other.run("UPDATE filez SET name = 'Ökonom' WHERE id = 7");
    store_.open();
    EXPECT_EQ(other.read("SELECT name_key FROM filez WHERE id = 7"), QStringList{"ökonom"});
    const QStringList ids = other.read("SELECT id FROM filez WHERE id > 0");
    ASSERT_EQ(ids.size(), 100000);
    for (qsizetype i = 0; i < ids.size(); ++i) {
        ASSERT_EQ(ids[i], QString::number(i + 1));
    }
    QStringList paths;
    for (IndexRows rows = store_.entriesMatching("ENTRY9999_"); !rows.atEnd(); rows.next()) {
        paths << QString::fromUtf8(rows.pathUtf8());
    }
    EXPECT_EQ(paths, (QStringList{"/p/99990", "/p/99991", "/p/99992", "/p/99993", "/p/99994",
                                  "/p/99995", "/p/99996", "/p/99997", "/p/99998", "/p/99999"}));
}

}  // namespace
}  // namespace kwiklet::test
