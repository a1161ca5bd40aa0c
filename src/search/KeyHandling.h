#pragma once

// The confirming gestures of the main window: Enter in the search box or the list and a
// double-click in the list open the chosen entry, a typed address, an office program or
// a web search. The search box's key handler also keeps the completion flags, so that a
// Backspace after a completion takes the completed rest away for good.

#include "search/SearchState.h"

#include <optional>

class QLineEdit;
class QListView;
class QKeyEvent;

namespace kwiklet {

class ResultLists;

inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEnter = 13;

// The character code a key press gives the handlers, or nothing for a key that types
// no character (arrows, Shift, Tab between controls).
std::optional<int> keyCodeOf(const QKeyEvent& event);

class KeyHandling {
public:
    KeyHandling(QLineEdit& Text1, QLineEdit& Text2, QListView& List1, ResultLists& lists,
                SearchState& state);

    // A key pressed in the search box, before it changes the box's text. The key goes
    // on to the box afterwards, Enter included. Each handler returns whether it opened
    // something (or tried to: what cannot be opened is passed over silently).
    bool Text1_KeyPress(int key);
    // A key pressed in the list.
    bool List1_KeyPress(int key);
    // A double-click in the list.
    bool List1_DblClick();

private:
    std::optional<int> selectedPosition() const;

    QLineEdit& Text1;
    QLineEdit& Text2;
    QListView& List1;
    ResultLists& lists_;
    SearchState& state_;
};

}  // namespace kwiklet
