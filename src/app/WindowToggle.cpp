#include "app/WindowToggle.h"

#include "app/MainWindow.h"
#include "platform/Platform.h"

#include <QLineEdit>

namespace kwiklet {

void toggleMainWindow(MainWindow& window) {
    if (window.isVisible() && window.isActiveWindow()) {
        window.hide();
    } else {
        showMainWindow(window, std::nullopt);
    }
}

void showMainWindow(MainWindow& window, std::optional<QString> text) {
    // A window closed through the window manager closed the index with it; it is loaded
    // again, as the About window's Continue does, and so is one whose load out of sight
    // left the rebuild to its first call-up. A window only hidden keeps its lists.
    if (!window.isVisible() && window.needsLoad()) {
        window.load();
    }
    if (window.isVisible() && !window.isActiveWindow()) {
        // Mapped anew, the window comes onto the desktop the user is on, not the one it
        // was left on.
        window.hide();
    }
    window.show();
    platform().bringForward(window);
    window.searchBox().setFocus(Qt::OtherFocusReason);
    if (text) {
        window.searchBox().setText(*text);
    } else {
        // Called up, the window is there for a new search: what is typed replaces the box.
        window.searchBox().selectAll();
    }
}

}  // namespace kwiklet
