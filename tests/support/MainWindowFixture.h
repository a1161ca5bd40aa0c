#pragma once

// A real main window over a temporary avs.dat and temporary settings.

#include "app/StartProgram.h"
#include "app/MainWindow.h"
#include "common/Units.h"
#include "store/IndexHolder.h"
#include "store/Settings.h"
#include "support/Database.h"
#include "support/TestPlatform.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <memory>

namespace kwiklet::test {

using Levels = std::vector<std::pair<QString, int>>;  // window, opacity level

// Pixels on this screen for a length in twips.
inline int px(int twips) {
    return units::twipsToPixels(twips, platform().screenMetrics().dotsPerInch);
}

// The one top-level window of the kind, or null.
template <typename Window>
Window* topLevel() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<Window*>(window)) {
            return found;
        }
    }
    return nullptr;
}

// What runProgram gives back when the message loop was still running after a while; 0
// means it ended by itself, no window being left.
constexpr int kStillRunning = 42;

// Runs the message loop as the program does once start-up is through, doing `step` from
// inside it; the loop is ended after a while if nothing ends it sooner.
inline int runProgram(const std::function<void()>& step) {
    QTimer::singleShot(0, step);
    QTimer::singleShot(300, [] { QCoreApplication::exit(kStillRunning); });
    return QApplication::exec();
}

class MainWindowFixture : public ::testing::Test {
protected:
    // A stored window position, so that the load does not take the first-run path.
    static void storePosition() {
        settings::write(settings::kTop, QStringLiteral("300"));
        settings::write(settings::kLeft, QStringLiteral("600"));
    }
    // Starts the program as the user would; null when start-up failed.
    MainWindow* launch() {
        window_ = launchProgram(database_);
        return window_.get();
    }
    // Starts it over an avs.dat of the rows, with a stored window position.
    MainWindow* launchOver(const std::vector<Row>& rows) {
        createDatabaseAt(platform_.databasePath(), rows);
        storePosition();
        return launch();
    }
    // Types into the search box as a user would.
    void type(const QString& keys) { QTest::keyClicks(&window_->searchBox(), keys); }

    // What the result list holds: its names, or with paths set, their paths.
    QStringList listed(bool paths = false) const {
        QStringList items;
        for (qsizetype i = 0; i < window_->results().count(); ++i) {
            items << (paths ? window_->results().path(i) : window_->results().name(i));
        }
        return items;
    }

    TestPlatform platform_;
    RecordingPlatform& recorder_ = platform_.recorder();
    IndexHolder database_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace kwiklet::test
