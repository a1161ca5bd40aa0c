#include "windows/WholeIndexListing.h"

#include "store/ResultLists.h"

#include "windows/frmWait.h"

namespace kwiklet {

FillOutcome ListWholeIndex(IndexListWindow& window, ResultLists::Query& query, IndexRows& rows,
                           LoadingCaption caption, const std::function<void()>& afterClearing) {
    if (caption == LoadingCaption::Show) {
        WaitWindow().showModeless();
        WaitWindow().setStage(QStringLiteral("Please Wait, Loading..."));
    }
    window.lists().clear();
    if (afterClearing) {
        afterClearing();
    }
    const FillOutcome outcome = FillResultLists(rows, query, true);
    window.ShowCount();
    return outcome;
}

}  // namespace kwiklet
