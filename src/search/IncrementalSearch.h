#pragma once

// Filtering as the user types: every change of the search box re-queries the index for
// the names that begin with the text, refills the result list and completes the box
// with the first match, the untyped rest selected.

#include "search/SearchState.h"

class QLineEdit;
class QListView;
class QString;

namespace kwiklet {

class ChosenEntry;
struct IndexHolder;
class ResultList;

class IncrementalSearch {
public:
    IncrementalSearch(QLineEdit& searchBox, ChosenEntry& chosen, QListView& resultView,
                      ResultList& results, IndexHolder& database, SearchState& state);

    // After every change of the search box's text, the program's own changes included.
    void onTextChanged();
    // When the user moves into the search box: its whole text is selected.
    void onSearchBoxEntered();
    // When the entry chosen in the list changes.
    void onEntryChosen();

private:
    void searchForText();
    void completeFirstMatch(const QString& typed);

    QLineEdit& searchBox_;
    ChosenEntry& chosen_;
    QListView& resultView_;
    ResultList& results_;
    IndexHolder& database_;
    SearchState& state_;
};

}  // namespace kwiklet
