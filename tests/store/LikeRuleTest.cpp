// The like rule of the pattern statement, checked through the statements the program
// sends, on the program's own index database (answered through the name key) and on one
// made by another program (answered by scanning every row): both must give the same rows
// in the same order.

#include "StoreTestHelpers.h"

namespace kwiklet::test {
namespace {

const QStringList kAdded = {
    QStringLiteral("NOTES"), QStringLiteral("Piano"),     QStringLiteral("note"),
    QStringLiteral("nut"),   QStringLiteral("100 Tools"), QStringLiteral("1000"),
    QStringLiteral("10"),    QStringLiteral("École"),     QStringLiteral("éclair"),
    QStringLiteral("apple"), QStringLiteral("Banana"),    QStringLiteral("cherry"),
    QStringLiteral("a[b"),   QStringLiteral("axb"),       QStringLiteral("[x]"),
    QStringLiteral("😀smile")};

class LikeRule : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        createForeignDatabase(scratch(QStringLiteral("foreign.dat")));
        // Another program's row comes first, stored without a name key.
        db_.close();
        for (const QString& file : {path(), scratch(QStringLiteral("foreign.dat"))}) {
            runAsOtherProgram(file,
                              "INSERT INTO filez (id, name, path) VALUES (0, 'Notepad', 'n')");
        }
        open(db_, path());
        open(foreign_, scratch(QStringLiteral("foreign.dat")));
        for (Connection* connection : {&db_, &foreign_}) {
            addRows(*connection, kAdded);
            connection->execute(
                QStringLiteral("INSERT INTO filez (id, name, path) VALUES (98, 'ÖL', 'o')"));
            connection->execute(
                QStringLiteral("INSERT INTO filez (id, name, path) VALUES (99, NULL, 'x')"));
        }
    }

    Connection foreign_;
};

TEST_F(LikeRule, PatternStatementMatchesNamesByTheOldEngineRule) {
    const QStringList everyName =
        QStringList{QStringLiteral("Notepad")} + kAdded + QStringList{QStringLiteral("ÖL")};
    const struct {
        const char* pattern;
        QStringList expected;
    } cases[] = {
        {"no%", {"Notepad", "NOTES", "note"}},
        {"nO%", {"Notepad", "NOTES", "note"}},
        {"n_t%", {"Notepad", "NOTES", "note", "nut"}},
        {"100%", {"100 Tools", "1000"}},
        {"10", {"10"}},
        {"é%", {"École", "éclair"}},
        {"É%", {"École", "éclair"}},
        {"e%", {}},
        {"öl%", {"ÖL"}},
        {"p%o", {"Piano"}},
        {"[a-c]%", {"apple", "Banana", "cherry", "a[b", "axb"}},
        {"[!n]%e", {"École", "apple", "😀smile"}},
        {"[[]%", {"[x]"}},
        {"a[b%", {"a[b"}},  // an unclosed '[' stands for itself
        {"[x%", {"[x]"}},
        {"_smile", {"😀smile"}},  // '_' takes one character, however many bytes it has
        {"%", everyName},
        {"", {}},
        {"[]%", {}},
        {"[c-a]%", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const QString statement = QStringLiteral("SELECT * FROM filez where name like '%1'")
                                      .arg(QString::fromUtf8(c.pattern));
        EXPECT_EQ(read(db_, statement), c.expected);
        EXPECT_EQ(read(foreign_, statement), c.expected);
    }
}

TEST_F(LikeRule, NullGivesNoMatchAndEscapeMakesAWildcardLiteral) {
    Recordset values;
    values.open(QStringLiteral("SELECT like(NULL, 'a') AS a, like('a', NULL) AS b, "
                               "like('10!%', '10%', '!') AS c, like('10!%', '100', '!') AS d"),
                &db_, CursorType::Static, LockType::Optimistic);
    EXPECT_EQ(values.field("a"), QString());
    EXPECT_EQ(values.field("b"), QString());
    EXPECT_EQ(values.field("c"), QStringLiteral("1"));
    EXPECT_EQ(values.field("d"), QStringLiteral("0"));
    EXPECT_EQ(
        errorNumberOf([&] { read(db_, QStringLiteral("SELECT like('a', 'a', 'xy') AS v"), "v"); }),
        err::kMalformedStatement);
}

// A row whose key another program left wrong is passed over by a pattern with a literal
// beginning and found by one without: only the key's range is read.
TEST_F(StoreTest, PatternWithLiteralBeginningReadsOnlyTheKeyRange) {
    addRows(db_, {QStringLiteral("Zebra")});
    runAsOtherProgram(
        path(), "INSERT INTO filez (id, name, path, name_key) VALUES (2, 'Zebu', 'z', 'wrong')");
    EXPECT_EQ(read(db_, QStringLiteral("SELECT * FROM filez where name like 'ze%'")),
              QStringList{"Zebra"});
    EXPECT_EQ(read(db_, QStringLiteral("SELECT * FROM filez where name like '_e%'")),
              (QStringList{"Zebra", "Zebu"}));
}

}  // namespace
}  // namespace kwiklet::test
