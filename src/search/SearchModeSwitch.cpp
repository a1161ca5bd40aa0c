#include "search/SearchModeSwitch.h"

#include "common/ErrorTrap.h"
#include "search/SearchEngines.h"
#include "search/SearchState.h"
#include "store/IndexStore.h"
#include "store/ResultLists.h"
#include "windows/frmWait.h"

#include <QLineEdit>

namespace kwiklet {
namespace {

void enterWebMode(SearchModeWindow& window) {
    SearchState& state = window.searchState();
    ResultLists& lists = window.lists();
    window.setModeCaption(QStringLiteral("Local Files"));
    window.setModeButtonsEnabled(false);
    state.AutoCompleteOn = false;
    state.WebMode = true;
    lists.clear();
    for (const SearchEngine& engine : SearchEngineTable) {
        lists.append(QString::fromLatin1(engine.caption), QString::fromLatin1(engine.home));
    }
    lists.publishPendingRows();
    state.EngineIndex = 0;
    QLineEdit& searchBox = window.searchBox();
    searchBox.setText(enginePrompt(lists.name(state.EngineIndex)));
    searchBox.selectAll();
    searchBox.setFocus();
    window.pathBox().setText(lists.path(state.EngineIndex));
    state.AutoCompleteOn = true;
    window.setModeButtonsEnabled(true);
}

void returnToLocalMode(SearchModeWindow& window) {
    window.setModeCaption(QStringLiteral("Search"));
    window.setModeButtonsEnabled(false);
    window.searchState().WebMode = false;
    // An index that cannot be read ends the reload in the error box, with the wait
    // window gone and the buttons usable again.
    trapErrors(
        [&window] {
            WaitWindow().showModeless();
            IndexRows rows = window.index().allEntries();
            // Emptying a box that held text lists the whole index at once through the
            // search; the fill then adds nothing.
            ResultLists::Query query = window.lists().beginQuery();
            ListWholeIndex(window, query, rows, LoadingCaption::Show, [&window] {
                window.searchBox().setText(QString());
                window.pathBox().setText(QString());
            });
            rows.close();
            FinishWaitWindow(kListedPauseMs);
        },
        [] { UnloadWaitWindow(); });
    window.setModeButtonsEnabled(true);
}

}  // namespace

void SwitchSearchMode(SearchModeWindow& window) {
    if (window.searchState().WebMode) {
        returnToLocalMode(window);
    } else {
        enterWebMode(window);
    }
}

}  // namespace kwiklet
