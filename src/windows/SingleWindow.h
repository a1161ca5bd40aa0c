#pragma once

// A window the program has at most one of: loaded and shown on first use, only brought
// to the front when asked for again while it is open.

#include <QPointer>

namespace kwiklet {

// Shows the window held in `window`, loading it with load() (which returns it, set up
// but not shown) when there is none.
template <class Window, class Load>
Window& showSingleWindow(QPointer<Window>& window, Load load) {
    if (window.isNull()) {
        window = load();
        window->show();
    } else {
        window->raise();
        window->activateWindow();
    }
    return *window;
}

}  // namespace kwiklet
