#pragma once

class QWidget;

namespace kwiklet {

inline constexpr int kOpacityMode = 1;

// Gives the window the style that lets it take an opacity level.
void CreateTransparentWindowStyle(QWidget& window);

// Sets the window's opacity (mode kOpacityMode) to a level from 0 to 255; a level outside
// that range leaves the window as it is. Never raises: a window that cannot be made
// see-through simply stays as it was.
void WindowTransparency(QWidget& window, int mode, int colourKey, long long level);

}  // namespace kwiklet
