// The main window's pop-up menu: its items, in the order the user sees them, and the
// command behind each, all under one error trap.

#include "app/Hotkey.h"
#include "app/MainWindow.h"
#include "app/OpenOnStartup.h"
#include "app/Vendor.h"

#include "appearance/StayOnTop.h"
#include "common/ErrorTrap.h"
#include "platform/Platform.h"
#include "search/Launching.h"
#include "store/IndexHolder.h"
#include "store/Settings.h"
#include "windows/AboutWindow.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

#include <optional>

namespace kwiklet {
namespace {

// What the menu's addresses are opened from: the system's root folder.
const QString kShellFolder = QStringLiteral("/");

struct MenuItem {
    std::optional<MenuCommand> command;  // none: a separator
    const char* caption;
};

constexpr MenuItem kMenuItems[] = {
    {MenuCommand::About, "About Kwiklet"},
    {MenuCommand::Feedback, "Feedback"},
    {MenuCommand::CheckForUpdates, "Check for Updates"},
    {std::nullopt, ""},
    {MenuCommand::OpenOnStartup, "Open on Startup"},
    {MenuCommand::AlwaysOnTop, "Always on Top"},
    {MenuCommand::KeepRunning, "Keep Running"},
    {MenuCommand::Hotkey, "Hotkey..."},
    {std::nullopt, ""},
    {MenuCommand::Skinz, "Skinz"},
    {MenuCommand::OnlineHelp, "Online Help"},
    {std::nullopt, ""},
    {MenuCommand::Exit, "Exit"},
};

// The switches and how they start, before the saved settings are applied.
constexpr std::pair<MenuCommand, bool> kMenuSwitches[] = {
    {MenuCommand::OpenOnStartup, false},
    {MenuCommand::AlwaysOnTop, true},
    {MenuCommand::KeepRunning, false},
};

}  // namespace

void MainWindow::createMenu() {
    menu_ = new QMenu(QStringLiteral("MainMenu"), this);
    menu_->setObjectName(QStringLiteral("mainMenu"));
    for (const MenuItem& item : kMenuItems) {
        if (!item.command) {
            menu_->addSeparator();
            continue;
        }
        QAction* action = menu_->addAction(QString::fromLatin1(item.caption));
        menuActions_[*item.command] = action;
        connect(action, &QAction::triggered, this, [this, action, command = *item.command] {
            // Qt turns a check mark over before it reports the click; the command does
            // that itself, since the mark is the switch's only record.
            if (action->isCheckable()) {
                action->setChecked(!action->isChecked());
            }
            runMenuCommand(command);
        });
    }
    for (const auto& [command, on] : kMenuSwitches) {
        menuAction(command).setCheckable(true);
        menuAction(command).setChecked(on);
    }
}

bool MainWindow::toggleSwitch(MenuCommand command, const QString& key) {
    QAction& item = menuAction(command);
    const bool on = !item.isChecked();
    item.setChecked(on);
    settings::write(key, on ? QStringLiteral("1") : QStringLiteral("0"));
    return on;
}

void MainWindow::runMenuCommand(MenuCommand command) {
    trapErrors([this, command] {
        switch (command) {
            case MenuCommand::About:
                showAboutAgain();
                break;
            case MenuCommand::Skinz:
                openSkinEditor();
                break;
            case MenuCommand::Feedback:
                openWithDesktop(QStringLiteral("mailto:") + vendor::kSupportAddress, kShellFolder);
                break;
            case MenuCommand::CheckForUpdates:
                openWithDesktop(vendor::downloadsPage(), kShellFolder);
                break;
            case MenuCommand::OnlineHelp:
                openWithDesktop(vendor::manualPage(), kShellFolder);
                break;
            case MenuCommand::OpenOnStartup:
                setOpenOnStartup(toggleSwitch(command, settings::kOpenOnStartup));
                break;
            case MenuCommand::AlwaysOnTop:
                keepOnTop(*this, toggleSwitch(command, settings::kAlwaysOnTop));
                break;
            case MenuCommand::Hotkey:
                chooseHotkey(*this);
                break;
            case MenuCommand::KeepRunning:
                // Kept running, the program outlives its last window closing.
                QGuiApplication::setQuitOnLastWindowClosed(
                    !toggleSwitch(command, settings::kStayRunning));
                break;
            case MenuCommand::Exit:
                exitProgram();
                break;
        }
    });
}

// The About window beside this one: its Continue brings this window forward again, or,
// when the window was closed meanwhile, loads and shows it anew.
void MainWindow::showAboutAgain() {
    showAboutWindow(
        false,
        [this] {
            if (!isVisible()) {
                load();
                show();
            }
            raise();
            activateWindow();
        },
        [this] { closeIndex(database_); });
}

// Ends at once: no window's closing steps run, but the position is saved and the index
// closed cleanly.
void MainWindow::exitProgram() {
    savePosition();
    closeIndex(database_);
    platform().endProcess();
}

}  // namespace kwiklet
