#pragma once

// The About window: the product's name, version, copyright and thanks on a gradient of
// its own. First at start-up, modally, where Continue goes on to the main window and Esc
// ends the program; later from the menu. One instance at most.

#include "appearance/PaintedBackground.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace kwiklet {

class AboutWindow : public QWidget {
    Q_OBJECT
public:
    // Closes the window and goes on to the main window.
    void continueToMainWindow();
    // Esc ends the program at once, once beforeEnd has run.
    void onEscape();

    PaintedBackground& background() { return *background_; }
    QPushButton& continueButton() { return *continueButton_; }
    const QLabel& thanks() const { return *thanks_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    AboutWindow(std::function<void()> onContinue, std::function<void()> beforeEnd);
    friend AboutWindow& showAboutWindow(bool, std::function<void()>, std::function<void()>);
    void createLabels();
    // Paints the window from the shared skin state and shortens it to its shown height.
    void paintOwnSkin();

    QLabel* thanks_ = nullptr;
    QPushButton* continueButton_ = nullptr;
    std::function<void()> onContinue_;
    std::function<void()> beforeEnd_;
    int heightTwips_;
    std::optional<PaintedBackground> background_;
};

// Shows the About window, opening it first if it is not open (an open one only comes
// to the front). Modal at start-up, where nothing else is open yet. onContinue runs once
// Continue has closed it: it loads the main window, or shows it again. beforeEnd runs
// when Esc is about to end the program: it closes what must not be left open.
AboutWindow& showAboutWindow(bool modal, std::function<void()> onContinue,
                          std::function<void()> beforeEnd = {});
bool isAboutWindowOpen();

}  // namespace kwiklet
