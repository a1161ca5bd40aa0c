// One running copy per user and index, with the real program as the later start: its
// commands reach a real main window in this process, which holds the running copy's name
// on a private session bus; and real copies of the program, killed, stopped or started
// at the same instant, with a private bus and without one. Keep Running on the real window.

#include "support/MainWindowFixture.h"

#include "app/RunningCopy.h"
#include "app/Vendor.h"

#include <QListView>
#include <QProcess>
#include <QSignalSpy>

#include <csignal>

namespace kwiklet::test {
namespace {

// A session bus of the test's own, so that no Kwiklet of the user answers.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
        if (daemon_.waitForReadyRead(10000)) {
            address_ = QString::fromUtf8(daemon_.readLine().trimmed());
        }
    }
    ~PrivateBus() {
        daemon_.kill();
        daemon_.waitForFinished();
    }
    QString address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

class RunningCopyTest : public MainWindowFixture {
protected:
    void SetUp() override {
        // The real program, as the copy of this test's folder and index: its running
        // copy's name is this test's.
        const QString copy = platform_.executableFolder() + "/Kwiklet";
        ASSERT_TRUE(QFile::copy(KWIKLET_EXECUTABLE, copy));
        platform_.environment().set("XDG_RUNTIME_DIR", runtime_.path());
        platform_.environment().set("DISPLAY", QString());
        platform_.environment().set("QT_QPA_PLATFORM", "offscreen");
        createDatabaseAt(platform_.databasePath(), {{"notes", "/n"}, {"firefox", "/f"}});
    }
    void useBus(bool bus) {
        platform_.environment().set("DBUS_SESSION_BUS_ADDRESS", bus ? bus_.address() : QString());
    }
    // Starts the real program with the arguments; the message loop runs meanwhile.
    std::unique_ptr<QProcess> start(const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(platform_.executableFolder() + "/Kwiklet", arguments);
        return process;
    }
    // Whether the program ended, with status 0, within a few seconds.
    static bool endsWell(QProcess& process) {
        if (process.state() != QProcess::NotRunning) {
            QSignalSpy(&process, &QProcess::finished).wait(10000);
        }
        return process.state() == QProcess::NotRunning && process.exitCode() == 0;
    }
    // Whether the program is still running a while after its start: it is the running
    // copy, since any other start ends as soon as it has handed over.
    static bool keepsRunning(QProcess& process) {
        QSignalSpy(&process, &QProcess::finished).wait(1500);
        return process.state() == QProcess::Running;
    }

