#pragma once

// Filtering as the user types: every change of the search box re-queries the index for
// the names that begin with the text, refills the result lists and completes the box
// with the first match, the untyped rest selected.

#include "search/SearchState.h"

class QLineEdit;
class QListView;

namespace kwiklet {

struct IndexDatabase;
class ResultLists;

class IncrementalSearch {
public:
    IncrementalSearch(QLineEdit& Text1, QLineEdit& Text2, QListView& List1, ResultLists& lists,
                      IndexDatabase& database, SearchState& state);

    // After every change of the search box's text, the program's own changes included.
    void Text1_Change();
    // When the search box receives the focus.
    void Text1_GotFocus();
    // When List1's selected item changes.
    void List1_Click();

private:
    void searchForText();

    QLineEdit& Text1;
    QLineEdit& Text2;
    QListView& List1;
    ResultLists& lists_;
    IndexDatabase& database_;
    SearchState& state_;
};

}  // namespace kwiklet
