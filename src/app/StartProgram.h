#pragma once

#include <memory>

class QApplication;

namespace kwiklet {

struct IndexDatabase;
class picMain;

// Opens the index database where it lives (see IndexLocation.h), making the user's own
// from the installed one first where need be. A missing avs.dat is only reported:
// the store stays unset and start-up goes on. Raises AppError when the file is
// there but cannot be opened as an index database.
void OpenIndexDb(IndexDatabase& database);

// Loads and shows the main window over the index, and takes the hotkey that calls it up.
std::unique_ptr<picMain> LoadMainWindow(IndexDatabase& database);

// Opens the database and loads and shows the main window, without the About window
// first. Returns nothing when the database could not be opened (the user has been told
// why and the program should end).
std::unique_ptr<picMain> LaunchProgram(IndexDatabase& database);

// Start-up as the user meets it: opens the database, then shows the About window
// modally; its Continue loads the main window into `window`. False when the database
// could not be opened (the user has been told why and the program should end).
bool ShowStartUp(IndexDatabase& database, std::unique_ptr<picMain>& window);

// The message loop until the last window closes, or the session ends, which ends the
// program as Exit does (the main window's position is saved). The index is closed
// either way.
int RunProgram(QApplication& application, IndexDatabase& database,
               std::unique_ptr<picMain>& window);

// The program: start-up, then the message loop until the last window closes.
int StartProgram(QApplication& application);

}  // namespace kwiklet
