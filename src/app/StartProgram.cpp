#include "app/StartProgram.h"

#include "app/CommandLine.h"
#include "app/Hotkey.h"
#include "app/IndexLocation.h"
#include "app/RunningCopy.h"
#include "app/Vendor.h"
#include "app/WindowToggle.h"
#include "app/picMain.h"
#include "common/Conversions.h"
#include "common/ErrorTrap.h"
#include "platform/Platform.h"
#include "store/IndexDatabase.h"
#include "store/Settings.h"
#include "windows/frmAbout.h"

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

void OpenIndexDb(IndexDatabase& database) {
    auto& system = platform();
    const QString databasePath = ProvideIndexDatabase();
    // Only the file with exactly this name counts: a differently spelt or hidden one is
    // not the program's database.
    if (system.firstOrdinaryFileName(databasePath) != kDatabaseFileName) {
        system.showMessage(QStringLiteral("Sorry! Cannot Find Database!"), kAppTitle,
                           MessageKind::Warning);
        return;
    }
    database.IndexDb = std::make_unique<IndexStore>(databasePath);
    database.IndexDb->open();
}

namespace {

bool openIndex(IndexDatabase& database) {
    if (auto error = catchError([&] { OpenIndexDb(database); })) {
        reportStartupFailure(*error);
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<picMain> LoadMainWindow(IndexDatabase& database) {
    auto window = std::make_unique<picMain>(database);
    window->Form_Load();
    window->show();
    TakeHotkey(*window);
    return window;
}

std::unique_ptr<picMain> LaunchProgram(IndexDatabase& database) {
    return openIndex(database) ? LoadMainWindow(database) : nullptr;
}

bool StartHiddenWithSession(IndexDatabase& database, std::unique_ptr<picMain>& window) {
    // No window is shown, so none closing may end the program.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    if (!openIndex(database)) {
        return false;
    }
    // The load gives the message loop turns: the window is there, and the key taken,
    // for a command or a press that comes meanwhile.
    window = std::make_unique<picMain>(database);
    TakeHotkey(*window);
    window->LoadHidden();
    return true;
}

bool ShowStartUp(IndexDatabase& database, std::unique_ptr<picMain>& window,
                 std::optional<QString> text) {
    if (!openIndex(database)) {
        return false;
    }
    // Until Continue, the About window is the only window: closing it any other way
    // leaves none, and the program ends.
    ShowAboutWindow(
        true,
        [&database, &window, text] {
            window = LoadMainWindow(database);
            if (text) {
                ShowMainWindow(*window, text);
            }
        },
        [&database] { CloseIndexDb(database); });
    return true;
}

namespace {

// The open About window, or null.
QWidget* aboutWindow() {
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmAbout*>(shown) && shown->isVisible()) {
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

void ObeyCommandLine(const QStringList& arguments, IndexDatabase& database,
                     std::unique_ptr<picMain>& window) {
    const Command command = ReadCommand(arguments);
    if (command.kind == Command::Quit) {
        if (window) {
            window->mnuOU_Click(kExitCommand);  // saves the position, as Exit does
        } else {
            CloseIndexDb(database);
            platform().endProcess();
        }
        return;
    }
    if (command.kind == Command::Hide) {
        if (window && window->isVisible()) {
            window->SaveWindowPosition();
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
        ToggleMainWindow(*window);
    } else {
        ShowMainWindow(*window, command.text);
    }
}

int RunProgram(QApplication& application, IndexDatabase& database,
               std::unique_ptr<picMain>& window) {
    const auto mainWindowLoaded = [&window] { return window && window->isVisible(); };
    platform().watchSessionEnd(
        [&window, mainWindowLoaded] {
            if (mainWindowLoaded()) {
                window->SaveWindowPosition();
            }
        },
        [&database, &window, mainWindowLoaded] {
            if (mainWindowLoaded()) {
                window->mnuOU_Click(kExitCommand);
            }
            CloseIndexDb(database);
        });
    const int result = application.exec();
    platform().watchSessionEnd({}, {});
    CloseIndexDb(database);
    return result;
}

int StartProgram(QApplication& application, const QStringList& arguments) {
    IndexDatabase database;
    std::unique_ptr<picMain> window;
    const StartRole role =
        BecomeRunningCopy(arguments, [&database, &window](const QStringList& handedOver) {
            ObeyCommandLine(handedOver, database, window);
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
    const Command command = ReadCommand(arguments);
    if (command.bySession && keepRunningStored()) {
        if (!StartHiddenWithSession(database, window)) {
            return 1;
        }
    } else if (!ShowStartUp(database, window, command.text)) {
        return 1;
    }
    return RunProgram(application, database, window);
}

}  // namespace kwiklet
