// Filling the result lists from the index when the main window loads.

#include "support/MainWindowFixture.h"

#include "store/Settings.h"
#include "windows/frmWait.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListView>

namespace kwiklet::test {
namespace {

using LoadTest = MainWindowFixture;

TEST_F(LoadTest, ListsEveryDistinctNameOnceWithThePathOfItsFirstRow) {
    std::vector<Row> rows = {
        {"notepad", "C:/Windows/notepad.exe"},
        {"Setup", "/a/Setup.exe"},
        {"notepad", "D:/Tools/notepad.lnk"},
        {"setup", "/b/setup.exe"},
        {"", "/nameless.exe"},
    };
    for (int i = 0; i < 150; ++i) {
        rows.push_back({QStringLiteral("tool%1").arg(i), QStringLiteral("/t/%1").arg(i)});
        rows.push_back({QStringLiteral("tool%1").arg(i), QStringLiteral("/u/%1").arg(i)});
    }
    createDatabase(rows);
    storePosition();
    ASSERT_NE(launch(), nullptr);

    const QStringList names = listedNames();
    ASSERT_EQ(names.size(), 153);
    EXPECT_EQ(names.mid(0, 3), QStringList({"notepad", "Setup", "setup"}));
    EXPECT_EQ(listedPaths().mid(0, 3),
              QStringList({"C:/Windows/notepad.exe", "/a/Setup.exe", "/b/setup.exe"}));
    EXPECT_EQ(names.last(), "tool149");
    EXPECT_EQ(listedPaths().last(), "/t/149");
    EXPECT_EQ(window_->lblCount[0]->text(), "153 files in DataBase");
    EXPECT_EQ(window_->lblCount[1]->text(), "Kwiklet -");
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{500});
    EXPECT_FALSE(IsWaitWindowLoaded());
}

TEST_F(LoadTest, EmptyTableIsRebuiltThenPausesAgain) {
    createDatabase({});
    storePosition();
    ASSERT_NE(launch(), nullptr);

    EXPECT_EQ(window_->lblCount[0]->text(), "0 files in DataBase");
    EXPECT_EQ(recorder_.sleeps, (std::vector<int>{100, 500}));
    EXPECT_FALSE(IsWaitWindowLoaded());
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(LoadTest, HundredThousandEntriesAreListedAndShown) {
    createDatabase(generatedRows(100000));
    storePosition();
    ASSERT_NE(launch(), nullptr);
    QCoreApplication::processEvents();

    EXPECT_EQ(window_->lists().count(), 100000);
    EXPECT_EQ(window_->List1->model()->rowCount(), 100000);
    EXPECT_EQ(window_->lists().name(99999), "name99999");
    EXPECT_EQ(window_->lists().path(99999), "/apps/name99999.exe");
    EXPECT_EQ(window_->lblCount[0]->text(), "100000 files in DataBase");
}

}  // namespace
}  // namespace kwiklet::test
