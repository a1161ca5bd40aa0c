// What a title bar would give the borderless main window: dragging it by its surface
// (the title labels included), the pop-up menu on a right click there, rolling it up to
// its title strip, and the frame that is its visible edge.

#include "app/GlyphLabel.h"
#include "app/picMain.h"

#include "common/KeyCodes.h"
#include "common/Units.h"
#include "platform/Platform.h"
#include "store/Settings.h"

#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace kwiklet {

// Mouse events reach the window from its surface, from the title labels, which leave
// theirs to it, and from controls that pass on what they do not take (a push button a
// right click, say): only the first two count.
bool picMain::isSurfaceOrTitle(QPoint windowPoint) const {
    const QWidget* under = childAt(windowPoint);
    return under == nullptr || under == lblCount[0] || under == lblCount[1];
}

// A press decides whether the moves that follow may drag: a control pressed keeps the
// pointer, but hands on the moves it does not take (a glyph, a disabled button), and
// those may lead over the surface before the button comes up. Presses on the controls
// reach the window's event filter first, which disarms the drag.
void picMain::mousePressEvent(QMouseEvent* event) {
    const bool onSurface = isSurfaceOrTitle(event->position().toPoint());
    dragArmed_ = onSurface && event->button() == Qt::LeftButton;
    if (onSurface) {
        grabbedAt_ = event->globalPosition().toPoint();
        Form_MouseDown(event->buttons(), grabbedAt_);
    }
}

void picMain::mouseMoveEvent(QMouseEvent* event) {
    if (dragArmed_) {
        Form_MouseMove(event->buttons());
    }
}

void picMain::mouseReleaseEvent(QMouseEvent*) {
    dragArmed_ = false;
}

void picMain::Form_MouseMove(Qt::MouseButtons buttons) {
    if (buttons != Qt::LeftButton) {
        return;
    }
    dragArmed_ = false;  // the drag below lasts until the button comes up
    platform().dragWindow(*this, grabbedAt_);
    // Saved at the end of every drag, whether or not the window moved.
    SaveWindowPosition();
}

void picMain::Form_MouseDown(Qt::MouseButtons buttons, QPoint where) {
    if (buttons == Qt::RightButton) {
        mnuMain->popup(where);
    }
}

void picMain::Form_KeyPress(int key) {
    if (key == kKeyEscape) {
        keepsRunning() ? hideWhenKeptRunning() : mnuOU_Click(kExitCommand);
    }
}

bool picMain::keepsRunning() const {
    return mnuOU[kKeepRunningCommand]->isChecked();
}

void picMain::hideWhenKeptRunning() {
    if (keepsRunning()) {
        SaveWindowPosition();
        // After the key that asked for it is through: the box still takes an Enter.
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    }
}

void picMain::Label2_Click() {
    const double dpi = platform().screenMetrics().dotsPerInch;
    // The painted background stays as it is: rolled up, only its top shows.
    const bool rollUp = Label2->text() == QLatin1String("5");
    heightTwips_ = rollUp ? kTitleStripTwips : kRolledDownTwips;
    setFixedHeight(units::twipsToPixels(heightTwips_, dpi));
    Label2->setText(rollUp ? QStringLiteral("6") : QStringLiteral("5"));
}

void picMain::SaveWindowPosition() {
    const double dpi = platform().screenMetrics().dotsPerInch;
    settings::write(settings::kTop, QString::number(units::pixelsToTwips(y(), dpi)));
    settings::write(settings::kLeft, QString::number(units::pixelsToTwips(x(), dpi)));
}

void picMain::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    background_->draw(painter);
    // Rolled down, the window is a little taller than its background was painted for:
    // the rows below carry the painted bottom row on, so no unpainted strip shows.
    const int painted =
        units::twipsToPixels(kClientHeightTwips, platform().screenMetrics().dotsPerInch);
    if (height() > painted) {
        painter.drawImage(QRect(0, painted, width(), height() - painted), background_->image(),
                          QRect(0, painted - 1, width(), 1));
    }
    // Shape1: a one-pixel frame in the window-text colour over the background.
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frameRect().adjusted(0, 0, -1, -1));
}

}  // namespace kwiklet
