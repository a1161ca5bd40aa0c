#include "windows/WaitWindow.h"

#include "appearance/Skin.h"
#include "appearance/StayOnTop.h"
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

QPointer<WaitWindow>& instance() {
    static QPointer<WaitWindow> window;
    return window;
}

}  // namespace

WaitWindow::WaitWindow() {
    setObjectName(QStringLiteral("waitWindow"));
    // The stored title; the window has no title bar to show it.
    setWindowTitle(QStringLiteral("Form2"));
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setFixedSize(pixelsFromTwips(4635), pixelsFromTwips(1260));

    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->move(pixelsFromTwips(kCaptionMarginTwips), pixelsFromTwips(kCaptionMarginTwips));
    caption_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("bar"));
    placeInTwips(*bar_, 240, 600, 4215, 255);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);

    ticker_ = new QTimer(this);
    ticker_->setInterval(kTickMs);
    connect(ticker_, &QTimer::timeout, this, &WaitWindow::tick);
    ticker_->start();

    background_.emplace(*this, size(), palette().color(QPalette::Window));
    keepOnTop(*this, true);
    applySavedSkin(*background_);
}

void WaitWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    background_->draw(painter);
}

void WaitWindow::showModeless() {
    const QSize screen = platform().screenMetrics().pixels;
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
    show();
}

void WaitWindow::setStage(const QString& text) {
    // A rebuild sets the same caption for every row it stores.
    if (text != caption_->text()) {
        showCaption(text);
    }
}

// A caption wider than the room between the margins is set in a smaller size of the
// same face rather than running up to the window's edge; one that would need a size
// below the smallest readable one is elided.
void WaitWindow::showCaption(const QString& text) {
    const int room = width() - 2 * pixelsFromTwips(kCaptionMarginTwips);
    QFont font = this->font();
    while (QFontMetrics(font).horizontalAdvance(text) > room &&
           font.pointSizeF() - 0.5 >= kSmallestCaptionPoints) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    caption_->setFont(font);
    caption_->setText(QFontMetrics(font).elidedText(text, Qt::ElideRight, room));
    caption_->adjustSize();
}

void WaitWindow::fillBar() {
    if (bar_->value() != bar_->maximum()) {
        bar_->setValue(bar_->maximum());
    }
}

void WaitWindow::tick() {
    if (bar_->value() == bar_->maximum()) {
        bar_->setValue(bar_->minimum());
    }
    bar_->setValue(bar_->value() + 1);
    messageloop::yieldNow();
}

WaitWindow& waitWindow() {
    auto& window = instance();
    if (window.isNull()) {
        window = new WaitWindow();
    }
    return *window;
}

bool isWaitWindowOpen() {
    return !instance().isNull();
}

void closeWaitWindow() {
    WaitWindow* window = instance().data();
    if (window == nullptr) {
        return;
    }
    instance() = nullptr;
    window->ticker_->stop();
    window->hide();
    // Deleted once its own timer tick, which may be what yields to the caller, is over.
    window->deleteLater();
}

void finishWaitWindow(int pauseMs) {
    waitWindow().fillBar();
    platform().sleep(pauseMs);
    closeWaitWindow();
}

}  // namespace kwiklet
