// The About window: its load on a rendered image, start-up through it (Continue, Esc,
// closed some other way, each inside the real message loop where it matters), and the
// menu's one modeless instance.

#include "support/MainWindowFixture.h"

#include "appearance/Gradient.h"
#include "common/TwipLayout.h"
#include "windows/AboutWindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace kwiklet::test {
namespace {

class AboutWindowTest : public MainWindowFixture {
protected:
    // An About window left open by a test (Esc only records the end of the process)
    // must not become the next test's.
    ~AboutWindowTest() override { delete topLevel<AboutWindow>(); }

    // Starts the program over an index of two entries, up to its About window.
    AboutWindow* startUp() {
        createDatabaseAt(platform_.databasePath(), {{"notes"}, {"tools"}});
        storePosition();
        EXPECT_TRUE(showStartUp(database_, window_));
        return topLevel<AboutWindow>();
    }
};

// The window paints its own colours from the shared red (the remainder of the last
// skinned paint) over the design height, then shortens itself.
TEST_F(AboutWindowTest, LoadsWithItsOwnGradientShortenedToItsHeight) {
    skinState() = SkinState{3, 1, 1, false};
    AboutWindow& about = showAboutWindow(false, {});

    EXPECT_EQ(about.height(), pixelsFromTwips(3075));
    // 3600 twips in 63 bands of 57: band 1, band 2 (red clamped at 0), band 34.
    const QImage image = about.grab().toImage();
    const std::pair<int, QColor> bands[] = {
        {1, {3, 214, 192}}, {2, {0, 210, 188}}, {34, {0, 82, 60}}};
    for (const auto& [band, colour] : bands) {
        EXPECT_EQ(image.pixelColor(3, pixelsFromTwips((band - 1) * 57 + 28)), colour)
            << "band " << band;
    }
    EXPECT_TRUE(skinState().topToBottom);
    // Each caption fits where the layout puts it.
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        if (!label->wordWrap()) {
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        }
    }
}

// Continue: the About window goes, the main window is loaded and shown, and the program
// runs on with it.
TEST_F(AboutWindowTest, ContinueAtStartUpLoadsTheMainWindow) {
    AboutWindow* about = startUp();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window_, nullptr);

    EXPECT_EQ(runProgram([about] { about->continueButton().click(); }), kStillRunning);
    EXPECT_FALSE(isAboutWindowOpen());
    ASSERT_NE(window_, nullptr);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(listed(), (QStringList{"notes", "tools"}));
    EXPECT_EQ(recorder_.processEndRequests, 0);
}

// Esc ends the program at once, from whichever control has the focus, and the main
// window is never loaded.
TEST_F(AboutWindowTest, EscAtStartUpEndsTheProgramWithoutTheMainWindow) {
    AboutWindow* about = startUp();
    ASSERT_NE(about, nullptr);
    recorder_.settingWrites.clear();
    for (QWidget* focused :
         {static_cast<QWidget*>(&about->continueButton()), static_cast<QWidget*>(about->findChild<QLabel*>()),
          static_cast<QWidget*>(about)}) {
        QTest::keyClick(focused, Qt::Key_Escape);
    }
    QTest::keyClick(&about->continueButton(), Qt::Key_X);  // other keys do nothing here
    EXPECT_EQ(recorder_.processEndRequests, 3);
    EXPECT_EQ(window_, nullptr);
    EXPECT_TRUE(recorder_.settingWrites.isEmpty());
}

// Closed any other way at start-up, no window is left and the program ends.
TEST_F(AboutWindowTest, ClosingItOtherwiseAtStartUpEndsTheProgram) {
    ASSERT_NE(startUp(), nullptr);
    EXPECT_EQ(runProgram([] { topLevel<AboutWindow>()->close(); }), 0);
    EXPECT_EQ(window_, nullptr);
}

// From the menu: one modeless window however often it is asked for; Continue brings the
// main window forward as it was.
TEST_F(AboutWindowTest, TheMenuShowsOneWindowAndContinueReturnsToTheMainWindow) {
    ASSERT_NE(launchOver({{"notes"}, {"tools"}}), nullptr);
    type("to");
    window_->runMenuCommand(MenuCommand::About);
    window_->runMenuCommand(MenuCommand::About);
    AboutWindow* about = topLevel<AboutWindow>();
    ASSERT_NE(about, nullptr);
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                            [](QWidget* window) { return qobject_cast<AboutWindow*>(window); }),
              1);
    EXPECT_EQ(about->windowModality(), Qt::NonModal);

    about->continueButton().click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(isAboutWindowOpen());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->searchBox().text(), "tools");
    EXPECT_EQ(listed(), QStringList{"tools"});
    // With the main window closed meanwhile (as the window manager closes it), the
    // program lives on, and Continue shows the main window again, loaded anew.
    window_->show();
    window_->runMenuCommand(MenuCommand::About);
    const int ended = runProgram([this] {
        window_->close();
        QTimer::singleShot(0, [] { topLevel<AboutWindow>()->continueButton().click(); });
    });
    EXPECT_EQ(ended, kStillRunning);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(listed(), (QStringList{"notes", "tools"}));
    // Esc there ends the whole program without the main window's closing steps, but
    // with the index closed.
    recorder_.settingWrites.clear();
    window_->runMenuCommand(MenuCommand::About);
    QTest::keyClick(&topLevel<AboutWindow>()->continueButton(), Qt::Key_Escape);
    EXPECT_EQ(recorder_.processEndRequests, 1);
    EXPECT_TRUE(recorder_.settingWrites.isEmpty());
    EXPECT_FALSE(database_.store->isOpen());
}

}  // namespace
}  // namespace kwiklet::test
