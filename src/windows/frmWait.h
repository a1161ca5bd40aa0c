#pragma once

// The small always-on-top window that tells the user what a long operation is doing.
// One instance at most: it is loaded on first use and destroyed when unloaded, so every
// use starts with an empty bar.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace kwiklet {

class frmWait : public QWidget {
    Q_OBJECT
public:
    QLabel* lbl = nullptr;        // what is being done
    QProgressBar* pb1 = nullptr;  // Min 0, Max 100

    // Shows the window, centred on the screen, without blocking.
    void showModeless();
    // Tells the user what is being done; the label fits itself to the text.
    void setStage(const QString& text);

private:
    frmWait();
    friend frmWait& WaitWindow();
};

// The wait window, loading it if it is not loaded.
frmWait& WaitWindow();
bool IsWaitWindowLoaded();
void UnloadWaitWindow();

}  // namespace kwiklet
