// The main window as the user meets it. Start-up: finding and opening avs.dat, what the
// user sees when that goes wrong, filling the result lists from the index as the window
// loads, and the saved window state. Then typing into the search box: filtering,
// completion, the list and the box together.

#include "support/MainWindowFixture.h"

#include "common/MessageLoop.h"
#include "common/Units.h"
#include "windows/frmWait.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QTimer>

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
        IndexDatabase database;
        auto window = LaunchProgram(database);

        ASSERT_NE(window, nullptr);
        const auto& messages = platform.recorder().messages;
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].text, "Sorry! Cannot Find Database!");
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
    writeFile(platform_.databasePath(), QByteArray(4096, 'x'));
    EXPECT_EQ(launch(), nullptr);

    ASSERT_EQ(recorder_.messages.size(), 1u);
    const RecordedMessage& box = recorder_.messages[0];
    EXPECT_EQ(box.text,
              "An internal error has occured.\r\n\r\nPlease contact us with the error no. "
              "mentioned on the titlebar of this dialog box");
    EXPECT_EQ(box.style, MessageStyle::Critical);
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
    ASSERT_NE(launchOver(rows), nullptr);

    ASSERT_EQ(listed().size(), 153);
    EXPECT_EQ(listed().mid(0, 3), QStringList({"notepad", "Setup", "setup"}));
    EXPECT_EQ(listed(true).mid(0, 3),
              QStringList({"C:/Windows/notepad.exe", "/a/Setup.exe", "/b/setup.exe"}));
    EXPECT_EQ(listed().last(), "tool149");
    EXPECT_EQ(listed(true).last(), "/t/149");
    EXPECT_EQ(window_->lblCount[0]->text(), "153 files in DataBase");
    EXPECT_EQ(window_->lblCount[1]->text(), "Kwiklet -");
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{500});
    EXPECT_FALSE(IsWaitWindowLoaded());
}

