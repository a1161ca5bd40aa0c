#pragma once

class QWidget;

namespace kwiklet {

// Puts the window into the always-on-top layer (onTop) or back among the others, without
// moving or resizing it. An error is reported and the window left as it was.
void keepOnTop(QWidget& window, bool onTop);

}  // namespace kwiklet
