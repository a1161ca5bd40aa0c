#include "appearance/Transparency.h"

#include "common/ErrorTrap.h"
#include "platform/Platform.h"

namespace kwiklet {

void allowTransparency(QWidget& window) {
    catchError([&window] { platform().allowWindowOpacity(window); });
}

void setTransparency(QWidget& window, long long level) {
    if (level < 0 || level > kOpaque) {
        return;
    }
    catchError([&] { platform().setWindowOpacityLevel(window, static_cast<int>(level)); });
}

}  // namespace kwiklet
