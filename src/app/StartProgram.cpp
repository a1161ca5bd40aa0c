#include "app/StartProgram.h"

#include "app/CommandLine.h"
#include "app/Hotkey.h"
#include "app/IndexLocation.h"
#include "app/RunningCopy.h"
#include "app/Vendor.h"
#include "app/WindowToggle.h"
#include "app/MainWindow.h"
#include "common/Conversions.h"
#include "common/ErrorTrap.h"
#include "platform/Platform.h"
#include "store/IndexHolder.h"
#include "store/Settings.h"
#include "windows/AboutWindow.h"

#include <QApplication>
#include <QIcon>

namespace kwiklet {
namespace {

void reportStartupFailure(const AppError& error) {
    // The message asks for the error number from the title bar, so the title carries it.
    platform().showMessage(
        QStringLiteral("An internal error has occured.\r\n\r\n"
                       "Please contact us with the error no. mentioned on the titlebar of this "
                       "dialog box"),
        kAppTitle + QStringLiteral(" - Error ") + QString::number(error.number()),
        MessageKind::Error);
}

}  // namespace

void openIndex(IndexHolder& database) {
    auto& system = platform();
    const QString databasePath = provideIndex();
    // Only the file with exactly this name counts: a differently spelt or hidden one is
    // not the program's database.
    if (system.firstOrdinaryFileName(databasePath) != kDatabaseFileName) {
        system.showMessage(QStringLiteral("Sorry! Cannot Find Database!"), kAppTitle,
                           MessageKind::Warning);
        return;
    }
    database.store = std::make_unique<IndexStore>(databasePath);
    database.store->open();
}

namespace {

bool openIndexOrSayWhy(IndexHolder& database) {
    if (auto error = catchError([&] { openIndex(database); })) {
        reportStartupFailure(*error);
        return false;
    }
    return true;
}

}  // namespace

void loadMainWindow(IndexHolder& database, std::unique_ptr<MainWindow>& window) {
    // The window is the program's before its load gives the message loop turns, so that
    // the end of the session meanwhile finds it and saves its position.
    window = std::make_unique<MainWindow>(database);
    window->load();
    window->show();
    takeHotkey(*window);
}

std::unique_ptr<MainWindow> launchProgram(IndexHolder& database) {
    std::unique_ptr<MainWindow> window;
    if (openIndexOrSayWhy(database)) {
        loadMainWindow(database, window);
    }
    return window;
}

bool startHiddenWithSession(IndexHolder& database, std::unique_ptr<MainWindow>& window) {
    // No window is shown, so none closing may end the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    if (!openIndexOrSayWhy(database)) {
        return false;
    }
    // The load gives the message loop turns: the window is there, and the key taken,
    // for a command or a press that comes meanwhile.
    window = std::make_unique<MainWindow>(database);
    takeHotkey(*window);
    window->loadOutOfSight();
    return true;
}

bool showStartUp(IndexHolder& database, std::unique_ptr<MainWindow>& window,
                 std::optional<QString> text) {
    if (!openIndexOrSayWhy(database)) {
        return false;
    }
    // Until Continue, the About window is the only window: closing it any other way
    // leaves none, and the program ends.
    showAboutWindow(
        true,
        [&database, &window, text] {
            loadMainWindow(database, window);
            if (text) {
                showMainWindow(*window, text);
            }
        },
        [&database] { closeIndex(database); });
    return true;
}

namespace {

// The open About window, or null.
QWidget* aboutWindow() {
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (qobject_cast<AboutWindow*>(shown) && shown->isVisible()) {
            return shown;
        }
    }
    return nullptr;
}

// Whether "Keep Running" is on; a stored value that is not a number counts as off here,
// and the main window's load reports it.
bool keepRunningStored() {
    bool on = false;
    catchError(
        [&on] { on = toInt16(settings::read(settings::kStayRunning, QStringLiteral("0"))) != 0; });
    return on;
}

}  // namespace

void obeyCommandLine(const QStringList& arguments, IndexHolder& database,
                     std::unique_ptr<MainWindow>& window) {
    const Command command = readCommand(arguments);
    if (command.kind == Command::Quit) {
        if (window) {
            window->runMenuCommand(MenuCommand::Exit);  // saves the position
        } else {
            closeIndex(database);
            platform().endProcess();
        }
        return;
    }
    if (command.kind == Command::Hide) {
        if (window && window->isVisible()) {
            window->savePosition();
            window->hide();
        }
        return;
    }
    if (command.kind == Command::Start && command.bySession) {
        return;  // the session starting again asks for nothing
    }
    if (!window) {
        // Until the About window's Continue, the About window is all there is to call up.
        if (QWidget* about = aboutWindow()) {
            platform().bringForward(*about);
        }
        return;
    }
    if (command.kind == Command::Toggle) {
        toggleMainWindow(*window);
    } else {
        showMainWindow(*window, command.text);
    }
}

void endWithTheSession(IndexHolder& database, std::unique_ptr<MainWindow>& window) {
    const auto mainWindowShown = [&window] { return window && window->isVisible(); };
    platform().watchSessionEnd(
        [&window, mainWindowShown] {
            if (mainWindowShown()) {
                window->savePosition();
            }
        },
        [&database, &window, mainWindowShown] {
            if (mainWindowShown()) {
                window->runMenuCommand(MenuCommand::Exit);
            }
            closeIndex(database);
        });
}

int runProgram(QApplication& application, IndexHolder& database) {
    const int result = application.exec();
    platform().watchSessionEnd({}, {});
    closeIndex(database);
    return result;
}

int startProgram(QApplication& application, const QStringList& arguments) {
    IndexHolder database;
    std::unique_ptr<MainWindow> window;
    const StartRole role =
        becomeRunningCopy(arguments, [&database, &window](const QStringList& handedOver) {
            obeyCommandLine(handedOver, database, window);
        });
    if (role != StartRole::RunningCopy) {
        return role == StartRole::HandedOver ? 0 : 1;
    }
    QIcon icon;
    for (const char* size : {"16", "32", "48"}) {
        icon.addFile(QStringLiteral(":/kwiklet/kwiklet-%1.png").arg(QLatin1String(size)));
    }
    application.setWindowIcon(icon);
    // The desktop matches the windows to the installed entry by its ID.
    QGuiApplication::setDesktopFileName(vendor::kApplicationId);
    // Before anything that may show a box: a box waits in a message loop of its own, where
    // the end of the session must find the program ready to end.
    endWithTheSession(database, window);
    const Command command = readCommand(arguments);
    if (command.bySession && keepRunningStored()) {
        if (!startHiddenWithSession(database, window)) {
            return 1;
        }
    } else if (!showStartUp(database, window, command.text)) {
        return 1;
    }
    return runProgram(application, database);
}

}  // namespace kwiklet
