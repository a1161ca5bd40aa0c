#pragma once

#include <memory>

class QApplication;

namespace kwiklet {

struct IndexDatabase;
class picMain;

// Opens the index database beside the executable. A missing avs.dat is only reported:
// the connection stays unset and start-up goes on. Raises AppError when the file is
// there but cannot be opened as an index database.
void OpenIndexDb(IndexDatabase& database);

// Opens the database and loads and shows the main window. Returns nothing when
// start-up failed (the user has been told why and the program should end).
std::unique_ptr<picMain> LaunchProgram(IndexDatabase& database);

// The program: start-up, then the message loop until the last window closes.
int StartProgram(QApplication& application);

}  // namespace kwiklet
