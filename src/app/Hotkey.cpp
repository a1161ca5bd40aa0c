#include "app/Hotkey.h"

#include "app/WindowToggle.h"
#include "app/MainWindow.h"
#include "common/ErrorTrap.h"
#include "platform/Platform.h"
#include "store/Settings.h"
#include "windows/HotkeyDialog.h"

namespace kwiklet {
namespace {

// Bound by none of the common Linux desktops (GNOME, KDE Plasma, Xfce, Cinnamon, MATE,
// LXQt) out of the box, unlike Alt+Space (their window menu), Super+Space (the input
// source) and Alt+F2 (their own run boxes).
const QString kDefaultHotkey = QStringLiteral("Ctrl+Alt+Space");
const QString kMessageTitle = kAppTitle + QStringLiteral(" Hotkey");
const QString kGoingOn = QStringLiteral(
    "\r\n\r\nKwiklet goes on without a hotkey; choose another with \"Hotkey...\" in its menu.");

void takeStoredHotkey(MainWindow& window) {
    auto& system = platform();
    system.releaseGlobalKey();
    const QString text = settings::read(settings::kHotkey, kDefaultHotkey);
    const ReadKeyCombination read = readKeyCombination(text);
    if (!read.keys) {
        if (!read.problem.isEmpty()) {
            system.showMessage(
                QStringLiteral("The hotkey \"%1\" cannot be used: %2.").arg(text, read.problem) +
                    kGoingOn,
                kMessageTitle, MessageKind::Warning);
        }
        return;
    }
    const GlobalKeyResult result =
        system.takeGlobalKey(*read.keys, [&window] { toggleMainWindow(window); });
    if (result == GlobalKeyResult::HeldByAnotherProgram) {
        system.showMessage(QStringLiteral("Another program holds %1 already, so it cannot call "
                                          "Kwiklet up.")
                                   .arg(keyCombinationText(*read.keys)) +
                               kGoingOn,
                           kMessageTitle, MessageKind::Warning);
    }
}

}  // namespace

void takeHotkey(MainWindow& window) {
    takeStoredHotkey(window);
    QObject::connect(&window, &QObject::destroyed, [] { platform().releaseGlobalKey(); });
}

void chooseHotkey(MainWindow& window) {
    // While the window records, the hotkey is let go: pressed, it is recorded as any
    // other combination instead of calling the main window up or away.
    platform().releaseGlobalKey();
    showHotkeyDialog(window, settings::read(settings::kHotkey, kDefaultHotkey),
                     [&window](const std::optional<QString>& chosen) {
                         if (chosen) {
                             settings::write(settings::kHotkey, *chosen);
                         }
                         takeStoredHotkey(window);
                     });
}

}  // namespace kwiklet
