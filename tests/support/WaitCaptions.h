#pragma once

// The wait window's captions as the user sees them. The caption is read whenever the
// program gives the message loop a turn, which is when the window can be repainted: a
// caption replaced before that never reaches the screen. Tests that want to see every
// caption that shows make the program yield at every chance
// (messageloop::setYieldInterval(0)).

#include "windows/frmWait.h"

#include <QLabel>
#include <QTimer>

#include <functional>
#include <utility>

namespace kwiklet::test {

class WaitCaptionWatch {
public:
    // Calls back with each caption that differs from the one the window showed last.
    explicit WaitCaptionWatch(std::function<void(const QString&)> shown)
        : shown_(std::move(shown)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start(0);
    }

private:
    void look() {
        const QString caption = IsWaitWindowLoaded() ? WaitWindow().lbl->text() : QString();
        if (caption != last_) {
            last_ = caption;
            if (!caption.isEmpty()) {
                shown_(caption);
            }
        }
    }

    std::function<void(const QString&)> shown_;
    QTimer timer_;
    QString last_;
};

}  // namespace kwiklet::test
