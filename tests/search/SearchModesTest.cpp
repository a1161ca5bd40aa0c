// The mode button of a real main window: into web mode and back to the index, which is
// listed whole again behind the wait window.

#include "support/MainWindowFixture.h"

#include "common/MessageLoop.h"
#include "windows/WaitWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace kwiklet::test {
namespace {

const QStringList kNames = {"notes", "Notepad", "piano"};

class SearchModesTest : public MainWindowFixture {
protected:
    void SetUp() override {
        ASSERT_NE(
            launchOver({{"notes"}, {"Notepad"}, {"notes", "/elsewhere/notes.exe"}, {"piano"}}),
            nullptr);
        QApplication::setActiveWindow(window_.get());
        window_->searchBox().setFocus();
        recorder_.sleeps.clear();
    }
    void clickSearch() { QTest::mouseClick(&window_->modeButton(), Qt::LeftButton); }
    bool buttonsEnabled() const {
        return window_->modeButton().isEnabled() && window_->updateButton().isEnabled();
    }
};

// The first click lists the engines and prompts for the first; the second lists the
// whole index again behind the wait window.
TEST_F(SearchModesTest, ClicksSwitchToTheEnginesAndBackToTheIndex) {
    type("pi");
    clickSearch();

    EXPECT_TRUE(window_->searchState().webMode);
    EXPECT_EQ(window_->modeButton().text(), "Local Files");
    EXPECT_EQ(listed(), (QStringList{"Search with Google", "Search with Yahoo"}));
    EXPECT_EQ(window_->searchBox().text(), "Enter term to Search with Google");
    EXPECT_EQ(window_->searchBox().selectedText(), window_->searchBox().text());
    EXPECT_TRUE(window_->searchBox().hasFocus());
    EXPECT_EQ(window_->chosenEntry().path(), "http://www.google.com");
    EXPECT_EQ(window_->countLabel().text(), "3 files in DataBase");  // the last listing's
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_TRUE(recorder_.sleeps.empty());  // no wait window, no database
    EXPECT_FALSE(isWaitWindowOpen());

    // Typing changes the words only.
    type("weather");
    EXPECT_EQ(window_->searchBox().text(), "weather");
    EXPECT_EQ(listed(), (QStringList{"Search with Google", "Search with Yahoo"}));
    EXPECT_EQ(window_->chosenEntry().path(), "http://www.google.com");

    messageloop::setYieldInterval(std::chrono::microseconds(0));
    QString stageDuringTheFill;
    recorder_.onYield = [&] {
        if (isWaitWindowOpen() && stageDuringTheFill.isEmpty()) {
            stageDuringTheFill = waitWindow().caption().text();
        }
    };
    int barAtThePause = -1;
    bool buttonsDisabledAtThePause = false;
    recorder_.onSleep = [&] {
        barAtThePause = isWaitWindowOpen() ? waitWindow().bar().value() : -1;
        buttonsDisabledAtThePause =
            !window_->modeButton().isEnabled() && !window_->updateButton().isEnabled();
    };
    clickSearch();

    EXPECT_FALSE(window_->searchState().webMode);
    EXPECT_EQ(window_->modeButton().text(), "Search");
    EXPECT_EQ(window_->searchBox().text(), "");
    EXPECT_EQ(window_->chosenEntry().path(), "");
    EXPECT_EQ(listed(), kNames);
    EXPECT_EQ(listed(true),
              (QStringList{"/apps/notes.exe", "/apps/Notepad.exe", "/apps/piano.exe"}));
    EXPECT_EQ(window_->countLabel().text(), "3 files in DataBase");
    EXPECT_EQ(stageDuringTheFill, "Please Wait, Loading...");
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{500});
    EXPECT_EQ(barAtThePause, 100);
    EXPECT_TRUE(buttonsDisabledAtThePause);
    EXPECT_FALSE(isWaitWindowOpen());
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_TRUE(recorder_.messages.empty());

    // Typing searches the index again.
    type("pi");
    EXPECT_EQ(listed(), QStringList{"piano"});
}

// An index that cannot be read on the way back: the error box, with the wait window
// gone, and both buttons usable again.
TEST_F(SearchModesTest, ReturnWhenTheIndexCannotBeReadShowsTheErrorAndEndsUsable) {
    clickSearch();
    OtherProgram(platform_.databasePath()).run("DROP TABLE filez");
    bool waitWindowUpWithTheBox = true;
    recorder_.onMessageBox = [&] { waitWindowUpWithTheBox = isWaitWindowOpen(); };
    clickSearch();

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_TRUE(recorder_.messages[0].text.startsWith(QString::number(err::kMalformedStatement)))
        << recorder_.messages[0].text.toStdString();
    EXPECT_FALSE(waitWindowUpWithTheBox);
    EXPECT_FALSE(isWaitWindowOpen());
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_FALSE(window_->searchState().webMode);
    EXPECT_EQ(window_->modeButton().text(), "Search");
}

}  // namespace
}  // namespace kwiklet::test
