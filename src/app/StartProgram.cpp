#include "app/StartProgram.h"

#include "app/picMain.h"
#include "common/ErrorTrap.h"
#include "platform/Platform.h"
#include "store/IndexDatabase.h"

#include <QApplication>

namespace kwiklet {
namespace {

const QString kDatabaseFileName = QStringLiteral("avs.dat");

void reportStartupFailure(const AppError& error) {
    // The message asks for the error number from the title bar, so the title carries it.
    platform().messageBox(
        QStringLiteral("An internal error has occured.\r\n\r\n"
                       "Please contact us with the error no. mentioned on the titlebar of this "
                       "dialog box"),
        MessageStyle::Critical,
        kAppTitle + QStringLiteral(" - Error ") + QString::number(error.number()));
}

}  // namespace

void OpenIndexDb(IndexDatabase& database) {
    auto& system = platform();
    const QString databasePath = system.executableFolder() + QLatin1Char('/') + kDatabaseFileName;
    // Only the file with exactly this name counts: a differently spelt or hidden one is
    // not the program's database.
    if (system.firstOrdinaryFileName(databasePath) != kDatabaseFileName) {
        system.messageBox(QStringLiteral("Sorry! Cannot Find Database!"), MessageStyle::Exclamation,
                          kAppTitle);
        return;
    }
    database.IndexDb = std::make_unique<Connection>();
    database.IndexDb->setConnectionString(connectionStringFor(databasePath));
    database.IndexDb->open(QString(), QString(), -1);
}

std::unique_ptr<picMain> LaunchProgram(IndexDatabase& database) {
    if (auto error = catchError([&] { OpenIndexDb(database); })) {
        reportStartupFailure(*error);
        return nullptr;
    }
    auto window = std::make_unique<picMain>(database);
    window->Form_Load();
    window->show();
    return window;
}

int StartProgram(QApplication& application) {
    IndexDatabase database;
    const auto window = LaunchProgram(database);
    if (!window) {
        return 1;
    }
    return application.exec();
}

}  // namespace kwiklet
