#pragma once

// The confirming gestures of the main window: Enter in the search box or the list and a
// double-click in the list open the chosen entry, a typed address, an office program or
// a web search. The search box's key handler also keeps the completion flags, so that a
// Backspace after a completion takes the completed rest away for good.

#include "search/SearchState.h"

#include <Qt>

#include <optional>

class QLineEdit;
class QListView;
class QKeyEvent;

namespace kwiklet {

class ChosenEntry;
class ResultList;

// The key a press gives the handlers: Return for either Enter key, Backspace, or the key
// of any other press that types a character; nothing for a press that types none
// (arrows, Shift, Tab between controls).
std::optional<Qt::Key> handledKey(const QKeyEvent& event);

class KeyHandling {
public:
    KeyHandling(QLineEdit& searchBox, const ChosenEntry& chosen, QListView& resultView,
                ResultList& results, SearchState& state);

    // A key pressed in the search box, before it changes the box's text. The key goes
    // on to the box afterwards, Enter included. Each handler returns whether it opened
    // something (or tried to: what cannot be opened is passed over silently).
    bool onSearchBoxKey(Qt::Key key);
    // A key pressed in the list.
    bool onResultKey(Qt::Key key);
    // A double-click in the list.
    bool onResultActivated();

private:
    bool openFromSearchBox();
    void keepCompletionFlags(Qt::Key key, const QString& text);
    std::optional<int> selectedPosition() const;

    QLineEdit& searchBox_;
    const ChosenEntry& chosen_;
    QListView& resultView_;
    ResultList& results_;
    SearchState& state_;
};

}  // namespace kwiklet
