#include "windows/frmHotkey.h"

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

QPointer<frmHotkey>& instance() {
    static QPointer<frmHotkey> window;
    return window;
}

bool isModifierKey(int key) {
    return key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Shift ||
           key == Qt::Key_Meta || key == Qt::Key_Super_L || key == Qt::Key_Super_R ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock;
}

}  // namespace

frmHotkey::frmHotkey(QWidget& owner, const QString& current, OnClose onClose) : QDialog(&owner) {
    setObjectName(QStringLiteral("frmHotkey"));
    setWindowTitle(QStringLiteral("Hotkey"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(
        new QLabel(QStringLiteral("Press the keys that call Kwiklet up from any program.\n"
                                  "Backspace: no hotkey. Esc: cancel."),
                   this));
    txtKeys = new QLineEdit(current, this);
    txtKeys->setReadOnly(true);
    txtKeys->setPlaceholderText(QStringLiteral("None"));
    txtKeys->installEventFilter(this);
    layout->addWidget(txtKeys);
    lblProblem = new QLabel(this);
    layout->addWidget(lblProblem);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    cmdOK = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, [this, onClose = std::move(onClose)](int result) {
        if (onClose) {
            onClose(result == Accepted ? std::optional(txtKeys->text()) : std::nullopt);
        }
    });
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
    platform().keepWindowSize(*this);
}

bool frmHotkey::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtKeys || event->type() != QEvent::KeyPress) {
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
        txtKeys->clear();
        lblProblem->clear();
        return true;
    }
    const ReadKeyCombination read = checkKeyCombination({modifiers, static_cast<Qt::Key>(key)});
    if (read.keys) {
        txtKeys->setText(keyCombinationText(*read.keys));
        lblProblem->clear();
    } else {
        lblProblem->setText(read.problem);
    }
    return true;
}

frmHotkey& ShowHotkeyWindow(QWidget& owner, const QString& current, frmHotkey::OnClose onClose) {
    return showSingleWindow(instance(),
                            [&] { return new frmHotkey(owner, current, std::move(onClose)); });
}

}  // namespace kwiklet
