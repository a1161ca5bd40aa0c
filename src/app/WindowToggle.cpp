#include "app/WindowToggle.h"

#include "app/picMain.h"
#include "platform/Platform.h"

#include <QLineEdit>

namespace kwiklet {

void ToggleMainWindow(picMain& window) {
    if (window.isVisible() && window.isActiveWindow()) {
        window.hide();
    } else {
        ShowMainWindow(window, std::nullopt);
    }
}

void ShowMainWindow(picMain& window, std::optional<QString> text) {
    // A window closed through the window manager closed the index with it; it is loaded
    // again, as the About window's Continue does, and so is one whose load out of sight
    // left the rebuild to its first call-up. A window only hidden keeps its lists.
    if (!window.isVisible() && window.needsLoad()) {
        window.Form_Load();
    }
    if (window.isVisible() && !window.isActiveWindow()) {
        // Mapped anew, the window comes onto the desktop the user is on, not the one it
        // was left on.
        window.hide();
    }
    window.show();
    platform().bringForward(window);
    window.Text1->setFocus(Qt::OtherFocusReason);
    if (text) {
        window.Text1->setText(*text);
    } else {
        // Called up, the window is there for a new search: what is typed replaces the box.
        window.Text1->selectAll();
    }
}

}  // namespace kwiklet
