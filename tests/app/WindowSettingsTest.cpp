// Restoring the saved window state at load: position, first run, stay-on-top,
// start-with-the-system and opacity, and stored values that are not numbers.

#include "support/MainWindowFixture.h"

#include "app/StartProgram.h"

#include "common/Units.h"
#include "store/Settings.h"

#include <QAction>
#include <QLabel>

namespace kwiklet::test {
namespace {

using WindowSettingsTest = MainWindowFixture;

const std::vector<Row> kRows = {{"notepad", "/usr/bin/notepad"}, {"piano", "/usr/bin/piano"}};

std::vector<bool> mainWindowTopMostRequests(const RecordingPlatform& recorder) {
    std::vector<bool> requests;
    for (const auto& [window, onTop] : recorder.topMostRequests) {
        if (window == "picMain") {
            requests.push_back(onTop);
        }
    }
    return requests;
}

int pixels(int twips) {
    return units::twipsToPixels(twips, platform().screenMetrics().dotsPerInch);
}

TEST_F(WindowSettingsTest, FirstRunOpensTopRightOnTopOpaqueAndStoresNothing) {
    createDatabase(kRows);
    ASSERT_NE(launch(), nullptr);

    EXPECT_TRUE(window_->FirstRun);
    EXPECT_EQ(window_->SavedTop, 0);
    const ScreenMetrics screen = platform().screenMetrics();
    EXPECT_EQ(window_->x() + window_->width(), screen.pixels.width());
    EXPECT_EQ(window_->y(), 0);
    EXPECT_EQ(mainWindowTopMostRequests(recorder_), std::vector<bool>{true});
    EXPECT_EQ(recorder_.opacityRequests, std::vector<int>{255});
    EXPECT_TRUE(window_->mnuOU[6]->isChecked());
    EXPECT_FALSE(window_->mnuOU[5]->isChecked());
    for (const QString& key : {settings::kTop, settings::kLeft, settings::kAlwaysOnTop,
                               settings::kOpenOnStartup, settings::kTransparency}) {
        EXPECT_EQ(storedSetting(key), "<absent>") << key.toStdString();
    }
    // The index is rebuilt on a first run, even though the table has rows.
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{100});
    EXPECT_EQ(listedNames(), QStringList({"notepad", "piano"}));
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(WindowSettingsTest, StoredPositionIsRestoredEvenWithLeftAbsent) {
    createDatabase(kRows);
    storeSetting(settings::kTop, "300");
    ASSERT_NE(launch(), nullptr);

    EXPECT_FALSE(window_->FirstRun);
    EXPECT_EQ(window_->SavedTop, 300);
    EXPECT_EQ(window_->SavedLeft, -1);
    EXPECT_EQ(window_->y(), pixels(300));
    EXPECT_EQ(window_->x(), pixels(-1));
    EXPECT_EQ(mainWindowTopMostRequests(recorder_), std::vector<bool>{true});  // on top by default
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{500});
}

TEST_F(WindowSettingsTest, StoredSwitchesAreAppliedToTheWindowAndTheMenu) {
    struct Case {
        QString aot, oos, transVal;
        bool onTop, onStartup;
        std::vector<int> opacity;
    };
    const std::vector<Case> cases = {
        {"0", "1", "255", false, true, {255}},
        {"1", "0", "128", true, false, {128}},
        {"7", "-2", "0", true, true, {0}},
        {"1", "0", "300", true, false, {}},  // out of range: the window is left as it is
        {"1", "0", "-1", true, false, {}},
        {" 0 ", "0", "99.5", false, false, {100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.aot.toStdString() + "/" + c.oos.toStdString() + "/" +
                     c.transVal.toStdString());
        TestPlatform platform;
        storePosition();
        settings::write(settings::kAlwaysOnTop, c.aot);
        settings::write(settings::kOpenOnStartup, c.oos);
        settings::write(settings::kTransparency, c.transVal);
        IndexDatabase database;
        picMain window(database);
        window.RestoreWindowSettings();

        EXPECT_EQ(mainWindowTopMostRequests(platform.recorder()), std::vector<bool>{c.onTop});
        EXPECT_EQ(window.mnuOU[6]->isChecked(), c.onTop);
        EXPECT_EQ(window.mnuOU[5]->isChecked(), c.onStartup);
        EXPECT_EQ(platform.recorder().opacityRequests, c.opacity);
        EXPECT_TRUE(platform.recorder().messages.empty());
    }
}

TEST_F(WindowSettingsTest, StoredValueThatIsNotANumberEndsTheLoadWithItsError) {
    struct Case {
        QString key, value, message;
    };
    const std::vector<Case> cases = {
        {settings::kAlwaysOnTop, "yes", "13: Type mismatch"},
        {settings::kOpenOnStartup, "70000", "6: Overflow"},
        {settings::kTransparency, "", "13: Type mismatch"},
        {settings::kTop, "abc", "13: Type mismatch"},
        {settings::kLeft, "99999999999", "6: Overflow"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key.toStdString() + "=" + c.value.toStdString());
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
        EXPECT_EQ(settings::read(c.key, "<absent>"), c.value);
    }
}

TEST_F(WindowSettingsTest, AnotherExecutableNameStartsWithItsOwnEmptySettings) {
    storePosition();
    EXPECT_EQ(storedSetting(settings::kTop), "300");
    auto previous = installPlatform(std::make_unique<RecordingPlatform>(
        PlatformLocations{platform_.executableFolder(), "kwiklet-copy", platform_.configFolder()}));
    EXPECT_EQ(settings::read(settings::kTop, "-1"), "-1");
    installPlatform(std::move(previous));
}

}  // namespace
}  // namespace kwiklet::test