TEST_F(StartupTest, LoadOfAnEmptyTableRebuildsThenPausesAgain) {
    ASSERT_NE(launchOver({}), nullptr);
    EXPECT_EQ(window_->lblCount[0]->text(), "0 files in DataBase");
    EXPECT_EQ(recorder_.sleeps, (std::vector<int>{100, 500}));
    EXPECT_FALSE(IsWaitWindowLoaded());
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(StartupTest, LoadListsAndShowsAHundredThousandEntries) {
    ASSERT_NE(launchOver(generatedRows(100000)), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(window_->lists().count(), 100000);
    EXPECT_EQ(window_->List1->model()->rowCount(), 100000);
    EXPECT_EQ(window_->lists().name(99999), "name99999");
    EXPECT_EQ(window_->lists().path(99999), "/apps/name99999.exe");
    EXPECT_EQ(window_->lblCount[0]->text(), "100000 files in DataBase");
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
    EXPECT_EQ(recorder_.topMostRequests, (TopMost{{"picMain", true}, {"frmWait", true}}));
    EXPECT_EQ(recorder_.opacityRequests, std::vector<int>{255});
    EXPECT_TRUE(window_->mnuOU[6]->isChecked());
    EXPECT_FALSE(window_->mnuOU[5]->isChecked());
    for (const QString& key : {settings::kTop, settings::kLeft, settings::kAlwaysOnTop,
                               settings::kOpenOnStartup, settings::kTransparency}) {
        EXPECT_EQ(settings::read(key, kAbsent), kAbsent) << key.toStdString();
    }
    // The index is rebuilt on a first run, even though the table has rows.
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{100});
    EXPECT_EQ(listed(), QStringList({"notepad", "piano"}));
    EXPECT_TRUE(recorder_.messages.empty());
}

// Closing the window through the system closes the connection and stores nothing.
TEST_F(WindowSettingsTest, StoredPositionIsRestoredEvenWithLeftAbsentAndNothingIsStoredAtClose) {
    createDatabaseAt(platform_.databasePath(), kRows);
    settings::write(settings::kTop, "300");
    ASSERT_NE(launch(), nullptr);
    const auto dpi = platform().screenMetrics().dotsPerInch;
    EXPECT_EQ(window_->y(), units::twipsToPixels(300, dpi));
    EXPECT_EQ(window_->x(), units::twipsToPixels(-1, dpi));
    EXPECT_EQ(recorder_.topMostRequests,
              (TopMost{{"picMain", true}, {"frmWait", true}}));  // the default
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{500});

    ASSERT_EQ(database_.IndexDb->state(), ObjectState::Open);
    window_->close();
    EXPECT_EQ(database_.IndexDb->state(), ObjectState::Closed);
    EXPECT_EQ(settings::read(settings::kLeft, kAbsent), kAbsent);
    EXPECT_EQ(settings::read(settings::kTop, kAbsent), "300");
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(WindowSettingsTest, StoredSwitchesAreAppliedToTheWindowAndTheMenu) {
    const struct {
        QString onTopText, onStartupText, opacityText;
        bool onTop, onStartup;
        std::vector<int> opacity;
    } cases[] = {
        {"0", "1", "255", false, true, {255}},
        {"1", "0", "128", true, false, {128}},
        {"7", "-2", "0", true, true, {0}},
        {"1", "0", "300", true, false, {}},  // out of range: the window is left as it is
        {"1", "0", "-1", true, false, {}},
        {" 0 ", "0", "99.5", false, false, {100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.onTopText + "/" + c.onStartupText + "/" + c.opacityText).toStdString());
        TestPlatform platform;
        storePosition();
        settings::write(settings::kAlwaysOnTop, c.onTopText);
        settings::write(settings::kOpenOnStartup, c.onStartupText);
        settings::write(settings::kTransparency, c.opacityText);
        IndexDatabase database;
        picMain window(database);
        window.RestoreWindowSettings();

        EXPECT_EQ(platform.recorder().topMostRequests, (TopMost{{"picMain", c.onTop}}));
        EXPECT_EQ(window.mnuOU[6]->isChecked(), c.onTop);
        EXPECT_EQ(window.mnuOU[5]->isChecked(), c.onStartup);
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
        IndexDatabase database;
        auto window = LaunchProgram(database);

        ASSERT_NE(window, nullptr);
        ASSERT_EQ(platform.recorder().messages.size(), 1u);
        EXPECT_EQ(platform.recorder().messages[0].text, c.message);
        EXPECT_EQ(platform.recorder().messages[0].title, "Kwiklet");
        EXPECT_EQ(platform.recorder().messages[0].style, MessageStyle::Plain);
        // The load stopped: nothing was listed and the value is kept for the user to mend.
        EXPECT_EQ(window->lists().count(), 0);
        EXPECT_EQ(settings::read(c.key, kAbsent), c.value);
    }
}

TEST_F(WindowSettingsTest, AnotherExecutableNameStartsWithItsOwnEmptySettings) {
    storePosition();
    EXPECT_EQ(settings::read(settings::kTop, kAbsent), "300");
    auto previous = installPlatform(std::make_unique<RecordingPlatform>(
        PlatformLocations{platform_.executableFolder(), "kwiklet-copy", platform_.configFolder()}));
    EXPECT_EQ(settings::read(settings::kTop, kAbsent), kAbsent);
    installPlatform(std::move(previous));
}

// Typing into the search box: filtering, completion, the list and the box together.
const QStringList kAllNames = {"notes",      "Notepad", "note",  "nut",    "Piano",
                               "100 things", "1000",    "écran", "Ébauche"};
const std::vector<Row> kEntries(kAllNames.begin(), kAllNames.end());

class IncrementalSearchTest : public MainWindowFixture {
protected:
    void SetUp() override {
        ASSERT_NE(launchOver(kEntries), nullptr);
        QApplication::setActiveWindow(window_.get());
        window_->Text1->setFocus();
    }

    QString text() const { return window_->Text1->text(); }
    QString selected() const { return window_->Text1->selectedText(); }
    QString chosenPath() const { return window_->Text2->text(); }
};

TEST_F(IncrementalSearchTest, TypingFiltersByPrefixAndCompletesTheFirstMatch) {
    const struct {
        QString text;
        bool pasted;  // typed key by key, n_t would pick up the completion's letters
        QStringList names;
        QString box, selection, path;
    } cases[] = {
        {"n", false, {"notes", "Notepad", "note", "nut"}, "notes", "otes", "/apps/notes.exe"},
        // The typed part takes the stored name's letter case.
        {"NOTEP", false, {"Notepad"}, "Notepad", "ad", "/apps/Notepad.exe"},
        {"NOTES", false, {"notes"}, "notes", "", "/apps/notes.exe"},
        {"n_t", true, {"notes", "Notepad", "note", "nut"}, "notes", "es", "/apps/notes.exe"},
        {"100%", false, {"100 things", "1000"}, "100 things", "things", "/apps/100 things.exe"},
        {"[p]", false, {"Piano"}, "Piano", "no", "/apps/Piano.exe"},
        {"[!n1]", true, {"Piano", "écran", "Ébauche"}, "Piano", "", "/apps/Piano.exe"},
        {"É", false, {"écran", "Ébauche"}, "écran", "cran", "/apps/écran.exe"},
        {"z", false, {}, "z", "", ""},
        {"np", false, {}, "np", "", ""},  // the p replaces the completion "otes"
        // A blank box lists the whole index, completing nothing.
        {"", true, kAllNames, "", "", ""},
        {"   ", true, kAllNames, "   ", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        window_->Text1->clear();
        c.pasted ? window_->Text1->setText(c.text) : type(c.text);
        EXPECT_EQ(listed(), c.names);
        EXPECT_EQ(text(), c.box);
        EXPECT_EQ(selected(), c.selection);
        EXPECT_EQ(window_->Text1->cursorPosition(), c.box.size());
        EXPECT_EQ(chosenPath(), c.path);
    }
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(IncrementalSearchTest, ApostropheReportsTheMalformedStatementOnEveryKeyAndChangesNothing) {
    type("don'");
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_TRUE(
        recorder_.messages[0].text.startsWith(QString::number(err::kMalformedStatement) + ": "));
    EXPECT_EQ(recorder_.messages[0].title, "Kwiklet");
    EXPECT_TRUE(listed().isEmpty());
    type("t");
    EXPECT_EQ(recorder_.messages.size(), 2u);
    EXPECT_EQ(text(), "don't");
    // Text that would be a statement of its own cannot reach the table either.
    window_->Text1->setText("x'; DELETE FROM filez; --");
    window_->Text1->setText(QString());
    EXPECT_EQ(listed(), kAllNames);
}

TEST_F(IncrementalSearchTest, ArrowsThroughTheListCopyEachEntryWithoutANewQuery) {
    window_->Text1->setText("n");
    QCoreApplication::processEvents();
    window_->List1->setFocus();
    const QStringList before = listed();
    QTest::keyClick(window_->List1, Qt::Key_Down);
    const QString first = text();
    QTest::keyClick(window_->List1, Qt::Key_Down);

    EXPECT_EQ(listed(), before);
    const int row = window_->List1->currentIndex().row();
    EXPECT_EQ(text(), before.at(row));
    EXPECT_EQ(chosenPath(), listed(true).at(row));
    EXPECT_NE(first, text());
}

TEST_F(IncrementalSearchTest, ComingIntoTheBoxSelectsItsWholeText) {
    window_->Text1->setText("xyz");
    window_->List1->setFocus();
    QTest::keyClick(window_->List1, Qt::Key_Backtab);
    ASSERT_TRUE(window_->Text1->hasFocus());
    EXPECT_EQ(selected(), "xyz");
    window_->Text1->setCursorPosition(1);
    window_->List1->setFocus();
    window_->Text1->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(selected(), "xyz");
}

TEST_F(IncrementalSearchTest, ClosedConnectionIsReopenedAndWebModeLeavesTheListsAlone) {
    database_.IndexDb->close();
    type("nut");
    EXPECT_EQ(database_.IndexDb->state(), ObjectState::Open);
    EXPECT_TRUE(recorder_.messages.empty());
    window_->searchState().WebMode = true;
    window_->Text1->setText("weather tomorrow");
    EXPECT_EQ(listed(), QStringList({"nut"}));
    EXPECT_EQ(chosenPath(), "/apps/nut.exe");
}

TEST(IncrementalSearchWithoutDatabase, TypingReportsTheUnusableConnection) {
    TestPlatform platform;
    IndexDatabase database;
    picMain window(database);
    window.searchState().AutoCompleteOn = true;
    QTest::keyClicks(window.Text1, "n");
    ASSERT_EQ(platform.recorder().messages.size(), 1u);
    EXPECT_TRUE(platform.recorder().messages[0].text.startsWith("3709: "));
}

using SupersededFillTest = MainWindowFixture;

TEST_F(SupersededFillTest, KeyTypedDuringAFillLeavesTheListsWithTheNewerQuery) {
    ASSERT_NE(launchOver(generatedRows(5000)), nullptr);
    messageloop::setYieldInterval(std::chrono::microseconds(0));
    // The whole index starts filling; at its first yield the user types "name1".
    QTimer::singleShot(0, window_.get(), [this] { window_->Text1->setText("name1"); });
    window_->Text1->setText(" ");

    EXPECT_EQ(window_->Text1->text(), "name1");
    const QStringList names = listed();
    const QStringList paths = listed(true);
    ASSERT_EQ(names.size(), 1 + 10 + 100 + 1000);
    for (qsizetype i = 0; i < names.size(); ++i) {
        ASSERT_TRUE(names[i].startsWith("name1")) << names[i].toStdString();
        ASSERT_EQ(paths[i], "/apps/" + names[i] + ".exe");
    }
}

}  // namespace
}  // namespace kwiklet::test
