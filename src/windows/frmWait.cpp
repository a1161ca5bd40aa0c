#include "windows/frmWait.h"

#include "appearance/Skin.h"
#include "appearance/TopMost.h"
#include "common/MessageLoop.h"
#include "common/TwipLayout.h"
#include "platform/Platform.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

namespace kwiklet {
namespace {

constexpr int kTickMs = 10;
// The caption's left edge; its right edge keeps the same distance from the window's.
constexpr int kCaptionMarginTwips = 240;
// How far a caption too wide for the window may shrink before it is elided instead.
constexpr double kSmallestCaptionPoints = 6;

QPointer<frmWait>& instance() {
    static QPointer<frmWait> window;
    return window;
}

}  // namespace

frmWait::frmWait() {
    setObjectName(QStringLiteral("frmWait"));
    // The stored title; the window has no title bar to show it.
    setWindowTitle(QStringLiteral("Form2"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setFixedSize(pixelsFromTwips(4635), pixelsFromTwips(1260));

    lbl = new QLabel(this);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->move(pixelsFromTwips(kCaptionMarginTwips), pixelsFromTwips(kCaptionMarginTwips));
    lbl->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    pb1 = new QProgressBar(this);
    pb1->setObjectName(QStringLiteral("pb1"));
    placeInTwips(*pb1, 240, 600, 4215, 255);
    pb1->setRange(0, 100);
    pb1->setValue(0);
    pb1->setTextVisible(false);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kTickMs);
    connect(Timer1, &QTimer::timeout, this, &frmWait::Timer1_Timer);
    Timer1->start();

    background_.emplace(*this, size(), palette().color(QPalette::Window));
    SetTopMost(*this, true);
    ApplySkin(*background_);
}

void frmWait::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    background_->draw(painter);
}

void frmWait::showModeless() {
    const QSize screen = platform().screenMetrics().pixels;
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
    show();
}

void frmWait::setStage(const QString& text) {
    // A rebuild sets the same caption for every row it stores.
    if (text != lbl->text()) {
        showCaption(text);
    }
}

// A caption wider than the room between the margins is set in a smaller size of the
// same face rather than running up to the window's edge; one that would need a size
// below the smallest readable one is elided.
void frmWait::showCaption(const QString& text) {
    const int room = width() - 2 * pixelsFromTwips(kCaptionMarginTwips);
    QFont font = this->font();
    while (QFontMetrics(font).horizontalAdvance(text) > room &&
           font.pointSizeF() - 0.5 >= kSmallestCaptionPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    lbl->setFont(font);
    lbl->setText(QFontMetrics(font).elidedText(text, Qt::ElideRight, room));
    lbl->adjustSize();
}

void frmWait::fillBar() {
    if (pb1->value() != pb1->maximum()) {
        pb1->setValue(pb1->maximum());
    }
}

void frmWait::Timer1_Timer() {
    if (pb1->value() == pb1->maximum()) {
        pb1->setValue(pb1->minimum());
    }
    pb1->setValue(pb1->value() + 1);
    messageloop::yieldNow();
}

frmWait& WaitWindow() {
    auto& window = instance();
    if (window.isNull()) {
        window = new frmWait();
    }
    return *window;
}

bool IsWaitWindowLoaded() {
    return !instance().isNull();
}

void UnloadWaitWindow() {
    frmWait* window = instance().data();
    if (window == nullptr) {
        return;
    }
    instance() = nullptr;
    window->Timer1->stop();
    window->hide();
    // Deleted once its own timer tick, which may be what yields to the caller, is over.
    window->deleteLater();
}

void FinishWaitWindow(int pauseMs) {
    WaitWindow().fillBar();
    platform().sleep(pauseMs);
    UnloadWaitWindow();
}

}  // namespace kwiklet
