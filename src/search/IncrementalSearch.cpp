#include "search/IncrementalSearch.h"

#include "common/ErrorTrap.h"
#include "search/Blanks.h"
#include "search/SearchEngines.h"
#include "store/FillResultLists.h"
#include "store/IndexDatabase.h"
#include "store/ResultLists.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>

#include <algorithm>

namespace kwiklet {
namespace {

// Runs a step that uses the index store. When the store has been closed, it is opened
// again and the step tried once more; any other error, or a failed reopening, passes to
// the handler's trap.
void retryAfterReopening(IndexDatabase& database, const std::function<void()>& step) {
    try {
        step();
    } catch (const AppError& error) {
        IndexStore* store = database.IndexDb.get();
        if (error.number() != err::kInvalidConnection || !store || store->isOpen()) {
            throw;
        }
        if (catchError([store] { store->open(); })) {
            throw error;
        }
        step();
    }
}

}  // namespace

IncrementalSearch::IncrementalSearch(QLineEdit& text1, QLineEdit& text2, QListView& list1,
                                     ResultLists& lists, IndexDatabase& database,
                                     SearchState& state)
    : Text1(text1), Text2(text2), List1(list1), lists_(lists), database_(database), state_(state) {}

void IncrementalSearch::Text1_Change() {
    trapErrors([this] { searchForText(); });
}

void IncrementalSearch::searchForText() {
    if (!Text1.text().isEmpty() && !state_.AutoCompleteOn) {
        return;
    }
    // In web mode the box holds search words; while a walk stages its results in the
    // lists, they are not the search's to change.
    ResultLists::Query query = lists_.beginQuery();
    if (state_.WebMode || !query.isCurrent()) {
        return;
    }
    Text2.setText(QString());

    IndexRows rows;
    retryAfterReopening(database_, [&] { rows = database_.store().allEntries(); });
    lists_.clear();
    if (isBlank(Text1.text())) {
        FillResultLists(rows, query, true);
        return;
    }
    rows.close();
    retryAfterReopening(database_, [&] { rows = database_.store().entriesMatching(Text1.text()); });
    if (rows.atEnd()) {
        return;
    }
    // A key typed while the fill yielded started a newer search, which has filled the
    // lists and completed the box by itself; a closed window wants nothing more.
    if (FillResultLists(rows, query, true) == FillOutcome::Interrupted) {
        return;
    }
    rows.close();
    // Rows without a name are not listed, so rows can match while nothing is listed.
    if (lists_.count() == 0) {
        return;
    }

    state_.AutoCompleteOn = false;
    const QString typed = Text1.text();
    Text1.setText(lists_.name(0));
    // The untyped rest is selected. Wildcards can make the typed text longer than the
    // name it completes to; the caret then simply stands at the end.
    const auto length = static_cast<int>(Text1.text().size());
    const int start = std::min(static_cast<int>(typed.size()), length);
    Text1.setSelection(start, length - start);
    Text2.setText(lists_.path(0));
    state_.AutoCompleteOn = true;
}

void IncrementalSearch::Text1_GotFocus() {
    Text1.setSelection(0, static_cast<int>(Text1.text().size()));
}

void IncrementalSearch::List1_Click() {
    const QModelIndexList selected = List1.selectionModel()->selectedIndexes();
    // Choosing an item fills the boxes from the lists, as a query of them: not while a
    // walk holds them.
    if (selected.isEmpty() || !lists_.beginQuery().isCurrent()) {
        return;
    }
    const int position = selected.first().row();
    state_.AutoCompleteOn = false;
    if (!state_.WebMode) {
        Text1.setText(lists_.name(position));
        Text2.setText(lists_.path(position));
    } else {
        state_.EngineIndex = position;
        Text1.setText(enginePrompt(lists_.name(position)));
        Text1.setSelection(0, static_cast<int>(Text1.text().size()));
        Text1.setFocus();
        Text2.setText(lists_.path(position));
    }
    state_.AutoCompleteOn = true;
}

}  // namespace kwiklet
