#include "appearance/Transparency.h"

#include "platform/Platform.h"

namespace kwiklet {

void CreateTransparentWindowStyle(QWidget& window) {
    platform().makeWindowLayered(window);
}

void WindowTransparency(QWidget& window, int mode, int /*colourKey*/, long long level) {
    if (mode != kOpacityMode || level < 0 || level > 255) {
        return;
    }
    platform().setWindowOpacityLevel(window, static_cast<int>(level));
}

}  // namespace kwiklet
