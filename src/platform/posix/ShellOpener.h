#pragma once

// What the Windows shell's "open" does, on a Linux desktop: addresses go to the
// desktop's handler for them, programs start, launchers start their application,
// internet shortcuts open their address, and any other file or folder opens with the
// application the desktop chooses for it. Nothing waits for what is started, and a
// target that cannot be opened is passed over without a word.

#include <QString>

namespace kwiklet::shellopener {

// Opens the target. A relative target is looked for in the directory (when one is
// given), and a bare program name as the shell finds programs (see README).
void open(const QString& target, const QString& directory);

// The address a typed text stands for: "www." gets "http://" put in front, and what an
// address cannot hold as written (blanks, stray percent signs) is percent-encoded.
// Empty when the text is no address.
QByteArray addressOf(const QString& text);

}  // namespace kwiklet::shellopener
