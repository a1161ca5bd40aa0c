#include "windows/HotkeyDialog.h"

#include "platform/KeyCombination.h"
#include "platform/Platform.h"
#include "windows/SingleWindow.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace kwiklet {
namespace {

QPointer<HotkeyDialog>& instance() {
    static QPointer<HotkeyDialog> window;
    return window;
}

bool isModifierKey(int key) {
    return key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Shift ||
           key == Qt::Key_Meta || key == Qt::Key_Super_L || key == Qt::Key_Super_R ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock;
}

}  // namespace

HotkeyDialog::HotkeyDialog(QWidget& owner, const QString& current, OnClose onClose) : QDialog(&owner) {
    setObjectName(QStringLiteral("hotkeyDialog"));
    setWindowTitle(QStringLiteral("Hotkey"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(
        new QLabel(QStringLiteral("Press the keys that call Kwiklet up from any program.\n"
                                  "Backspace: no hotkey. Esc: cancel."),
                   this));
    keysBox_ = new QLineEdit(current, this);
    keysBox_->setAccessibleName(QStringLiteral("Hotkey"));
    keysBox_->setReadOnly(true);
    keysBox_->setPlaceholderText(QStringLiteral("None"));
    keysBox_->installEventFilter(this);
    layout->addWidget(keysBox_);
    problem_ = new QLabel(this);
    layout->addWidget(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, [this, onClose = std::move(onClose)](int result) {
        if (onClose) {
            onClose(result == Accepted ? std::optional(keysBox_->text()) : std::nullopt);
        }
    });
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
    platform().keepWindowSize(*this);
}

bool HotkeyDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != keysBox_ || event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* press = static_cast<QKeyEvent*>(event);
    const int key = press->key();
    const Qt::KeyboardModifiers modifiers = press->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier &&
        (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter ||
         key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        return false;  // the window's own: cancel, OK, the next control
    }
    if (isModifierKey(key)) {
        return true;  // the combination is not through yet
    }
    if (modifiers == Qt::NoModifier && key == Qt::Key_Backspace) {
        keysBox_->clear();
        problem_->clear();
        return true;
    }
    recordCombination(modifiers, key);
    return true;
}

void HotkeyDialog::recordCombination(Qt::KeyboardModifiers modifiers, int key) {
    const ReadKeyCombination read = checkKeyCombination({modifiers, static_cast<Qt::Key>(key)});
    if (read.keys) {
        keysBox_->setText(keyCombinationText(*read.keys));
        problem_->clear();
    } else {
        problem_->setText(read.problem);
    }
}

HotkeyDialog& showHotkeyDialog(QWidget& owner, const QString& current, HotkeyDialog::OnClose onClose) {
    return showSingleWindow(instance(),
                            [&] { return new HotkeyDialog(owner, current, std::move(onClose)); });
}

}  // namespace kwiklet
