// The main window as the user meets it at start-up: finding and opening avs.dat, what
// the user sees when that goes wrong, filling the result lists from the index as the
// window loads, and the saved window state.

#include "support/MainWindowFixture.h"

#include "common/MessageLoop.h"
#include "windows/AboutWindow.h"
#include "windows/WaitWindow.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>

#include <csignal>

namespace kwiklet::test {
namespace {

using StartupTest = MainWindowFixture;
using WindowSettingsTest = MainWindowFixture;

const QString kAbsent = QStringLiteral("<absent>");

TEST_F(StartupTest, DatabaseThatDoesNotCountAsAvsDatIsReportedAndTheWindowStillOpens) {
    const std::function<void(const QString&)> cases[] = {
        [](const QString&) {},  // no file
        [](const QString& folder) { writeFile(folder + "/AVS.DAT", ""); },
        [](const QString& folder) {  // hidden by the folder's .hidden list
            writeFile(folder + "/avs.dat", "");
            writeFile(folder + "/.hidden", "avs.dat\n");
        },
        [](const QString& folder) { QDir(folder).mkdir("avs.dat"); },
    };
    for (const auto& prepare : cases) {
        SCOPED_TRACE(&prepare - cases);
        TestPlatform platform;
        prepare(platform.executableFolder());
        storePosition();
        IndexHolder database;
        auto window = launchProgram(database);

        ASSERT_NE(window, nullptr);
        const auto& messages = platform.recorder().messages;
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].text, "Sorry! Cannot Find Database!");
        EXPECT_EQ(messages[0].kind, MessageKind::Warning);
        EXPECT_EQ(messages[0].title, "Kwiklet");
        // Every database step then fails into the load's error box.
        EXPECT_TRUE(messages[1].text.startsWith("3709: ")) << messages[1].text.toStdString();
        EXPECT_EQ(messages[1].kind, MessageKind::Plain);
        EXPECT_EQ(database.store, nullptr);
        EXPECT_EQ(window->results().count(), 0);
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(isWaitWindowOpen());
        // Typing then reports that the index cannot be used either.
        QTest::keyClicks(&window->searchBox(), "n");
        ASSERT_EQ(messages.size(), 3u);
        EXPECT_TRUE(messages[2].text.startsWith("3709: ")) << messages[2].text.toStdString();
    }
}

TEST_F(StartupTest, FileThatIsNotADatabaseEndsStartUpWithTheInternalErrorBox) {
    writeFile(platform_.databasePath(), QByteArray(4096, 'x'));
    EXPECT_EQ(launch(), nullptr);

    ASSERT_EQ(recorder_.messages.size(), 1u);
    const RecordedMessage& box = recorder_.messages[0];
    EXPECT_EQ(box.text,
              "An internal error has occured.\r\n\r\nPlease contact us with the error no. "
              "mentioned on the titlebar of this dialog box");
    EXPECT_EQ(box.kind, MessageKind::Error);
    EXPECT_TRUE(box.title.startsWith("Kwiklet"));
    EXPECT_EQ(contentsOf(platform_.databasePath()), QByteArray(4096, 'x'));  // left untouched
}

TEST_F(StartupTest, LoadListsEveryDistinctNameOnceWithThePathOfItsFirstRow) {
    std::vector<Row> rows = {{"notepad", "C:/Windows/notepad.exe"},
                             {"Setup", "/a/Setup.exe"},
                             {"notepad", "D:/Tools/notepad.lnk"},
                             {"setup", "/b/setup.exe"},
                             {"", "/nameless.exe"}};
    for (int i = 0; i < 150; ++i) {
        rows.push_back({QStringLiteral("tool%1").arg(i), QStringLiteral("/t/%1").arg(i)});
        rows.push_back({QStringLiteral("tool%1").arg(i), QStringLiteral("/u/%1").arg(i)});
    }
    int barAtThePause = -1;
    recorder_.onSleep = [&] {
        barAtThePause = isWaitWindowOpen() ? waitWindow().bar().value() : -1;
    };
    ASSERT_NE(launchOver(rows), nullptr);

    ASSERT_EQ(listed().size(), 153);
    EXPECT_EQ(barAtThePause, 100);  // set full before the pause
    EXPECT_EQ(listed().mid(0, 3), QStringList({"notepad", "Setup", "setup"}));
    EXPECT_EQ(listed(true).mid(0, 3),
              QStringList({"C:/Windows/notepad.exe", "/a/Setup.exe", "/b/setup.exe"}));
    EXPECT_EQ(listed().last(), "tool149");
    EXPECT_EQ(listed(true).last(), "/t/149");
    EXPECT_EQ(window_->countLabel().text(), "153 files in DataBase");
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{500});
    EXPECT_FALSE(isWaitWindowOpen());
}

