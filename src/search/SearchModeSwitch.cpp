#include "search/SearchModeSwitch.h"

#include "common/ErrorTrap.h"
#include "search/ChosenEntry.h"
#include "search/SearchEngines.h"
#include "search/SearchState.h"
#include "store/IndexStore.h"
#include "store/ResultList.h"
#include "windows/WaitWindow.h"

#include <QLineEdit>

namespace kwiklet {
namespace {

void enterWebMode(SearchModeWindow& window) {
    SearchState& state = window.searchState();
    ResultList& lists = window.results();
    window.setModeCaption(QStringLiteral("Local Files"));
    window.setModeButtonsEnabled(false);
    state.completing = false;
    state.webMode = true;
    lists.clear();
    for (const SearchEngine& engine : kSearchEngines) {
        lists.append(QString::fromLatin1(engine.caption), QString::fromLatin1(engine.home));
    }
    lists.publishPendingRows();
    state.engine = 0;
    QLineEdit& searchBox = window.searchBox();
    searchBox.setText(enginePrompt(lists.name(state.engine)));
    searchBox.selectAll();
    searchBox.setFocus();
    window.chosenEntry().setPath(lists.path(state.engine));
    state.completing = true;
    window.setModeButtonsEnabled(true);
}

void returnToLocalMode(SearchModeWindow& window) {
    window.setModeCaption(QStringLiteral("Search"));
    window.setModeButtonsEnabled(false);
    window.searchState().webMode = false;
    // An index that cannot be read ends the reload in the error box, with the wait
    // window gone and the buttons usable again.
    trapErrors(
        [&window] {
            waitWindow().showModeless();
            IndexRows rows = window.index().allEntries();
            // Emptying a box that held text lists the whole index at once through the
            // search; the fill then adds nothing.
            ResultList::Query query = window.results().beginQuery();
            listWholeIndex(window, query, rows, LoadingCaption::Show, [&window] {
                window.searchBox().setText(QString());
                window.chosenEntry().clear();
            });
            rows.close();
            finishWaitWindow(kListedPauseMs);
        },
        [] { closeWaitWindow(); });
    window.setModeButtonsEnabled(true);
}

}  // namespace

void switchSearchMode(SearchModeWindow& window) {
    if (window.searchState().webMode) {
        returnToLocalMode(window);
    } else {
        enterWebMode(window);
    }
}

}  // namespace kwiklet
