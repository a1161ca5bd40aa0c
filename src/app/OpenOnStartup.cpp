#include "app/OpenOnStartup.h"

#include "app/Vendor.h"
#include "common/ErrorTrap.h"
#include "platform/Platform.h"

namespace kwiklet {
namespace {

void showStatus(int status, const char* what) {
    platform().showMessage(QStringLiteral("Error %1 %2\r\n").arg(status).arg(QLatin1String(what)),
                           kAppTitle, MessageKind::Plain);
}

}  // namespace

void setOpenOnStartup(bool enable) {
    auto& system = platform();
    // Anything else that fails shows its number and description, and ends here.
    if (auto error = catchError([&] {
            const StartWithSessionResult result =
                system.setStartWithSession(vendor::kApplicationId, enable);
            if (result.error != 0) {
                showStatus(result.error, result.placeFailed ? "opening key" : "setting key");
            }
        })) {
        system.showMessage(
            QString::number(error->number()) + QLatin1Char(' ') + error->description(), kAppTitle,
            MessageKind::Plain);
    }
}

}  // namespace kwiklet
