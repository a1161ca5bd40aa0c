#pragma once

// The window that chooses the hotkey: its box records the next combination pressed,
// Backspace empties it (no hotkey), Esc cancels, and OK hands on what the box shows.
// One instance at most.

#include <QDialog>

#include <functional>
#include <optional>

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
    using OnClose = std::function<void(const std::optional<QString>&)>;
    frmHotkey(QWidget& owner, const QString& current, OnClose onClose);
    friend frmHotkey& ShowHotkeyWindow(QWidget&, const QString&, OnClose);
};

// Shows the window over its owner with the current combination's text in the box.
// onClose runs as it closes: with the box's text after OK, with nothing when cancelled.
frmHotkey& ShowHotkeyWindow(QWidget& owner, const QString& current, frmHotkey::OnClose onClose);

}  // namespace kwiklet