TEST_F(StartupTest, LoadOfAnEmptyTableRebuildsThenPausesAgain) {
    ASSERT_NE(launchOver({}), nullptr);
    EXPECT_EQ(window_->countLabel().text(), "0 files in DataBase");
    EXPECT_EQ(recorder_.sleeps, (std::vector<int>{100, 500}));
    EXPECT_FALSE(isWaitWindowOpen());
    EXPECT_TRUE(recorder_.messages.empty());
}

// An error while the load fills the lists ends the load: the wait window goes first, so
// that the box shows on its own, and the window opens with what was listed.
TEST_F(StartupTest, ErrorDuringTheLoadsFillShowsItsBoxWithTheWaitWindowGone) {
    // Another program's table, without the path field the lists need.
    OtherProgram(platform_.databasePath())
        .run(
            "CREATE TABLE filez (id INTEGER, name TEXT); INSERT INTO filez VALUES (1, 'pathless')");
    storePosition();
    bool waitWindowUpWithTheBox = true;
    recorder_.onMessageBox = [&] { waitWindowUpWithTheBox = isWaitWindowOpen(); };
    ASSERT_NE(launch(), nullptr);

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_TRUE(recorder_.messages[0].text.startsWith("3265: "))
        << recorder_.messages[0].text.toStdString();
    EXPECT_FALSE(waitWindowUpWithTheBox);
    EXPECT_FALSE(isWaitWindowOpen());
    EXPECT_TRUE(recorder_.sleeps.empty());  // the rest of the load was skipped
}

// The load carries on past a closed-object error: with the store closed under its
// fill, it ends the fill and still pauses and closes the wait window, showing nothing.
TEST_F(StartupTest, LoadCarriesOnWhenItsRowsAreClosedUnderIt) {
    createDatabaseAt(platform_.databasePath(), generatedRows(2000));
    storePosition();
    messageloop::setYieldInterval(std::chrono::microseconds(0));
    recorder_.onYield = [this] {
        if (database_.store->isOpen()) {
            database_.store->close();
        }
    };
    ASSERT_NE(launch(), nullptr);
    recorder_.onYield = nullptr;

    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_LT(window_->results().count(), 2000);
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{500});
    EXPECT_FALSE(isWaitWindowOpen());
}

// Restoring the saved window state at load: position, first run, stay-on-top,
// start-with-the-system and opacity, and stored values that are not numbers.
const std::vector<Row> kRows = {{"notepad", "/usr/bin/notepad"}, {"piano", "/usr/bin/piano"}};

using TopMost = std::vector<std::pair<QString, bool>>;  // window, on top

