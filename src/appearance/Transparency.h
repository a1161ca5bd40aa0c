#pragma once

class QWidget;

namespace kwiklet {

// Lets the window take a transparency level from now on, which other windows ignore.
// Doing it again changes nothing.
void allowTransparency(QWidget& window);

// Sets the opacity of such a window to a level from 0 (not seen at all) to 255 (opaque).
// A level outside that range, like every failure here, leaves the window as it was: a
// window that cannot be made see-through is no reason to stop.
void setTransparency(QWidget& window, long long level);

}  // namespace kwiklet
