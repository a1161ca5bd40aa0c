#pragma once

// Calling the main window up and sending it away again, from a key, another start of
// the program or its commands: the one place the window is shown, hidden and brought
// forward.

#include <QString>

#include <optional>

namespace kwiklet {

class MainWindow;

// Hides the window when it is the active one; otherwise shows it as showMainWindow does.
void toggleMainWindow(MainWindow& window);

// Shows the window on the current desktop, raised and active, with the focus in the
// search box; a text given replaces the box's, and the search runs as if it was typed.
void showMainWindow(MainWindow& window, std::optional<QString> text);

}  // namespace kwiklet
