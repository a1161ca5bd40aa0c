// The search box's query over real database files: the like rule as the user meets it,
// typed text that is never compiled as SQL, and names that another program changes
// behind the store's back.

#include "support/Database.h"

#include <string>

namespace kwiklet::test {
namespace {

// The names the search box's query gives for the typed text, in order.
QStringList namesBeginningWith(IndexStore& store, const QString& typed) {
    QStringList names;
    for (IndexRows rows = store.entriesMatching(typed); !rows.atEnd(); rows.next()) {
        names << QString::fromUtf8(rows.nameUtf8());
    }
    return names;
}

const QStringList kAdded = {"NOTES", "Piano", "note",   "nut",   "100 Tools", "1000",
                            "10",    "École", "éclair", "apple", "Banana",    "cherry",
                            "a[b",   "axb",   "[x]",    "😀smile"};

// The like rule of the query, on the program's own index database (answered through the
// name key) and on one made by another program (answered by scanning every row): both
// give the same rows in the same order.
TEST_F(StoreTest, QueryMatchesNamesBeginningWithTheTypedTextByTheLikeRule) {
    store_.close();
    // Another program's row comes first, stored without a name key.
    const std::string notepad = "INSERT INTO filez (id, name, path) VALUES (0, 'Notepad', 'n')";
    OtherProgram(path()).run(notepad);
    OtherProgram(scratch("foreign.dat"))
        .run("CREATE TABLE filez (id INTEGER, name TEXT, path TEXT);" + notepad);
    IndexStore foreign(scratch("foreign.dat"));
    store_.open();
    foreign.open();
    for (IndexStore* store : {&store_, &foreign}) {
        addRows(*store, std::vector<Row>(kAdded.begin(), kAdded.end()));
        OtherProgram(store->path())
            .run("INSERT INTO filez (id, name) VALUES (98, 'ÖL'), (99, NULL)");
    }
    const std::pair<const char*, QStringList> cases[] = {
        {"no", {"Notepad", "NOTES", "note"}},
        {"n_t", {"Notepad", "NOTES", "note", "nut"}},
        {"100", {"100 Tools", "1000"}},
        {"10%0", {"100 Tools", "1000"}},
        {"é", {"École", "éclair"}},
        {"É", {"École", "éclair"}},
        {"e", {}},
        {"öl", {"ÖL"}},
        {"p%o", {"Piano"}},
        {"[a-c]", {"apple", "Banana", "cherry", "a[b", "axb"}},
        {"[!n]%e", {"École", "apple", "cherry", "😀smile"}},
        {"[[]", {"[x]"}},
        {"a[b", {"a[b"}},        // an unclosed '[' stands for itself
        {"_smile", {"😀smile"}},  // '_' takes one character, however many bytes it has
        {"%", QStringList{"Notepad"} + kAdded + QStringList{"ÖL"}},
        {"", QStringList{"Notepad"} + kAdded + QStringList{"ÖL"}},
        {"[]", {}},
        {"[c-a]", {}},
    };
    for (const auto& [typed, expected] : cases) {
        SCOPED_TRACE(typed);
        EXPECT_EQ(namesBeginningWith(store_, typed), expected);
        EXPECT_EQ(namesBeginningWith(foreign, typed), expected);
    }
}

// Whatever is typed is searched for as text. An apostrophe is refused before anything
// runs; everything else, SQL or not, only ever matches names.
TEST_F(StoreTest, TypedTextIsNeverCompiledAsSql) {
    const QString withNul = QString("nul") + QChar(0) + "byte";
    addRows(store_, {"plain", "x\" OR 1=1 --", "?1 first", "back\\slash", "semi;colon", withNul});
    store_.close();
    const QByteArray before = contentsOf(path());
    store_.open();

    const QString apostrophe = QString::number(err::kMalformedStatement) +
                               ": Syntax error in query expression: the search text cannot "
                               "hold an apostrophe (').";
    for (const char* typed : {
             "don'",
             "'",
             "x' or name like '",
             "'; DELETE FROM filez; --",
         }) {
        SCOPED_TRACE(typed);
        EXPECT_EQ(errorOf([&] { store_.entriesMatching(typed); }), apostrophe);
    }
    const std::pair<QString, QStringList> literal[] = {
        {"x\" OR 1=1 --", {"x\" OR 1=1 --"}},
        {"?1", {"?1 first"}},
        {"back\\", {"back\\slash"}},
        {"semi;", {"semi;colon"}},
        {QString("nul") + QChar(0), {withNul}},
        {QString("nul") + QChar(0) + "_", {withNul}},  // through the like, key range and scan
        {QString("_ul") + QChar(0), {withNul}},
        {QString(32767, 'p'), {}},
        {QString(32767, '['), {}},  // read in one pass, however long the run of '['
        {QString(16383, '[') + QString(16383, '%'), {}},
    };
    for (const auto& [typed, expected] : literal) {
        SCOPED_TRACE(typed.left(40).toStdString());
        EXPECT_EQ(namesBeginningWith(store_, typed), expected);
    }
    store_.close();
    EXPECT_EQ(contentsOf(path()), before);
}

// Another program renames and adds rows while the store has the file open, and tampers
// with the name key: every query still finds what the names say, at once and after the
// store opens the file again.
TEST_F(StoreTest, NamesChangedByAnotherProgramAreFoundAtOnceAndAfterReopening) {
    addRows(store_, {"Zebra", "Yak", "zebu"});
    OtherProgram other(path());
    const struct {
        std::string sql;
        const char* typed;
        QStringList names;
    } edits[] = {
        {"UPDATE filez SET name = 'Zander' WHERE name = 'Yak'", "za", {"Zander"}},
        {"INSERT INTO filez (id, name, path) VALUES (4, 'Zoo', 'z')", "zo", {"Zoo"}},
        {"INSERT INTO filez (id, name, path, name_key) VALUES (5, 'Zinc', 'z', 'wrong')",
         "zi",
         {"Zinc"}},
        {"UPDATE filez SET name_key = 'aaa' WHERE name = 'Zebra'", "ze", {"Zebra", "zebu"}},
        {"UPDATE filez SET name = 'Apple' WHERE name = 'zebu'", "a", {"Apple"}},
        {"INSERT INTO filez (rowid, id, name) VALUES (1099511627776, 6, 'Zeus'), (-7, 7, 'Zeal')",
         "ze",
         {"Zeal", "Zebra", "Zeus"}},
    };
    for (const auto& [sql, typed, names] : edits) {
        SCOPED_TRACE(sql);
        other.run(sql);
        EXPECT_EQ(namesBeginningWith(store_, typed), names);
    }
    EXPECT_EQ(namesBeginningWith(store_, "z"),
              (QStringList{"Zeal", "Zebra", "Zander", "Zoo", "Zinc", "Zeus"}));

    store_.close();
    other.run("UPDATE filez SET name = 'Zulu' WHERE name = 'Apple'");
    store_.open();
    // Opening repairs the keys at once, before any search needs them.
    EXPECT_EQ(other.read("SELECT name_key FROM filez WHERE name = 'Zulu'"), QStringList{"zulu"});
    EXPECT_EQ(namesBeginningWith(store_, "zu"), QStringList{"Zulu"});
}

// A rebuild that stopped while storing its rows leaves the key without its index, and
// older files index the key alone: opening the file builds it (again) holding every
// column. Where it cannot (another program holds the file for writing), the older index
// still finds the same rows.
TEST_F(StoreTest, KeyIndexMissingOrOfAnOlderLayoutIsBuiltAgainAtOpen) {
    addRows(store_, {"Zebra", "Yak", "zebu"});
    store_.close();
    const QString covering = "CREATE INDEX filez_name_key ON filez (name_key, name, path, id)";
    const QString older = "CREATE INDEX filez_name_key ON filez (name_key)";
    const struct {
        std::string change;
        bool locked;
        QString index;
    } cases[] = {
        {"DROP INDEX filez_name_key", false, covering},
        {"DROP INDEX filez_name_key; " + older.toStdString(), true, older},
        {"SELECT 1", false, covering},
    };
    for (const auto& [change, locked, index] : cases) {
        SCOPED_TRACE(change);
        OtherProgram other(path());
        other.run(change);
        if (locked) {
            other.run("BEGIN IMMEDIATE");
        }
        store_.open();
        EXPECT_TRUE(store_.nameKeyReady());
        EXPECT_EQ(other.read("SELECT sql FROM sqlite_master WHERE type = 'index'"),
                  QStringList{index});
        EXPECT_EQ(namesBeginningWith(store_, "z"), (QStringList{"Zebra", "zebu"}));
        store_.close();
        if (locked) {
            other.run("COMMIT");
        }
    }
}

// When the keys cannot be repaired (another program holds the file for writing), the
// query scans instead and still finds every row.
TEST_F(StoreTest, KeysThatCannotBeRepairedAreNotReliedOn) {
    addRows(store_, {"Zebra", "Yak"});
    OtherProgram other(path());
    other.run("UPDATE filez SET name = 'Zander' WHERE name = 'Yak'");
    other.run("BEGIN IMMEDIATE");
    EXPECT_EQ(namesBeginningWith(store_, "z"), (QStringList{"Zebra", "Zander"}));
    EXPECT_FALSE(store_.nameKeyReady());
    other.run("COMMIT");
}

}  // namespace
}  // namespace kwiklet::test
