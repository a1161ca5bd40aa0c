#include "app/StartProgram.h"

#include "app/Hotkey.h"
#include "app/IndexLocation.h"
#include "app/picMain.h"
#include "common/ErrorTrap.h"
#include "platform/Platform.h"
#include "store/IndexDatabase.h"
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

bool ShowStartUp(IndexDatabase& database, std::unique_ptr<picMain>& window) {
    if (!openIndex(database)) {
        return false;
    }
    // Until Continue, the About window is the only window: closing it any other way
    // leaves none, and the program ends.
    ShowAboutWindow(
        true, [&database, &window] { window = LoadMainWindow(database); },
        [&database] { CloseIndexDb(database); });
    return true;
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

int StartProgram(QApplication& application) {
    QIcon icon;
    for (const char* size : {"16", "32", "48"}) {
        icon.addFile(QStringLiteral(":/kwiklet/kwiklet-%1.png").arg(QLatin1String(size)));
    }
    application.setWindowIcon(icon);
    IndexDatabase database;
    std::unique_ptr<picMain> window;
    if (!ShowStartUp(database, window)) {
        return 1;
    }
    return RunProgram(application, database, window);
}

}  // namespace kwiklet
