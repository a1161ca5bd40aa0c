#include "app/WindowToggle.h"

#include "app/picMain.h"

#include <QLineEdit>

namespace kwiklet {

void ToggleMainWindow(picMain& window) {
    if (window.isVisible() && window.isActiveWindow()) {
        window.hide();
        return;
    }
    window.show();
    window.raise();
    window.activateWindow();
    window.Text1->setFocus(Qt::OtherFocusReason);
}

}  // namespace kwiklet
