#include "windows/WholeIndexListing.h"

#include "store/ResultList.h"

#include "windows/WaitWindow.h"

namespace kwiklet {

FillOutcome listWholeIndex(IndexListWindow& window, ResultList::Query& query, IndexRows& rows,
                           LoadingCaption caption, const std::function<void()>& afterClearing) {
    if (caption == LoadingCaption::Show) {
        waitWindow().showModeless();
        waitWindow().setStage(QStringLiteral("Please Wait, Loading..."));
    }
    window.results().clear();
    if (afterClearing) {
        afterClearing();
    }
    const FillOutcome outcome = fillResultList(rows, query, true);
    window.showCount();
    return outcome;
}

}  // namespace kwiklet
