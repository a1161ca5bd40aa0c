#pragma once

// The small always-on-top window that tells the user what a long operation is doing. Its
// bar only shows that the program is alive: it moves one step at every tick of its
// timer, and ticks come only while the operation gives the message loop a turn. One
// instance at most: it is loaded on first use and destroyed when unloaded, so every use
// starts with an empty bar.

#include "appearance/PaintedBackground.h"

#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;
class QTimer;

namespace kwiklet {

class WaitWindow : public QWidget {
    Q_OBJECT
public:
    // Shows the window, centred on the screen, without blocking.
    void showModeless();
    // Tells the user what is being done; the label fits itself to the text, keeping the
    // same margin on both sides.
    void setStage(const QString& text);
    // Sets the bar full, as callers do before their final pause.
    void fillBar();

    // One tick: the bar moves one step, starting again after the end, and the message
    // loop gets a turn.
    void tick();

    PaintedBackground& background() { return *background_; }
    const QLabel& caption() const { return *caption_; }
    const QProgressBar& bar() const { return *bar_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    WaitWindow();
    void showCaption(const QString& text);
    friend WaitWindow& waitWindow();
    friend void closeWaitWindow();

    QLabel* caption_ = nullptr;     // what is being done
    QProgressBar* bar_ = nullptr;   // 0 to 100, empty when the window opens
    QTimer* ticker_ = nullptr;      // every 10 ms
    std::optional<PaintedBackground> background_;
};

// The wait window, loading it if it is not loaded.
WaitWindow& waitWindow();
bool isWaitWindowOpen();
// Closes the window; the next use opens a new one.
void closeWaitWindow();
// Ends a long operation: the bar full, a pause for the user to see it, the window gone.
void finishWaitWindow(int pauseMs);

}  // namespace kwiklet
