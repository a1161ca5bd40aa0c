// The main window's pop-up menu: its items, in the order the user sees them, and the
// command behind each, all under one error trap.

#include "app/Hotkey.h"
#include "app/RunAtStartup.h"
#include "app/Vendor.h"
#include "app/picMain.h"

#include "appearance/TopMost.h"
#include "common/ErrorTrap.h"
#include "platform/Platform.h"
#include "search/Launching.h"
#include "store/IndexDatabase.h"
#include "store/Settings.h"
#include "windows/frmAbout.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

namespace kwiklet {
namespace {

enum Command : int {
    kAbout = 0,
    kFeedback = 1,
    kCheckForUpdates = 3,
    kOpenOnStartup = 5,
    kAlwaysOnTop = 6,
    kHotkey = 2,
    kSkinz = 9,
    kOnlineHelp = 10,
};

// What the menu's addresses are opened from: the system's root folder.
const QString kShellFolder = QStringLiteral("/");

// Turns a checked menu switch over and saves its new state as "1" or "0"; returns it.
bool toggleSwitch(QAction& item, const QString& key) {
    const bool on = !item.isChecked();
    item.setChecked(on);
    settings::write(key, on ? QStringLiteral("1") : QStringLiteral("0"));
    return on;
}

}  // namespace

void picMain::createMenu() {
    struct Item {
        int index;
        const char* caption;
    };
    static constexpr Item kItems[] = {
        {kAbout, "About Kwiklet"},
        {kFeedback, "Feedback"},
        {kCheckForUpdates, "Check for Updates"},
        {4, "-"},
        {kOpenOnStartup, "Open on Startup"},
        {kAlwaysOnTop, "Always on Top"},
        {kKeepRunningCommand, "Keep Running"},
        {kHotkey, "Hotkey..."},
        {8, "-"},
        {kSkinz, "Skinz"},
        {kOnlineHelp, "Online Help"},
        {11, "-"},
        {kExitCommand, "Exit"},
    };
    mnuMain = new QMenu(QStringLiteral("MainMenu"), this);
    mnuMain->setObjectName(QStringLiteral("mnuMain"));
    for (const Item& item : kItems) {
        const QString caption = QString::fromLatin1(item.caption);
        QAction* action =
            caption == QLatin1String("-") ? mnuMain->addSeparator() : mnuMain->addAction(caption);
        mnuOU[static_cast<std::size_t>(item.index)] = action;
        connect(action, &QAction::triggered, this, [this, action, index = item.index] {
            // Qt turns a check mark over before it reports the click; the command does
            // that itself, since the mark is the switch's only record.
            if (action->isCheckable()) {
                action->setChecked(!action->isChecked());
            }
            mnuOU_Click(index);
        });
    }
    mnuOU[kOpenOnStartup]->setCheckable(true);
    mnuOU[kOpenOnStartup]->setChecked(false);
    mnuOU[kAlwaysOnTop]->setCheckable(true);
    mnuOU[kAlwaysOnTop]->setChecked(true);
    mnuOU[kKeepRunningCommand]->setCheckable(true);
    mnuOU[kKeepRunningCommand]->setChecked(false);
}

void picMain::mnuOU_Click(int index) {
    trapErrors([this, index] {
        auto& system = platform();
        switch (index) {
            case kAbout:
                // Continue there brings this window forward again, or, when the window
                // was closed meanwhile, loads and shows it anew.
                ShowAboutWindow(
                    false,
                    [this] {
                        if (!isVisible()) {
                            Form_Load();
                            show();
                        }
                        raise();
                        activateWindow();
                    },
                    [this] { CloseIndexDb(database_); });
                break;
            case kSkinz:
                cmdSkinz_Click();
                break;
            case kFeedback:
                OpenWithShell(QStringLiteral("mailto:") + vendor::kSupportAddress, kShellFolder);
                break;
            case kCheckForUpdates:
                OpenWithShell(vendor::downloadsPage(), kShellFolder);
                break;
            case kOnlineHelp:
                OpenWithShell(vendor::manualPage(), kShellFolder);
                break;
            case kOpenOnStartup:
                SetRunAtStartup(toggleSwitch(*mnuOU[kOpenOnStartup], settings::kOpenOnStartup));
                break;
            case kAlwaysOnTop:
                SetTopMost(*this, toggleSwitch(*mnuOU[kAlwaysOnTop], settings::kAlwaysOnTop));
                break;
            case kHotkey:
                ChooseHotkey(*this);
                break;
            case kKeepRunningCommand:
                // Kept running, the program outlives its last window closing.
                QGuiApplication::setQuitOnLastWindowClosed(
                    !toggleSwitch(*mnuOU[kKeepRunningCommand], settings::kStayRunning));
                break;
            case kExitCommand:
                // Ends at once: no window's closing steps run, but the index is closed
                // cleanly.
                SaveWindowPosition();
                CloseIndexDb(database_);
                system.endProcess();
                break;
            default:
                break;  // a separator, or no item at all
        }
    });
}

}  // namespace kwiklet