TEST_F(WindowSettingsTest, FirstRunOpensTopRightOnTopOpaqueAndStoresNothing) {
    createDatabaseAt(platform_.databasePath(), kRows);
    ASSERT_NE(launch(), nullptr);

    EXPECT_EQ(window_->x() + window_->width(), platform().screenMetrics().pixels.width());
    EXPECT_EQ(window_->y(), 0);
    EXPECT_EQ(recorder_.stayOnTopRequests, (TopMost{{"mainWindow", true}, {"waitWindow", true}}));
    EXPECT_EQ(recorder_.opacityRequests, (Levels{{"mainWindow", 255}}));
    EXPECT_TRUE(window_->menuAction(MenuCommand::AlwaysOnTop).isChecked());
    EXPECT_FALSE(window_->menuAction(MenuCommand::OpenOnStartup).isChecked());
    EXPECT_TRUE(recorder_.settingWrites.isEmpty());
    // The index is rebuilt on a first run, even though the table has rows: from the
    // user's folders, which hold nothing here.
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{100});
    EXPECT_EQ(listed(), QStringList());
    EXPECT_EQ(OtherProgram(database_.store->path()).read("SELECT name FROM filez"),
              QStringList());
    EXPECT_TRUE(recorder_.messages.empty());
}

// A saved position whose title strip lies on no screen's usable area comes back onto
// the nearest one, keeping each coordinate that fits; one that shows is used as saved.
TEST_F(WindowSettingsTest, SavedPositionOffEveryScreenComesBackOntoTheNearest) {
    const std::vector<QRect> one{{0, 0, 1024, 768}};
    const std::vector<QRect> two{{0, 0, 1024, 768}, {1024, 0, 1280, 1024}};
    const struct {
        std::vector<QRect> screens;
        QString top, left;  // twips, 15 to a pixel here
        QPoint at;          // the window is 297 x 238 pixels
    } cases[] = {
        {one, "-6060", "19425", {727, 0}},    {two, "-6060", "19425", {1295, 0}},
        {one, "300", "600", {40, 20}},     // shows: as saved
        {one, "300", "13860", {924, 20}},  // partly off the right edge, still shows
        {one, "12000", "600", {40, 530}},  // below the screen
        {two, "-300", "-9000", {0, 0}},    // beyond the first screen's corner
        {two, "16000", "20000", {1333, 786}}, {one, "300", QString(), {0, 20}},  // no Left stored
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.top + "/" + c.left).toStdString());
        TestPlatform platform;
        platform.recorder().screens = c.screens;
        settings::write(settings::kTop, c.top);
        if (!c.left.isNull()) {
            settings::write(settings::kLeft, c.left);
        }
        IndexHolder database;
        MainWindow window(database);
        window.restoreWindowSettings();
        window.applySavedPosition();
        EXPECT_EQ(window.pos(), c.at);
        EXPECT_EQ(settings::read(settings::kTop, kAbsent), c.top);  // nothing rewritten
    }
}

// Closing the window through the system closes the store and stores nothing.
TEST_F(WindowSettingsTest, ClosingTheWindowClosesTheIndexAndStoresNothing) {
    ASSERT_NE(launchOver(kRows), nullptr);
    recorder_.settingWrites.clear();
    window_->close();
    EXPECT_FALSE(database_.store->isOpen());
    EXPECT_TRUE(recorder_.settingWrites.isEmpty());
    EXPECT_TRUE(recorder_.messages.empty());
}

// The end of the session (a signal, as a logout or a shutdown sends it) ends the program
// as Exit does: a first run's position is saved and the index closed, its log gone.
TEST_F(WindowSettingsTest, SessionEndSignalsSaveThePositionAndCloseTheIndex) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signal);
        TestPlatform platform;
        createDatabaseAt(platform.databasePath(), kRows);
        QProcess child;
        child.start(KWIKLET_SESSION_CHILD, {platform.executableFolder(), platform.configFolder()});
        ASSERT_TRUE(child.waitForReadyRead(30000));
        ::kill(static_cast<pid_t>(child.processId()), signal);
        ASSERT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
        const QSettings saved(platform.configFolder() + "/Kwiklet/Kwiklet.ini",
                              QSettings::IniFormat);
        EXPECT_TRUE(saved.contains("Options/Top") && saved.contains("Options/Left"));
        EXPECT_FALSE(QFile::exists(platform.databasePath() + "-wal"));
    }
}

