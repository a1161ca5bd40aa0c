#include "app/RunAtStartup.h"

#include "common/ErrorTrap.h"
#include "platform/Platform.h"

namespace kwiklet {
namespace {

void showStatus(int status, const char* what) {
    platform().showMessage(QStringLiteral("Error %1 %2\r\n").arg(status).arg(QLatin1String(what)),
                           kAppTitle, MessageKind::Plain);
}

}  // namespace

void SetRunAtStartup(const QString& executableName, const QString& executableFolder, bool enable) {
    auto& system = platform();
    // Anything else that fails shows its number and description, and ends here.
    if (auto error = catchError([&] {
            if (const int status = system.openStartupEntries(); status != 0) {
                showStatus(status, "opening key");
                return;
            }
            if (!enable) {
                system.removeStartupEntry(executableName);
            } else if (const int status =
                           system.writeStartupEntry(executableName, executableFolder);
                       status != 0) {
                showStatus(status, "setting key");
            }
        })) {
        system.showMessage(
            QString::number(error->number()) + QLatin1Char(' ') + error->description(), kAppTitle,
            MessageKind::Plain);
    }
}

}  // namespace kwiklet
