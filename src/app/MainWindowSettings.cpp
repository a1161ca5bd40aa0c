#include "app/OpenOnStartup.h"
#include "app/MainWindow.h"
#include "appearance/StayOnTop.h"
#include "appearance/Transparency.h"
#include "common/Conversions.h"
#include "common/Units.h"
#include "platform/Platform.h"
#include "store/Settings.h"

#include <QAction>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kwiklet {
namespace {

// How far apart two rectangles lie, squared; 0 when they touch or overlap.
double distanceSquared(const QRect& a, const QRect& b) {
    const double dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const double dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

// Where a window saved at `saved` can be found again. A window whose title strip lies on
// a screen stays where it was saved; otherwise it goes onto the nearest screen, keeping
// each coordinate that fits there as it was.
QPoint findablePosition(QPoint saved, QSize window, int titleHeight,
                        const std::vector<QRect>& screens) {
    const QRect title(saved, QSize(window.width(), titleHeight));
    const auto onScreen = [&title](const QRect& area) { return area.intersects(title); };
    if (screens.empty() || std::any_of(screens.begin(), screens.end(), onScreen)) {
        return saved;
    }
    const QRect& area =
        *std::min_element(screens.begin(), screens.end(), [&title](const QRect& a, const QRect& b) {
            return distanceSquared(a, title) < distanceSquared(b, title);
        });
    // A window larger than the screen keeps its top-left corner on it.
    return {std::clamp(saved.x(), area.left(),
                       std::max(area.left(), area.right() + 1 - window.width())),
            std::clamp(saved.y(), area.top(),
                       std::max(area.top(), area.bottom() + 1 - window.height()))};
}

}  // namespace

void MainWindow::restoreWindowSettings() {
    savedTopTwips_ = toInt32(settings::read(settings::kTop, QStringLiteral("-1")));
    if (savedTopTwips_ == -1) {
        applyFirstRunSettings();
        return;
    }
    savedLeftTwips_ = toInt32(settings::read(settings::kLeft, QStringLiteral("-1")));
    keepSavedPositionFindable();
    applySavedSwitches();
}

// Nothing stored yet: a first run, placed in the top-right corner of the screen, on top,
// opaque, and not started with the system. Nothing is written.
void MainWindow::applyFirstRunSettings() {
    firstRun_ = true;
    savedTopTwips_ = 0;
    const ScreenMetrics screen = platform().screenMetrics();
    const double screenWidth = units::pixelsToTwips(screen.pixels.width(), screen.dotsPerInch);
    const double windowWidth = units::pixelsToTwips(frameGeometry().width(), screen.dotsPerInch);
    savedLeftTwips_ = static_cast<std::int32_t>(std::lround(screenWidth - windowWidth));
    keepOnTop(*this, true);
    setOpenOnStartup(false);
    allowTransparency(*this);
    setTransparency(*this, kOpaque);
}

void MainWindow::keepSavedPositionFindable() {
    auto& system = platform();
    const double dpi = system.screenMetrics().dotsPerInch;
    const QPoint saved(units::twipsToPixels(savedLeftTwips_, dpi),
                       units::twipsToPixels(savedTopTwips_, dpi));
    const QPoint findable =
        findablePosition(saved, frameGeometry().size(), units::twipsToPixels(kTitleStripTwips, dpi),
                         system.screenAreas());
    if (findable != saved) {
        savedLeftTwips_ =
            static_cast<std::int32_t>(std::lround(units::pixelsToTwips(findable.x(), dpi)));
        savedTopTwips_ =
            static_cast<std::int32_t>(std::lround(units::pixelsToTwips(findable.y(), dpi)));
    }
}

void MainWindow::applySavedSwitches() {
    const bool onTop = toInt16(settings::read(settings::kAlwaysOnTop, QStringLiteral("1"))) != 0;
    menuAction(MenuCommand::AlwaysOnTop).setChecked(onTop);
    keepOnTop(*this, onTop);

    const bool onStartup =
        toInt16(settings::read(settings::kOpenOnStartup, QStringLiteral("0"))) != 0;
    menuAction(MenuCommand::OpenOnStartup).setChecked(onStartup);
    setOpenOnStartup(onStartup);

    // Kept running, the program outlives its last window closing (the skin editor
    // closed while the main window is hidden, say).
    const bool keepRunning =
        toInt16(settings::read(settings::kStayRunning, QStringLiteral("0"))) != 0;
    menuAction(MenuCommand::KeepRunning).setChecked(keepRunning);
    QGuiApplication::setQuitOnLastWindowClosed(!keepRunning);

    allowTransparency(*this);
    setTransparency(*this,
                    toInt32(settings::read(settings::kTransparency, QString::number(kOpaque))));
}

}  // namespace kwiklet
