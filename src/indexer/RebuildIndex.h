#pragma once

#include "windows/WholeIndexListing.h"

namespace kwiklet {

class IndexStore;
class ResultList;
class WaitWindow;

// What the rebuild needs of the main window.
class RebuildWindow : public virtual IndexListWindow {
public:
    // The index store; raises err::kInvalidConnection when there is none.
    virtual IndexStore& index() = 0;
    // The mode and Update buttons together: neither may start anything while one runs.
    virtual void setModeButtonsEnabled(bool enabled) = 0;
    // Empties the search box, which lists the whole index through the search; with
    // relist, the search runs even when the box was empty already.
    virtual void emptySearchBox(bool relist) = 0;

protected:
    ~RebuildWindow() = default;
};

// Throws the index away and builds it again from the user's folders, behind the wait
// window: the folders are walked into the result lists, the staged entries stored as
// rows 1 to N, and the lists refilled from the table with each name once. While it
// runs, nothing else may change the lists. Raises AppError when the store fails; the
// wait window is then left for the caller to close.
void rebuildIndex(RebuildWindow& window);

// The Update button: the rebuild with both buttons disabled, any error reported, and
// the search box emptied afterwards.
void updateDatabase(RebuildWindow& window);

// Stores every staged entry of the lists in the index, with ids from 1 in list order,
// each committed on its own, giving the message loop turns. False when the store was
// closed meanwhile (the main window closing).
bool storeStagedEntries(IndexStore& index, const ResultList& lists, WaitWindow& wait);

}  // namespace kwiklet
