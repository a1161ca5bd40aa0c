#include "search/IncrementalSearch.h"

#include "common/ErrorTrap.h"
#include "search/Blanks.h"
#include "search/ChosenEntry.h"
#include "search/SearchEngines.h"
#include "store/FillResultList.h"
#include "store/IndexHolder.h"
#include "store/ResultList.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>

#include <algorithm>

namespace kwiklet {
namespace {

// Runs a step that uses the index store. When the store has been closed, it is opened
// again and the step tried once more; any other error, or a failed reopening, passes to
// the handler's trap.
void retryAfterReopening(IndexHolder& database, const std::function<void()>& step) {
    try {
        step();
    } catch (const AppError& error) {
        IndexStore* store = database.store.get();
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

IncrementalSearch::IncrementalSearch(QLineEdit& searchBox, ChosenEntry& chosen,
                                     QListView& resultView, ResultList& results,
                                     IndexHolder& database, SearchState& state)
    : searchBox_(searchBox),
      chosen_(chosen),
      resultView_(resultView),
      results_(results),
      database_(database),
      state_(state) {}

void IncrementalSearch::onTextChanged() {
    trapErrors([this] { searchForText(); });
}

void IncrementalSearch::searchForText() {
    if (!searchBox_.text().isEmpty() && !state_.completing) {
        return;
    }
    // In web mode the box holds search words; while a walk stages its results in the
    // lists, they are not the search's to change.
    ResultList::Query query = results_.beginQuery();
    if (state_.webMode || !query.isCurrent()) {
        return;
    }
    chosen_.clear();

    IndexRows rows;
    retryAfterReopening(database_, [&] { rows = database_.required().allEntries(); });
    results_.clear();
    if (isBlank(searchBox_.text())) {
        fillResultList(rows, query, true);
        return;
    }
    rows.close();
    retryAfterReopening(database_, [&] { rows = database_.required().entriesMatching(searchBox_.text()); });
    if (rows.atEnd()) {
        return;
    }
    // A key typed while the fill yielded started a newer search, which has filled the
    // lists and completed the box by itself; a closed window wants nothing more.
    if (fillResultList(rows, query, true) == FillOutcome::Interrupted) {
        return;
    }
    rows.close();
    // Rows without a name are not listed, so rows can match while nothing is listed.
    if (results_.count() > 0) {
        completeFirstMatch(searchBox_.text());
    }
}

void IncrementalSearch::completeFirstMatch(const QString& typed) {
    state_.completing = false;
    searchBox_.setText(results_.name(0));
    // The untyped rest is selected. Wildcards can make the typed text longer than the
    // name it completes to; the caret then simply stands at the end.
    const auto length = static_cast<int>(searchBox_.text().size());
    const int start = std::min(static_cast<int>(typed.size()), length);
    searchBox_.setSelection(start, length - start);
    chosen_.setPath(results_.path(0));
    state_.completing = true;
}

void IncrementalSearch::onSearchBoxEntered() {
    searchBox_.setSelection(0, static_cast<int>(searchBox_.text().size()));
}

void IncrementalSearch::onEntryChosen() {
    const QModelIndexList selected = resultView_.selectionModel()->selectedIndexes();
    // Choosing an item fills the box from the list, as a query of it: not while a walk
    // holds it.
    if (selected.isEmpty() || !results_.beginQuery().isCurrent()) {
        return;
    }
    const int position = selected.first().row();
    state_.completing = false;
    if (!state_.webMode) {
        searchBox_.setText(results_.name(position));
    } else {
        state_.engine = position;
        searchBox_.setText(enginePrompt(results_.name(position)));
        searchBox_.setSelection(0, static_cast<int>(searchBox_.text().size()));
        searchBox_.setFocus();
    }
    chosen_.setPath(results_.path(position));
    state_.completing = true;
}

}  // namespace kwiklet
