// The program without its About window, over the folders it is given, for tests that
// end it as a desktop session does: kwiklet-session-child EXECUTABLE_FOLDER
// SETTINGS_FOLDER. It writes "ready" once the main window is up.

#include "app/StartProgram.h"
#include "app/MainWindow.h"
#include "platform/posix/PosixPlatform.h"
#include "store/IndexHolder.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace kwiklet;
    if (argc != 3) {
        return 2;
    }
    QApplication application(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    installPlatform(std::make_unique<PosixPlatform>(PlatformLocations{
        folder, QStringLiteral("Kwiklet"), QString::fromLocal8Bit(argv[2]), folder}));
    IndexHolder database;
    std::unique_ptr<MainWindow> window;
    endWithTheSession(database, window);
    window = launchProgram(database);
    if (!window) {
        return 1;
    }
    QTimer::singleShot(0, [] {
        std::puts("ready");
        std::fflush(stdout);
    });
    return runProgram(application, database);
}
