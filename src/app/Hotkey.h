#pragma once

// The hotkey: a key combination, stored in the settings, that calls the main window up
// from any program and puts it away again.

namespace kwiklet {

class MainWindow;

// Takes the stored hotkey for the window (Ctrl+Alt+Space when none was ever stored, no
// key when the stored one is empty) until the window is destroyed. A combination that
// cannot be read, or that another program holds already, is told to the user, and the
// program goes on without one.
void takeHotkey(MainWindow& window);

// The menu's "Hotkey...": the window that chooses another hotkey, with the old one let
// go while it is open; its OK stores the new one and takes it at once, Esc takes the
// old one back.
void chooseHotkey(MainWindow& window);

}  // namespace kwiklet
