#pragma once

// Listing the whole index in the main window behind the wait window, as the window's
// load, the return from web mode and the end of a rebuild do.

#include "store/FillResultList.h"

#include <functional>

namespace kwiklet {

class IndexRows;

// How long the full bar stays up once the whole index is listed.
inline constexpr int kListedPauseMs = 500;

// What listing the whole index needs of the main window.
class IndexListWindow {
public:
    virtual ResultList& results() = 0;
    // Sets the count line to the number of names listed.
    virtual void showCount() = 0;

protected:
    ~IndexListWindow() = default;
};

// Whether the listing puts the wait window up saying that it loads, finds it up already,
// telling what the longer operation it ends has done, or has none, the main window being
// loaded out of sight.
enum class LoadingCaption { Show, Keep, None };

// Clears the window's lists, fills them for the query with every entry of the rows from
// the current one on, each name once, and sets the count line, however the fill ends.
// afterClearing, when given, runs once the lists are empty, before the fill. The rows
// are left open.
FillOutcome listWholeIndex(IndexListWindow& window, ResultList::Query& query, IndexRows& rows,
                           LoadingCaption caption, const std::function<void()>& afterClearing = {});

}  // namespace kwiklet
