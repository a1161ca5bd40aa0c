#pragma once

// Calling the main window up from anywhere, and putting it away again.

namespace kwiklet {

class picMain;

// Hides the main window if it is the active window; otherwise shows it, raises it,
// activates it and puts the focus in the search box.
void ToggleMainWindow(picMain& window);

}  // namespace kwiklet
