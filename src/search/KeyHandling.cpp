#include "search/KeyHandling.h"

#include "search/Blanks.h"
#include "search/Launching.h"
#include "search/SearchEngines.h"
#include "store/ResultLists.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>

namespace kwiklet {

std::optional<int> keyCodeOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Backspace:
            return kKeyBackspace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return std::nullopt;
        default:
            break;
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text[0].unicode();
}

KeyHandling::KeyHandling(QLineEdit& text1, QLineEdit& text2, QListView& list1, ResultLists& lists,
                         SearchState& state)
    : Text1(text1), Text2(text2), List1(list1), lists_(lists), state_(state) {}

bool KeyHandling::Text1_KeyPress(int key) {
    const QString text = Text1.text();
    bool opened = false;
    if (key == kKeyEnter) {
        if (state_.WebMode) {
            const int engine = state_.EngineIndex;
            if (!withoutOuterBlanks(Text2.text()).isEmpty() && engine >= 0 &&
                engine < static_cast<int>(SearchEngineTable.size())) {
                OpenWithShell(
                    SearchEngineTable[static_cast<std::size_t>(engine)].searchPrefix() + text,
                    QString());
                opened = true;
            }
        } else if (!withoutOuterBlanks(text).isEmpty() ||
                   !withoutOuterBlanks(Text2.text()).isEmpty()) {
            // The address tests look at the text as typed: a leading blank defeats them.
            if (text.left(7).toUpper() == QLatin1String("HTTP://") ||
                text.left(4).toUpper() == QLatin1String("WWW.")) {
                OpenWithShell(text, QString());
                opened = true;
            } else if (LaunchOfficeProgram(text)) {
                opened = true;
            } else if (!withoutOuterBlanks(Text2.text()).isEmpty()) {
                OpenWithShell(Text2.text(), QString());
                opened = true;
            }
        }
    }

    // A first Backspace over a longer text switches completion off, so that deleting
    // the selected completion does not bring it back; the next Backspace switches it on
    // again. Any other key switches it on.
    if (text.size() > 1 && state_.LastKeyBackspace != kKeyBackspace && key == kKeyBackspace) {
        state_.LastKeyBackspace = kKeyBackspace;
        state_.AutoCompleteOn = false;
    } else {
        if (key == kKeyBackspace && state_.LastKeyBackspace == kKeyBackspace) {
            state_.LastKeyBackspace = 0;
        }
        state_.AutoCompleteOn = true;
    }
    return opened;
}

bool KeyHandling::List1_KeyPress(int key) {
    return key == kKeyEnter && selectedPosition() && List1_DblClick();
}

bool KeyHandling::List1_DblClick() {
    if (LaunchOfficeProgram(Text1.text())) {
        return true;
    }
    if (const std::optional<int> position = selectedPosition()) {
        OpenWithShell(lists_.path(*position), QString());
        return true;
    }
    return false;
}

std::optional<int> KeyHandling::selectedPosition() const {
    const QModelIndexList selected = List1.selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return selected.first().row();
}

}  // namespace kwiklet
