#include "windows/frmWait.h"

#include "appearance/Skin.h"
#include "appearance/TopMost.h"
#include "common/MessageLoop.h"
#include "common/TwipLayout.h"
#include "platform/Platform.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

namespace kwiklet {
namespace {

constexpr int kTickMs = 10;

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
    lbl->move(pixelsFromTwips(240), pixelsFromTwips(240));
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
    Q_EMIT waitWindowCaptions().captionSet(text);
    // A rebuild sets the same caption for every row it stores.
    if (text != lbl->text()) {
        lbl->setText(text);
        lbl->adjustSize();
    }
}

WaitWindowCaptions& waitWindowCaptions() {
    static WaitWindowCaptions captions;
    return captions;
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

}  // namespace kwiklet
