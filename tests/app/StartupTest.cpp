// Start-up: finding and opening avs.dat, and what the user sees when that goes wrong.

#include "support/MainWindowFixture.h"

#include "app/StartProgram.h"

#include "store/Settings.h"
#include "windows/frmWait.h"

#include <QDir>
#include <QFile>
#include <QLabel>

namespace kwiklet::test {
namespace {

using StartupTest = MainWindowFixture;

const QString kMissing = QStringLiteral("Sorry! Cannot Find Database!");

TEST_F(StartupTest, DatabaseThatDoesNotCountAsAvsDatIsReportedAndTheWindowStillOpens) {
    struct Case {
        const char* what;
        std::function<void(const QString& folder)> prepare;
    };
    const std::vector<Case> cases = {
        {"no file", [](const QString&) {}},
        {"stored as AVS.DAT",
         [](const QString& folder) { QFile(folder + "/AVS.DAT").open(QIODevice::WriteOnly); }},
        {"hidden by the folder's .hidden list",
         [](const QString& folder) {
             QFile(folder + "/avs.dat").open(QIODevice::WriteOnly);
             QFile list(folder + "/.hidden");
             list.open(QIODevice::WriteOnly);
             list.write("avs.dat\n");
         }},
        {"a folder named avs.dat", [](const QString& folder) { QDir(folder).mkdir("avs.dat"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestPlatform platform;
        c.prepare(platform.executableFolder());
        storePosition();
        IndexDatabase database;
        auto window = LaunchProgram(database);

        ASSERT_NE(window, nullptr);
        const auto& messages = platform.recorder().messages;
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].text, kMissing);
        EXPECT_EQ(messages[0].style, MessageStyle::Exclamation);
        EXPECT_EQ(messages[0].title, "Kwiklet");
        // Every database step then fails into the load's error box.
        EXPECT_TRUE(messages[1].text.startsWith("3709: ")) << messages[1].text.toStdString();
        EXPECT_EQ(messages[1].style, MessageStyle::Plain);
        EXPECT_EQ(database.IndexDb, nullptr);
        EXPECT_EQ(window->lists().count(), 0);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(IsWaitWindowLoaded());
    }
}

TEST_F(StartupTest, FileThatIsNotADatabaseEndsStartUpWithTheInternalErrorBox) {
    QFile file(platform_.databasePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();

    EXPECT_EQ(launch(), nullptr);

    ASSERT_EQ(recorder_.messages.size(), 1u);
    const RecordedMessage& box = recorder_.messages[0];
    EXPECT_EQ(box.text,
              "An internal error has occured.\r\n\r\nPlease contact us with the error no. "
              "mentioned on the titlebar of this dialog box");
    EXPECT_EQ(box.style, MessageStyle::Critical);
    EXPECT_TRUE(box.title.startsWith("Kwiklet"));
    QFile again(platform_.databasePath());
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray(4096, 'x')) << "the file must be left untouched";
}

TEST_F(StartupTest, ClosingTheWindowThroughTheSystemClosesTheConnectionAndStoresNothing) {
    createDatabase({{"notepad", "/usr/bin/notepad"}});
    storeSetting(settings::kTop, "300");
    ASSERT_NE(launch(), nullptr);
    ASSERT_EQ(database_.IndexDb->state(), ObjectState::Open);

    window_->close();

    EXPECT_EQ(database_.IndexDb->state(), ObjectState::Closed);
    EXPECT_EQ(storedSetting(settings::kLeft), "<absent>");
    EXPECT_EQ(storedSetting(settings::kTop), "300");
    EXPECT_TRUE(recorder_.messages.empty());
}

}  // namespace
}  // namespace kwiklet::test
