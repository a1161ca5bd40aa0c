#include "windows/frmWait.h"

#include "appearance/Skin.h"
#include "appearance/TopMost.h"
#include "common/Units.h"
#include "platform/Platform.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>

namespace kwiklet {
namespace {

QPointer<frmWait>& instance() {
    static QPointer<frmWait> window;
    return window;
}

}  // namespace

frmWait::frmWait() {
    setObjectName(QStringLiteral("frmWait"));
    setWindowTitle(QStringLiteral("Kwiklet"));
    setWindowFlag(Qt::Tool);
    const double dpi = platform().screenMetrics().dotsPerInch;
    auto px = [dpi](double twips) { return units::twipsToPixels(twips, dpi); };
    setFixedSize(px(4635), px(1260));

    lbl = new QLabel(this);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->move(px(240), px(240));
    lbl->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    pb1 = new QProgressBar(this);
    pb1->setObjectName(QStringLiteral("pb1"));
    pb1->setGeometry(px(240), px(600), px(4215), px(255));
    pb1->setRange(0, 100);
    pb1->setValue(0);
    pb1->setTextVisible(false);

    SetTopMost(*this, true);
    ApplySkin(*this);
}

void frmWait::showModeless() {
    const QSize screen = platform().screenMetrics().pixels;
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
    show();
}

void frmWait::setStage(const QString& text) {
    lbl->setText(text);
    lbl->adjustSize();
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
    delete instance().data();
}

}  // namespace kwiklet
