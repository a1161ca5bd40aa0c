#pragma once

// The window that chooses the hotkey: its box records the next combination pressed,
// Backspace empties it (no hotkey), Esc cancels, and OK hands on what the box shows.
// One instance at most.

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kwiklet {

class frmHotkey : public QDialog {
    Q_OBJECT
public:
    QLineEdit* txtKeys = nullptr;  // the combination's text; empty: none
    QLabel* lblProblem = nullptr;  // why the last combination pressed was not taken
    QPushButton* cmdOK = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmHotkey(QWidget& owner, const QString& current, std::function<void(const QString&)> onOK);
    friend frmHotkey& ShowHotkeyWindow(QWidget&, const QString&,
                                       std::function<void(const QString&)>);
};

// Shows the window over its owner with the current combination's text in the box; OK
// runs onOK with the box's text.
frmHotkey& ShowHotkeyWindow(QWidget& owner, const QString& current,
                            std::function<void(const QString&)> onOK);

}  // namespace kwiklet
