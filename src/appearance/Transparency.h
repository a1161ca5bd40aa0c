#pragma once

class QWidget;

namespace kwiklet {

inline constexpr int kOpacityMode = 1;

// Gives the window the layered style: from then on it takes an opacity level, which a
// window without the style ignores. Doing it again changes nothing.
void CreateTransparentWindowStyle(QWidget& window);

// Sets the opacity (mode kOpacityMode) of a layered window to a level from 0 (not seen
// at all) to 255 (opaque). A level outside that range raises error 2222 "must choose
// number between 0-255" inside, and like every failure here it is swallowed: the window
// simply stays as it was.
void WindowTransparency(QWidget& window, int mode, int colourKey, long long level);

}  // namespace kwiklet
