#pragma once

// The commands of the main window's pop-up menu.

namespace kwiklet {

enum class MenuCommand {
    About,
    Feedback,
    CheckForUpdates,
    OpenOnStartup,
    AlwaysOnTop,
    KeepRunning,
    Hotkey,
    Skinz,
    OnlineHelp,
    Exit,
};

}  // namespace kwiklet
