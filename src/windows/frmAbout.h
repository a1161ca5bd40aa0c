#pragma once

// The About window: the product's name, version, copyright and thanks on a gradient of
// its own. First at start-up, modally, where Continue goes on to the main window and Esc
// ends the program; later from the menu. One instance at most.

#include "appearance/BackImage.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace kwiklet {

class frmAbout : public QWidget {
    Q_OBJECT
public:
    QLabel* lblTitle = nullptr;
    QLabel* LbCopyright = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QPushButton* cmdContinue = nullptr;

    // Paints the window from the shared skin state and sets it up as shown.
    void Form_Load();
    // Unloads the window and goes on to the main window.
    void cmdContinue_Click();
    // Esc ends the program at once, once beforeEnd has run.
    void Form_KeyPress(int key);

    BackImage& background() { return *background_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    frmAbout(std::function<void()> onContinue, std::function<void()> beforeEnd);
    friend frmAbout& ShowAboutWindow(bool, std::function<void()>, std::function<void()>);

    std::function<void()> onContinue_;
    std::function<void()> beforeEnd_;
    int heightTwips_;
    std::optional<BackImage> background_;
};

// Shows the About window, loading it first if it is not loaded (an open one only comes
// to the front). Modal at start-up, where nothing else is open yet. onContinue runs once
// Continue has unloaded it: it loads the main window, or shows it again. beforeEnd runs
// when Esc is about to end the program: it closes what must not be left open.
frmAbout& ShowAboutWindow(bool modal, std::function<void()> onContinue,
                          std::function<void()> beforeEnd = {});
bool IsAboutWindowLoaded();

}  // namespace kwiklet
