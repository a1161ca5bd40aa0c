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

class HotkeyDialog : public QDialog {
    Q_OBJECT
public:
    // The combination's text; empty: none.
    QLineEdit& keysBox() { return *keysBox_; }
    // Why the last combination pressed was not taken.
    const QLabel& problem() const { return *problem_; }
    QPushButton& okButton() { return *okButton_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using OnClose = std::function<void(const std::optional<QString>&)>;
    HotkeyDialog(QWidget& owner, const QString& current, OnClose onClose);
    friend HotkeyDialog& showHotkeyDialog(QWidget&, const QString&, OnClose);
    void recordCombination(Qt::KeyboardModifiers modifiers, int key);

    QLineEdit* keysBox_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// Shows the window over its owner with the current combination's text in the box.
// onClose runs as it closes: with the box's text after OK, with nothing when cancelled.
HotkeyDialog& showHotkeyDialog(QWidget& owner, const QString& current, HotkeyDialog::OnClose onClose);

}  // namespace kwiklet
