// Which of Qt's window-system platforms the program runs on under Linux. Under a Wayland
// session the compositor places windows itself and keeps none on top by request; through
// XWayland the program's window keeps its position and its stay-on-top.

#include "platform/Platform.h"

#include <cstring>

namespace kwiklet {

QList<QByteArray> windowSystemArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            return {};  // the user's own choice
        }
    }
    const bool xwayland =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY");
    if (!xwayland || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return {};
    }
    return {QByteArrayLiteral("-platform"), QByteArrayLiteral("xcb")};
}

}  // namespace kwiklet
