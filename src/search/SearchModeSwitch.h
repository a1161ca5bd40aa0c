#pragma once

// The main window's mode button: from searching the index to searching the web and back.

#include "windows/WholeIndexListing.h"

class QLineEdit;
class QString;

namespace kwiklet {

class ChosenEntry;
class IndexStore;
struct SearchState;

// What the mode switch needs of the main window.
class SearchModeWindow : public virtual IndexListWindow {
public:
    virtual SearchState& searchState() = 0;
    // The index store; raises err::kInvalidConnection when there is none.
    virtual IndexStore& index() = 0;
    virtual QLineEdit& searchBox() = 0;
    virtual ChosenEntry& chosenEntry() = 0;
    virtual void setModeCaption(const QString& caption) = 0;
    // The mode and Update buttons together: neither may start anything while one runs.
    virtual void setModeButtonsEnabled(bool enabled) = 0;

protected:
    ~SearchModeWindow() = default;
};

// Switches to the other mode: web mode lists the search engines and prompts for the
// words; returning to the index lists it whole again behind the wait window.
void switchSearchMode(SearchModeWindow& window);

}  // namespace kwiklet
