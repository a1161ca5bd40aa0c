#pragma once

// The program's command line: the answers it gives instead of starting (--help and
// --version, which need no display), and the commands for the running copy.

#include <QString>
#include <QStringList>

#include <optional>

namespace kwiklet {

// What a command line asks for. Arguments the program does not know are left to Qt.
struct Command {
    enum Kind { Start, Toggle, Show, Hide, Quit };
    Kind kind = Start;
    std::optional<QString> text;  // --show TEXT
    bool bySession = false;       // started with the desktop session
};

Command readCommand(const QStringList& arguments);

// Answers --help (-h) or --version on the standard output and returns the exit status;
// nothing when the program should start as usual.
std::optional<int> answerCommandLine(int argc, char** argv);

}  // namespace kwiklet
