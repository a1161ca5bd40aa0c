#pragma once

// The answers the program gives on its command line instead of starting: --help and
// --version. They need no display.

#include <optional>

namespace kwiklet {

// Answers --help (-h) or --version on the standard output and returns the exit status;
// nothing when the program should start as usual. Other arguments are left to Qt.
std::optional<int> AnswerCommandLine(int argc, char** argv);

}  // namespace kwiklet
