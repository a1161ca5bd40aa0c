#pragma once

namespace kwiklet {

// The search flags the main window's handlers share.
struct SearchState {
    // False while the program changes the search box itself, and after a first
    // Backspace: a change of the box is then not searched.
    bool completing = false;
    // True while the box sends words to a web search engine instead of the index.
    bool webMode = false;
    // The chosen engine's position in the list while in web mode.
    int engine = 0;
    // After a Backspace that switched completion off, until the next Backspace.
    bool lastKeyWasBackspace = false;
};

}  // namespace kwiklet
