// The wait window: a fresh, top-most window at every use whose bar moves with the timer
// while the work gives the message loop turns.

#include "common/MessageLoop.h"
#include "support/TestPlatform.h"
#include "windows/frmWait.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

#include <gtest/gtest.h>

namespace kwiklet {
namespace {

class WaitWindowTest : public ::testing::Test {
protected:
    ~WaitWindowTest() override { UnloadWaitWindow(); }
    test::TestPlatform env_;
};

// The bar runs through 1 to 100 and starts again at 1.
TEST_F(WaitWindowTest, EachTickMovesTheBarOneStepRoundAndRound) {
    frmWait& wait = WaitWindow();
    wait.Timer1->stop();  // ticks by hand only
    std::vector<int> values;
    for (int tick = 0; tick < 202; ++tick) {
        wait.Timer1_Timer();
        values.push_back(wait.pb1->value());
    }
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[99], 100);
    EXPECT_EQ(values[100], 1);
    EXPECT_EQ(values[201], 2);
}

// Every stage's caption keeps the left margin on its right too, however long it is.
TEST_F(WaitWindowTest, CaptionsKeepTheSameMarginOnBothSides) {
    frmWait& wait = WaitWindow();
    for (const QString& caption :
         {QStringLiteral("Please Wait, Getting Filez from My Documents..."),
          QStringLiteral("Please Wait, Getting Filez from Start Menu..."),
          QStringLiteral("Please Wait, Loading..."),
          QStringLiteral("Please Wait, ").repeated(20)}) {
        SCOPED_TRACE(caption.toStdString());
        wait.setStage(caption);
        const QRect label = wait.lbl->geometry();
        EXPECT_LE(label.x() + label.width(), wait.width() - label.x());
        EXPECT_TRUE(wait.lbl->text().startsWith(QStringLiteral("Please Wait,")));
    }
}

// The bar moves while the work yields, and every use starts again from an empty bar.
TEST_F(WaitWindowTest, BarMovesWhileWorkYieldsAndEveryUseStartsEmpty) {
    for (int use = 0; use < 2; ++use) {
        SCOPED_TRACE(use);
        frmWait& wait = WaitWindow();
        wait.showModeless();
        EXPECT_TRUE(wait.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(wait.pb1->value(), 0);
        QElapsedTimer work;
        work.start();
        while (wait.pb1->value() < 3 && work.elapsed() < 10000) {
            messageloop::yieldNow();
        }
        EXPECT_GE(wait.pb1->value(), 3);
        UnloadWaitWindow();
        EXPECT_FALSE(IsWaitWindowLoaded());
    }
}

}  // namespace
}  // namespace kwiklet
