#pragma once

namespace kwiklet {

// The search flags the main window's handlers share.
struct SearchState {
    // False while the program changes the search box itself, and after a first
    // Backspace: a change of the box is then not searched.
    bool AutoCompleteOn = false;
    // True while the box sends words to a web search engine instead of the index.
    bool WebMode = false;
    // The chosen engine's position in the lists while in web mode.
    int EngineIndex = 0;
    // 8 after a Backspace that switched completion off, until the next Backspace.
    int LastKeyBackspace = 0;
};

}  // namespace kwiklet
