#pragma once

#include <QStringList>

#include <memory>
#include <optional>

class QApplication;

namespace kwiklet {

struct IndexHolder;
class MainWindow;

// Opens the index database where it lives (see IndexLocation.h), making the user's own
// from the installed one first where need be. A missing avs.dat is only reported:
// the store stays unset and start-up goes on. Raises AppError when the file is
// there but cannot be opened as an index database.
void openIndex(IndexHolder& database);

// Makes the main window into `window`, loads it over the index and shows it, and takes
// the hotkey that calls it up.
void loadMainWindow(IndexHolder& database, std::unique_ptr<MainWindow>& window);

// Opens the database and loads and shows the main window, without the About window
// first. Returns nothing when the database could not be opened (the user has been told
// why and the program should end).
std::unique_ptr<MainWindow> launchProgram(IndexHolder& database);

// Start-up with the session while "Keep Running" is on: opens the database, makes the
// main window into `window`, takes the hotkey for it and loads it out of sight (see
// MainWindow::loadOutOfSight); the window shows when the key or a command calls it up. False
// when the database could not be opened (the user has been told why and the program
// should end).
bool startHiddenWithSession(IndexHolder& database, std::unique_ptr<MainWindow>& window);

// Start-up as the user meets it: opens the database, then shows the About window
// modally; its Continue loads the main window into `window`, with the text in its box
// when one is given. False when the database could not be opened (the user has been told
// why and the program should end).
bool showStartUp(IndexHolder& database, std::unique_ptr<MainWindow>& window,
                 std::optional<QString> text = std::nullopt);

// Carries out a command line a later start handed over (see CommandLine.h): brings the
// main window forward, toggles, shows or hides it, or ends the program as Exit does.
// Until the About window's Continue, the About window comes forward instead.
void obeyCommandLine(const QStringList& arguments, IndexHolder& database,
                     std::unique_ptr<MainWindow>& window);

// From now on, the end of the desktop session (the session manager's request to save, or
// a signal to stop) ends the program as Exit does: the main window's position is saved
// while it is shown, and the index is closed.
void endWithTheSession(IndexHolder& database, std::unique_ptr<MainWindow>& window);

// The message loop until the last window closes or the session ends; the index is
// closed either way.
int runProgram(QApplication& application, IndexHolder& database);

// The program: unless a copy runs already, which is handed the command line instead,
// start-up, then the message loop until the last window closes. Started with the session
// while "Keep Running" is on, it starts hidden, without the About window (see
// startHiddenWithSession).
int startProgram(QApplication& application, const QStringList& arguments);

}  // namespace kwiklet
