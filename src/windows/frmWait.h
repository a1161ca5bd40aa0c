#pragma once

// The small always-on-top window that tells the user what a long operation is doing. Its
// bar only shows that the program is alive: it moves one step at every tick of its
// timer, and ticks come only while the operation gives the message loop a turn. One
// instance at most: it is loaded on first use and destroyed when unloaded, so every use
// starts with an empty bar.

#include "appearance/BackImage.h"

#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;
class QTimer;

namespace kwiklet {

class frmWait : public QWidget {
    Q_OBJECT
public:
    QLabel* lbl = nullptr;        // what is being done
    QProgressBar* pb1 = nullptr;  // Min 0, Max 100, Value 0 when loaded
    QTimer* Timer1 = nullptr;     // every 10 ms

    // Shows the window, centred on the screen, without blocking.
    void showModeless();
    // Tells the user what is being done; the label fits itself to the text, keeping the
    // same margin on both sides.
    void setStage(const QString& text);
    // Sets the bar full, as callers do before their final pause.
    void fillBar();

    // One tick: the bar moves one step, starting again after the end, and the message
    // loop gets a turn.
    void Timer1_Timer();

    BackImage& background() { return *background_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    frmWait();
    void showCaption(const QString& text);
    friend frmWait& WaitWindow();

    std::optional<BackImage> background_;
};

// The wait window, loading it if it is not loaded.
frmWait& WaitWindow();
bool IsWaitWindowLoaded();
void UnloadWaitWindow();
// Ends a long operation: the bar full, a pause for the user to see it, the window gone.
void FinishWaitWindow(int pauseMs);

}  // namespace kwiklet
