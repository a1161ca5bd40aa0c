#pragma once

// Opening what the user chose: everything goes through the shell's "open".

#include <QString>

namespace kwiklet {

// Opens the target with the shell; the directory is where a relative target is looked
// for. Whether anything opened is not reported.
void openWithDesktop(const QString& target, const QString& directory);

// Starts the first office program whose name the text holds (letter case not counting)
// by its bare program name, which the opener maps to what runs it here. True when one
// was named, whether or not it could be started.
bool launchOfficeProgram(const QString& text);

}  // namespace kwiklet
