// Which avs.dat a start opens: the one beside a copy of the program the user may write
// to, or the user's own, made from the installed empty index on the first start and kept
// from then on. Each case starts the real program and reads back what it listed.

#include "support/MainWindowFixture.h"

#include "app/IndexLocation.h"

#include <QDir>
#include <QFileInfo>

namespace kwiklet::test {
namespace {

using IndexLocationTest = MainWindowFixture;

TEST_F(IndexLocationTest, APortableCopyUsesItsOwnAndAnInstalledOneTheUsers) {
    const struct {
        const char* name;
        bool beside, installed, readOnlyFolder, own;
        const char* listed;  // the row of the database opened; nullptr: none found
        bool opensOwn, ownAfterwards;
    } cases[] = {
        {"a build or portable copy", true, false, false, false, "beside", false, false},
        {"a portable copy beside an installation", true, true, false, false, "beside", false,
         false},
        {"installed, first start", false, true, false, false, "installed", true, true},
        {"installed in a read-only folder", false, true, true, false, "installed", true, true},
        {"installed, a later start", false, true, true, true, "own", true, true},
        {"a read-only copy with its index", true, false, true, false, "beside", true, true},
        // The installation's own empty index wins over a stray one beside the executable.
        {"installed, with an index beside it", true, true, true, false, "installed", true, true},
        {"a copy without an index", false, false, false, false, nullptr, false, false},
        {"a read-only copy without an index", false, false, true, false, nullptr, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestPlatform platform;
        const QString beside = platform.databasePath();
        const QString installed = platform.installedDataFolder() + "/avs.dat";
        const QString own = platform.homeFolder() + "/.local/share/Kwiklet/avs.dat";
        if (c.beside) {
            createDatabaseAt(beside, {{"beside"}});
        }
        if (c.installed) {
            createDatabaseAt(installed, {{"installed"}});
        }
        if (c.own) {
            createDatabaseAt(own, {{"own"}});
        }
        if (c.readOnlyFolder) {
            platform.recorder().readOnlyFolders.insert(platform.executableFolder());
        }
        storePosition();
        IndexHolder database;
        const auto window = launchProgram(database);
        ASSERT_NE(window, nullptr);

        if (c.listed) {
            EXPECT_EQ(window->results().count(), 1);
            EXPECT_EQ(window->results().name(0), c.listed);
            EXPECT_TRUE(platform.recorder().messages.empty());
        } else {
            ASSERT_FALSE(platform.recorder().messages.empty());
            EXPECT_EQ(platform.recorder().messages[0].text, "Sorry! Cannot Find Database!");
        }
        EXPECT_EQ(QFileInfo::exists(own), c.ownAfterwards);
        EXPECT_EQ(locateIndex().path, c.opensOwn ? own : beside);
    }
}

// When the user's data folder cannot be made, the user is told why, then that there is
// no index; nothing is written anywhere else.
TEST_F(IndexLocationTest, AnOwnIndexThatCannotBeMadeIsReported) {
    createDatabaseAt(platform_.installedDataFolder() + "/avs.dat", {{"installed"}});
    // The data folder's place is taken by a file.
    writeFile(platform_.homeFolder() + "/.local/share/Kwiklet", "not a folder");
    storePosition();
    ASSERT_NE(launch(), nullptr);

    ASSERT_EQ(recorder_.messages.size(), 3U);
    EXPECT_EQ(recorder_.messages[0].text,
              QStringLiteral("Error 20 creating the index database %1")
                  .arg(platform_.homeFolder() + "/.local/share/Kwiklet/avs.dat"));
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(recorder_.messages[1].text, "Sorry! Cannot Find Database!");
    EXPECT_FALSE(QFileInfo::exists(platform_.databasePath()));
    EXPECT_EQ(contentsOf(platform_.homeFolder() + "/.local/share/Kwiklet"), "not a folder");
}

}  // namespace
}  // namespace kwiklet::test
