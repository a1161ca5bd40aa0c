#include "appearance/StayOnTop.h"

#include "common/ErrorTrap.h"
#include "platform/Platform.h"

namespace kwiklet {

void keepOnTop(QWidget& window, bool onTop) {
    trapErrors([&] { platform().setStayOnTop(window, onTop); });
}

}  // namespace kwiklet
