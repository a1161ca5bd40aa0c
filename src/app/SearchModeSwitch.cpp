// The mode button of the main window: from searching the index to searching the web and
// back. Returning to the index lists it whole again behind the wait window.

#include "app/picMain.h"

#include "common/ErrorTrap.h"
#include "platform/Platform.h"
#include "search/SearchEngines.h"
#include "store/FillResultLists.h"
#include "store/IndexDatabase.h"
#include "store/Recordset.h"
#include "windows/frmWait.h"

#include <QLineEdit>
#include <QPushButton>

namespace kwiklet {
namespace {
constexpr int kReloadPauseMs = 500;
}  // namespace

void picMain::cmdSearch_Click() {
    if (search_state_.WebMode) {
        returnToLocalMode();
    } else {
        enterWebMode();
    }
}

void picMain::setModeButtonsEnabled(bool enabled) {
    cmdSearch->setEnabled(enabled);
    cmdUpdate->setEnabled(enabled);
}

void picMain::enterWebMode() {
    cmdSearch->setText(QStringLiteral("Local Files"));
    setModeButtonsEnabled(false);
    search_state_.AutoCompleteOn = false;
    search_state_.WebMode = true;
    lists_.clear();
    for (const SearchEngine& engine : SearchEngineTable) {
        lists_.append(QString::fromLatin1(engine.caption), QString::fromLatin1(engine.home));
    }
    lists_.publishPendingRows();
    search_state_.EngineIndex = 0;
    Text1->setText(enginePrompt(lists_.name(search_state_.EngineIndex)));
    Text1->selectAll();
    Text1->setFocus();
    Text2->setText(lists_.path(search_state_.EngineIndex));
    search_state_.AutoCompleteOn = true;
    setModeButtonsEnabled(true);
}

void picMain::returnToLocalMode() {
    cmdSearch->setText(QStringLiteral("Search"));
    setModeButtonsEnabled(false);
    search_state_.WebMode = false;
    // An index that cannot be read ends the reload in the error box, with the wait
    // window gone and the buttons usable again.
    trapErrors(
        [this] {
            WaitWindow().showModeless();
            Recordset rs;
            rs.open(QStringLiteral("SELECT * FROM filez"), database_.IndexDb.get(),
                    CursorType::Static, LockType::Optimistic, -1);
            WaitWindow().setStage(QStringLiteral("Please Wait, Loading..."));
            lists_.clear();
            // Emptying a box that held text lists the whole index at once through the
            // search; the fill below then adds nothing.
            Text1->setText(QString());
            Text2->setText(QString());
            FillResultLists(rs, lists_, true);
            ShowCount();
            rs.close();
            WaitWindow().fillBar();
            platform().sleep(kReloadPauseMs);
            UnloadWaitWindow();
        },
        [] { UnloadWaitWindow(); });
    setModeButtonsEnabled(true);
}

}  // namespace kwiklet
