// What a title bar would give the borderless main window: dragging it by its surface
// (the title labels included), the pop-up menu on a right click there, rolling it up to
// its title strip, and the frame that is its visible edge.

#include "app/GlyphLabel.h"
#include "app/MainWindow.h"

#include "common/TwipLayout.h"
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
bool MainWindow::isSurfaceOrTitle(QPoint windowPoint) const {
    const QWidget* under = childAt(windowPoint);
    return under == nullptr || under == countLabel_ || under == titleLabel_;
}

// A press decides whether the moves that follow may drag: a control pressed keeps the
// pointer, but hands on the moves it does not take (a glyph, a disabled button), and
// those may lead over the surface before the button comes up. Presses on the controls
// reach the window's event filter first, which disarms the drag.
void MainWindow::mousePressEvent(QMouseEvent* event) {
    const bool onSurface = isSurfaceOrTitle(event->position().toPoint());
    dragArmed_ = onSurface && event->button() == Qt::LeftButton;
    if (!onSurface) {
        return;
    }
    grabbedAt_ = event->globalPosition().toPoint();
    if (event->buttons() == Qt::RightButton) {
        menu_->popup(grabbedAt_);
    }
}

// A drag with the left button alone moves the window and saves where it ends.
void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!dragArmed_ || event->buttons() != Qt::LeftButton) {
        return;
    }
    dragArmed_ = false;  // the drag below lasts until the button comes up
    platform().dragWindow(*this, grabbedAt_);
    // Saved at the end of every drag, whether or not the window moved.
    savePosition();
}

void MainWindow::mouseReleaseEvent(QMouseEvent*) {
    dragArmed_ = false;
}

void MainWindow::onEscape() {
    keepsRunning() ? hideWhenKeptRunning() : runMenuCommand(MenuCommand::Exit);
}

bool MainWindow::keepsRunning() const {
    return menuAction(MenuCommand::KeepRunning).isChecked();
}

void MainWindow::hideWhenKeptRunning() {
    if (keepsRunning()) {
        savePosition();
        // After the key that asked for it is through: the box still takes an Enter.
        QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    }
}

void MainWindow::toggleRolledUp() {
    // The painted background stays as it is: rolled up, only its top shows.
    rolledUp_ = !rolledUp_;
    heightTwips_ = rolledUp_ ? kTitleStripTwips : kRolledDownTwips;
    setFixedHeight(pixelsFromTwips(heightTwips_));
    rollGlyph_->setGlyph(rolledUp_ ? Glyph::DownTriangle : Glyph::UpTriangle);
    rollGlyph_->setAccessibleName(rolledUp_ ? QStringLiteral("Roll Down")
                                            : QStringLiteral("Roll Up"));
}

void MainWindow::savePosition() {
    const double dpi = platform().screenMetrics().dotsPerInch;
    settings::write(settings::kTop, QString::number(units::pixelsToTwips(y(), dpi)));
    settings::write(settings::kLeft, QString::number(units::pixelsToTwips(x(), dpi)));
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    background_->draw(painter);
    // Rolled down, the window is a little taller than its background was painted for:
    // the rows below carry the painted bottom row on, so no unpainted strip shows.
    const int painted = pixelsFromTwips(kClientHeightTwips);
    if (height() > painted) {
        painter.drawImage(QRect(0, painted, width(), height() - painted), background_->image(),
                          QRect(0, painted - 1, width(), 1));
    }
    // A one-pixel frame in the window-text colour over the background.
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frameRect().adjusted(0, 0, -1, -1));
}

}  // namespace kwiklet