    PrivateBus bus_;
    QTemporaryDir runtime_;
};

TEST_F(RunningCopyTest, LaterStartsCommandTheRunningCopysWindow) {
    // The installed desktop entry has the ID the running copy goes by.
    EXPECT_TRUE(QFile::exists(KWIKLET_DATA_FOLDER "/" + vendor::kApplicationId + ".desktop"));
    ASSERT_FALSE(bus_.address().isEmpty());
    useBus(true);
    storePosition();
    ASSERT_NE(launch(), nullptr);
    ASSERT_TRUE(platform().claimRunningCopy(runningCopyName(), [this](const QStringList& line) {
        obeyCommandLine(line, database_, window_);
    }));
    const struct {
        QStringList arguments;
        bool shownBefore, shownAfter;
        QStringList listed;
    } cases[] = {
        {{"--toggle"}, false, true, {"notes", "firefox"}},
        {{"--toggle"}, true, false, {"notes", "firefox"}},
        {{"--show", "fi"}, false, true, {"firefox"}},
        {{"--show"}, true, true, {"firefox"}},  // the box as it was
        {{}, false, true, {"firefox"}},         // a plain start brings the window forward
        {{"--hide"}, true, false, {"firefox"}},
        {{"--hide"}, false, false, {"firefox"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(
            (c.arguments.join(' ') + (c.shownBefore ? " shown" : " hidden")).toStdString());
        window_->setVisible(c.shownBefore);
        if (c.shownBefore) {
            window_->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        }
        const auto client = start(c.arguments);
        ASSERT_TRUE(endsWell(*client));
        QTest::qWait(50);  // the command runs from the message loop
        EXPECT_EQ(window_->isVisible(), c.shownAfter);
        EXPECT_EQ(listed(), c.listed);
        if (c.shownAfter) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
            EXPECT_EQ(window_->focusWidget(), &window_->searchBox());
        }
    }
    // --quit saves the position and ends, as Exit does.
    window_->move(20, 30);
    ASSERT_TRUE(endsWell(*start({"--quit"})));
    QTest::qWait(50);
    EXPECT_EQ(recorder_.processEndRequests, 1);
    EXPECT_EQ(recorder_.settingWrites.mid(recorder_.settingWrites.size() - 2),
              (QStringList{"Top=450", "Left=300"}));
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(RunningCopyTest, OneCopyRunsWhateverEndedStoppedOrStartedAtTheSameInstant) {
    for (const bool bus : {true, false}) {
        SCOPED_TRACE(bus ? "session bus" : "lock and socket");
        useBus(bus);
        const auto first = start({});
        ASSERT_TRUE(keepsRunning(*first));
        EXPECT_TRUE(endsWell(*start({})));  // handed over
        // Killed, the first copy leaves nothing that keeps the next from running.
        ::kill(static_cast<pid_t>(first->processId()), SIGKILL);
        ASSERT_TRUE(first->waitForFinished());
        const auto next = start({"--toggle"});
        EXPECT_TRUE(keepsRunning(*next));
        EXPECT_TRUE(endsWell(*start({"--quit"})));
        EXPECT_TRUE(endsWell(*next));  // no main window yet: it ends at once
        // Two starts at once: one runs, the other hands over and ends.
        const auto one = start({});
        const auto other = start({});
        const bool oneRuns = keepsRunning(*one);
        EXPECT_NE(oneRuns, keepsRunning(*other));
        EXPECT_TRUE(endsWell(oneRuns ? *other : *one));
        EXPECT_TRUE(endsWell(*start({"--quit"})));
        EXPECT_TRUE(endsWell(oneRuns ? *one : *other));
        // With nothing running, --hide and --quit start nothing.
        EXPECT_TRUE(endsWell(*start({"--hide"})));
        // A copy that holds on but never answers (stopped) is given up on: no start hangs.
        const auto stopped = start({});
        ASSERT_TRUE(keepsRunning(*stopped));
        ::kill(static_cast<pid_t>(stopped->processId()), SIGSTOP);
        const auto waiting = start({});
        EXPECT_TRUE(waiting->waitForFinished(30000));
        EXPECT_EQ(waiting->exitCode(), 1);
        ::kill(static_cast<pid_t>(stopped->processId()), SIGKILL);
        stopped->waitForFinished();
    }
}

// With Keep Running on, Esc and whatever opens an entry hide the window instead of
// ending the program, saving its position; off, Esc ends it and opening leaves it shown.
using KeepRunningTest = MainWindowFixture;

TEST_F(KeepRunningTest, EscAndALaunchHideTheWindowInsteadOfEndingTheProgram) {
    const auto key = [](Qt::Key pressed, bool inList) {
        return [pressed, inList](MainWindow& window) {
            if (inList) {
                window.resultView().setCurrentIndex(window.results().index(0));
            }
            QTest::keyClick(inList ? static_cast<QWidget*>(&window.resultView()) : &window.searchBox(), pressed);
        };
    };
    const struct {
        bool keepRunning;
        std::function<void(MainWindow&)> act;
        bool shown;
        int ends;
        std::size_t opens;
    } cases[] = {
        {true, key(Qt::Key_Escape, false), false, 0, 0},
        {true, key(Qt::Key_Escape, true), false, 0, 0},
        {true, key(Qt::Key_Return, false), false, 0, 1},
        {true, key(Qt::Key_Return, true), false, 0, 1},
        {false, key(Qt::Key_Return, false), true, 0, 1},
        {false, key(Qt::Key_Escape, false), true, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        TestPlatform platform;
        createDatabaseAt(platform.databasePath(), {{"notes", "/n"}});
        storePosition();
        settings::write(settings::kStayRunning, c.keepRunning ? "1" : "0");
        IndexHolder database;
        auto window = launchProgram(database);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->menuAction(MenuCommand::KeepRunning).isChecked(), c.keepRunning);
        // Kept running, closing the skin editor as the last window shown ends nothing.
        EXPECT_EQ(QGuiApplication::quitOnLastWindowClosed(), !c.keepRunning);
        window->searchBox().setText("no");
        platform.recorder().settingWrites.clear();
        c.act(*window);
        QTest::qWait(10);
        EXPECT_EQ(window->isVisible(), c.shown);
        EXPECT_EQ(platform.recorder().processEndRequests, c.ends);
        EXPECT_EQ(platform.recorder().opens.size(), c.opens);
        // Hiding saves the position, as Exit does.
        EXPECT_EQ(platform.recorder().settingWrites.size(), c.shown && c.ends == 0 ? 0 : 2);
    }
}

}  // namespace
}  // namespace kwiklet::test
