#include "search/KeyHandling.h"

#include "search/Blanks.h"
#include "search/ChosenEntry.h"
#include "search/Launching.h"
#include "search/SearchEngines.h"
#include "store/ResultList.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>

namespace kwiklet {

std::optional<Qt::Key> handledKey(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return Qt::Key_Return;
        case Qt::Key_Backspace:
            return Qt::Key_Backspace;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return std::nullopt;
        default:
            break;
    }
    if (event.text().isEmpty()) {
        return std::nullopt;
    }
    return static_cast<Qt::Key>(event.key());
}

KeyHandling::KeyHandling(QLineEdit& searchBox, const ChosenEntry& chosen, QListView& resultView,
                         ResultList& results, SearchState& state)
    : searchBox_(searchBox),
      chosen_(chosen),
      resultView_(resultView),
      results_(results),
      state_(state) {}

bool KeyHandling::onSearchBoxKey(Qt::Key key) {
    const QString text = searchBox_.text();
    const bool opened = key == Qt::Key_Return && openFromSearchBox();
    keepCompletionFlags(key, text);
    return opened;
}

// Enter in the search box: a web search in web mode; otherwise a typed address, an
// office program named in the text, or the chosen entry, in that order.
bool KeyHandling::openFromSearchBox() {
    const QString text = searchBox_.text();
    const QString& chosen = chosen_.path();
    if (state_.webMode) {
        const int engine = state_.engine;
        if (withoutOuterBlanks(chosen).isEmpty() || engine < 0 ||
            engine >= static_cast<int>(kSearchEngines.size())) {
            return false;
        }
        openWithDesktop(kSearchEngines[static_cast<std::size_t>(engine)].searchPrefix() + text,
                        QString());
        return true;
    }
    if (withoutOuterBlanks(text).isEmpty() && withoutOuterBlanks(chosen).isEmpty()) {
        return false;
    }
    // The address tests look at the text as typed: a leading blank defeats them.
    if (text.left(7).toUpper() == QLatin1String("HTTP://") ||
        text.left(4).toUpper() == QLatin1String("WWW.")) {
        openWithDesktop(text, QString());
        return true;
    }
    if (launchOfficeProgram(text)) {
        return true;
    }
    if (withoutOuterBlanks(chosen).isEmpty()) {
        return false;
    }
    openWithDesktop(chosen, QString());
    return true;
}

// A first Backspace over a longer text switches completion off, so that deleting the
// selected completion does not bring it back; the next Backspace switches it on again.
// Any other key switches it on.
void KeyHandling::keepCompletionFlags(Qt::Key key, const QString& text) {
    if (text.size() > 1 && !state_.lastKeyWasBackspace && key == Qt::Key_Backspace) {
        state_.lastKeyWasBackspace = true;
        state_.completing = false;
        return;
    }
    if (key == Qt::Key_Backspace && state_.lastKeyWasBackspace) {
        state_.lastKeyWasBackspace = false;
    }
    state_.completing = true;
}

bool KeyHandling::onResultKey(Qt::Key key) {
    return key == Qt::Key_Return && selectedPosition() && onResultActivated();
}

bool KeyHandling::onResultActivated() {
    if (launchOfficeProgram(searchBox_.text())) {
        return true;
    }
    if (const std::optional<int> position = selectedPosition()) {
        openWithDesktop(results_.path(*position), QString());
        return true;
    }
    return false;
}

std::optional<int> KeyHandling::selectedPosition() const {
    const QModelIndexList selected = resultView_.selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return selected.first().row();
}

}  // namespace kwiklet
