// The wait window: a fresh, top-most window at every use whose bar moves with the timer
// while the work gives the message loop turns.

#include "common/MessageLoop.h"
#include "support/TestPlatform.h"
#include "windows/WaitWindow.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

namespace kwiklet {
namespace {

class WaitWindowTest : public ::testing::Test {
protected:
    ~WaitWindowTest() override { closeWaitWindow(); }
    test::TestPlatform env_;
};

// Every stage's caption keeps the left margin on its right too, however long it is.
TEST_F(WaitWindowTest, CaptionsKeepTheSameMarginOnBothSides) {
    WaitWindow& wait = waitWindow();
    for (const QString& caption :
         {QStringLiteral("Please Wait, Getting Filez from My Documents..."),
          QStringLiteral("Please Wait, Getting Filez from Start Menu..."),
          QStringLiteral("Please Wait, Loading..."),
          QStringLiteral("Please Wait, ").repeated(20)}) {
        SCOPED_TRACE(caption.toStdString());
        wait.setStage(caption);
        const QRect label = wait.caption().geometry();
        EXPECT_LE(label.x() + label.width(), wait.width() - label.x());
        EXPECT_TRUE(wait.caption().text().startsWith(QStringLiteral("Please Wait,")));
    }
}

// The bar moves while the work yields, and every use starts again from an empty bar.
TEST_F(WaitWindowTest, BarMovesWhileWorkYieldsAndEveryUseStartsEmpty) {
    for (int use = 0; use < 2; ++use) {
        SCOPED_TRACE(use);
        WaitWindow& wait = waitWindow();
        wait.showModeless();
        EXPECT_EQ(wait.bar().value(), 0);
        QElapsedTimer work;
        work.start();
        while (wait.bar().value() < 3 && work.elapsed() < 10000) {
            messageloop::yieldNow();
        }
        EXPECT_GE(wait.bar().value(), 3);
        closeWaitWindow();
        EXPECT_FALSE(isWaitWindowOpen());
    }
}

}  // namespace
}  // namespace kwiklet
