#pragma once

class QWidget;

namespace kwiklet {

inline constexpr int kOpacityMode = 1;

// Lets the window take an opacity level from now on, which other windows ignore. Doing it
// again changes nothing.
void CreateTransparentWindowStyle(QWidget& window);

// Sets the opacity (mode kOpacityMode) of such a window to a level from 0 (not seen
// at all) to 255 (opaque). A level outside that range raises error 2222 "must choose
// number between 0-255" inside, and like every failure here it is swallowed: the window
// simply stays as it was.
void WindowTransparency(QWidget& window, int mode, int colourKey, long long level);

}  // namespace kwiklet