// A box waits in a message loop of its own. The end of the session coming while one is
// up as the first run's main window loads (the hotkey cannot be taken) still saves the
// position and closes the index.
TEST_F(WindowSettingsTest, SessionEndWhileABoxOfTheFirstRunsLoadIsUpSavesThePosition) {
    createDatabaseAt(platform_.databasePath(), kRows);
    settings::write(settings::kHotkey, "Ctrl+Hyper");
    recorder_.settingWrites.clear();
    endWithTheSession(database_, window_);
    ASSERT_TRUE(showStartUp(database_, window_));
    recorder_.onMessageBox = [this] {
        recorder_.onMessageBox = nullptr;
        ::raise(SIGTERM);
        EXPECT_TRUE(QTest::qWaitFor([this] { return recorder_.processEndRequests > 0; }, 5000));
    };
    topLevel<AboutWindow>()->continueButton().click();
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_TRUE(recorder_.settingWrites.value(0).startsWith("Top="));
    EXPECT_TRUE(recorder_.settingWrites.value(1).startsWith("Left="));
    EXPECT_FALSE(database_.store->isOpen());
    platform().watchSessionEnd({}, {});
}

TEST_F(WindowSettingsTest, StoredSwitchesAreAppliedToTheWindowAndTheMenu) {
    const struct {
        QString onTopText, onStartupText, opacityText;
        bool onTop, onStartup;
        Levels opacity;
    } cases[] = {
        {"0", "1", "255", false, true, {{"mainWindow", 255}}},
        {"1", "0", "128", true, false, {{"mainWindow", 128}}},
        {"7", "-2", "0", true, true, {{"mainWindow", 0}}},
        {"1", "0", "300", true, false, {}},  // out of range: the window is left as it is
        {"1", "0", "-1", true, false, {}},
        {" 0 ", "0", "99.5", false, false, {{"mainWindow", 100}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.onTopText + "/" + c.onStartupText + "/" + c.opacityText).toStdString());
        TestPlatform platform;
        storePosition();
        settings::write(settings::kAlwaysOnTop, c.onTopText);
        settings::write(settings::kOpenOnStartup, c.onStartupText);
        settings::write(settings::kTransparency, c.opacityText);
        IndexHolder database;
        MainWindow window(database);
        window.restoreWindowSettings();

        EXPECT_EQ(platform.recorder().stayOnTopRequests, (TopMost{{"mainWindow", c.onTop}}));
        EXPECT_EQ(window.menuAction(MenuCommand::AlwaysOnTop).isChecked(), c.onTop);
        EXPECT_EQ(window.menuAction(MenuCommand::OpenOnStartup).isChecked(), c.onStartup);
        EXPECT_EQ(platform.recorder().opacityRequests, c.opacity);
        EXPECT_TRUE(platform.recorder().messages.empty());
    }
}

TEST_F(WindowSettingsTest, StoredValueThatIsNotANumberEndsTheLoadWithItsError) {
    const struct {
        QString key, value, message;
    } cases[] = {
        {settings::kAlwaysOnTop, "yes", "13: Type mismatch"},
        {settings::kOpenOnStartup, "70000", "6: Overflow"},
        {settings::kTransparency, "", "13: Type mismatch"},
        {settings::kTop, "abc", "13: Type mismatch"},
        {settings::kLeft, "99999999999", "6: Overflow"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.key + "=" + c.value).toStdString());
        TestPlatform platform;
        createDatabaseAt(platform.databasePath(), kRows);
        storePosition();
        settings::write(c.key, c.value);
        IndexHolder database;
        auto window = launchProgram(database);

        ASSERT_NE(window, nullptr);
        ASSERT_EQ(platform.recorder().messages.size(), 1u);
        EXPECT_EQ(platform.recorder().messages[0].text, c.message);
        EXPECT_EQ(platform.recorder().messages[0].title, "Kwiklet");
        EXPECT_EQ(platform.recorder().messages[0].kind, MessageKind::Plain);
        // The load stopped: nothing was listed and the value is kept for the user to mend.
        EXPECT_EQ(window->results().count(), 0);
        EXPECT_EQ(settings::read(c.key, kAbsent), c.value);
    }
}

}  // namespace
}  // namespace kwiklet::test
