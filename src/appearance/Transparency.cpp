#include "appearance/Transparency.h"

#include "common/ErrorTrap.h"
#include "platform/Platform.h"

namespace kwiklet {
namespace {
constexpr int kLevelOutOfRange = 2222;
}  // namespace

void CreateTransparentWindowStyle(QWidget& window) {
    catchError([&window] { platform().allowWindowOpacity(window); });
}

void WindowTransparency(QWidget& window, int mode, int /*colourKey*/, long long level) {
    // Whatever goes wrong is swallowed: a window that cannot be made see-through simply
    // stays as it was.
    catchError([&] {
        if (level < 0 || level > kOpaque) {
            throw AppError(kLevelOutOfRange, QStringLiteral("must choose number between 0-255"));
        }
        if (mode == kOpacityMode) {
            platform().setWindowOpacityLevel(window, static_cast<int>(level));
        }
    });
}

}  // namespace kwiklet
