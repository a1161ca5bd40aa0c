// Filling the result lists from an index another program wrote: the lists keep their rows
// as UTF-8, so each name must list, read back and count as a duplicate exactly as the
// string it reads as, in whatever form its bytes came.

#include "support/Database.h"

#include "store/FillResultList.h"
#include "store/ResultList.h"

#include <QSet>

namespace kwiklet::test {
namespace {

TEST_F(StoreTest, FillListsEachNameAsTheStringItReadsAsOnceInTableOrder) {
    const char* const names[] = {
        "'notes'",
        "'Notes'",
        "'note'",
        "'notes '",
        "'notes'",  // case, length, a repeat
        "'écran'",
        "'e' || char(769) || 'cran'",
        "'écran'",  // composed and decomposed
        "x'6E6F7465FF'",
        "x'6E6F7465FE'",        // both read "note\uFFFD"
        "x'EFBBBF6E6F746573'",  // a byte order mark: "notes"
        "x'EFBBBF'",
        "''",
        "NULL",               // no name at all
        "x'EFBBBFEFBBBF61'",  // the second mark stays
    };
    OtherProgram other(path());
    int id = 0;
    const auto insert = [&](const std::string& nameSql) {
        const std::string row = std::to_string(++id);
        other.run("INSERT INTO filez (id, name, path) VALUES (" + row + ", CAST(" + nameSql +
                  " AS TEXT), '/p/" + row + "')");
    };
    for (const char* name : names) {
        insert(name);
    }
    // Enough rows in different case that the fill goes in several batches and the name
    // index grows more than once.
    for (int i = 0; i < 300; ++i) {
        insert(std::string(i % 3 == 1 ? "'TOOL" : "'tool") + std::to_string(i / 3) + "'");
    }

    // What the lists must hold: each row's name read as a string, in table order, the
    // first row of a name alone, nameless rows left out.
    QStringList expectedNames;
    QStringList expectedPaths;
    for (IndexRows rows = store_.allEntries(); !rows.atEnd(); rows.next()) {
        const QString name = QString::fromUtf8(rows.nameUtf8());
        if (!name.isEmpty() && !expectedNames.contains(name)) {
            expectedNames << name;
            expectedPaths << QString::fromUtf8(rows.pathUtf8());
        }
    }
    IndexRows rows = store_.allEntries();
    ResultList lists;
    ResultList::Query query = lists.beginQuery();
    EXPECT_EQ(fillResultList(rows, query, true), FillOutcome::Complete);
    lists.publishPendingRows();

    ASSERT_EQ(lists.count(), expectedNames.size());
    ASSERT_EQ(lists.rowCount(), expectedNames.size());
    EXPECT_EQ(expectedNames.size(), 8 + 200);
    for (int i = 0; i < expectedNames.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(lists.name(i), expectedNames[i]);
        EXPECT_EQ(lists.path(i), expectedPaths[i]);
        EXPECT_EQ(lists.data(lists.index(i)).toString(), expectedNames[i]);  // what the view paints
        EXPECT_TRUE(lists.containsName(expectedNames[i]));
    }
    EXPECT_FALSE(lists.containsName("NOTES"));
    EXPECT_FALSE(lists.containsName(""));
}

}  // namespace
}  // namespace kwiklet::test
