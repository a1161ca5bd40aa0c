#include "app/RunAtStartup.h"
#include "app/picMain.h"
#include "appearance/TopMost.h"
#include "appearance/Transparency.h"
#include "common/Conversions.h"
#include "common/Units.h"
#include "platform/Platform.h"
#include "store/Settings.h"

#include <QAction>

#include <cmath>

namespace kwiklet {

void picMain::RestoreWindowSettings() {
    auto& system = platform();
    SavedTop = toInt32(settings::read(settings::kTop, QStringLiteral("-1")));
    if (SavedTop == -1) {
        // Nothing stored yet: a first run, placed in the top-right corner of the screen,
        // on top, opaque, and not started with the system. Nothing is written.
        FirstRun = true;
        SavedTop = 0;
        const ScreenMetrics screen = system.screenMetrics();
        const double screenWidth = units::pixelsToTwips(screen.pixels.width(), screen.dotsPerInch);
        const double windowWidth =
            units::pixelsToTwips(frameGeometry().width(), screen.dotsPerInch);
        SavedLeft = static_cast<std::int32_t>(std::lround(screenWidth - windowWidth));
        SetTopMost(*this, true);
        SetRunAtStartup(system.executableName(), system.executableFolder(), false);
        CreateTransparentWindowStyle(*this);
        WindowTransparency(*this, kOpacityMode, 0, 255);
        return;
    }

    SavedLeft = toInt32(settings::read(settings::kLeft, QStringLiteral("-1")));

    const bool onTop = toInt16(settings::read(settings::kAlwaysOnTop, QStringLiteral("1"))) != 0;
    mnuOU[6]->setChecked(onTop);
    SetTopMost(*this, onTop);

    const bool onStartup =
        toInt16(settings::read(settings::kOpenOnStartup, QStringLiteral("0"))) != 0;
    mnuOU[5]->setChecked(onStartup);
    SetRunAtStartup(system.executableName(), system.executableFolder(), onStartup);

    CreateTransparentWindowStyle(*this);
    WindowTransparency(*this, kOpacityMode, 0,
                       toInt32(settings::read(settings::kTransparency, QStringLiteral("255"))));
}

}  // namespace kwiklet
