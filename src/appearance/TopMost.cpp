#include "appearance/TopMost.h"

#include "common/ErrorTrap.h"
#include "platform/Platform.h"

namespace kwiklet {

void SetTopMost(QWidget& window, bool onTop) {
    trapErrors([&] { platform().setStayOnTop(window, onTop); });
}

}  // namespace kwiklet
