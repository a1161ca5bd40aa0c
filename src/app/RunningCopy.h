#pragma once

// One running copy of the program for each user and index. A start finds out whether a
// copy runs before it makes any window or opens the index; when one does, it hands its
// command line over and ends.

#include <QStringList>

#include <functional>
#include <optional>

namespace kwiklet {

// The name the running copy goes by: the application's id, made from the executable's
// name, with a short hash of the index file's path added when the copy keeps an index of
// its own beside it (a portable copy), so that copies over different indexes run side by
// side.
QString runningCopyName();

// The commands that need no window (--toggle, --show, --hide, --quit): hands them to the
// running copy with no more than a core application, and returns the exit status. Nothing
// when the program itself should start: a plain start, or --toggle or --show with no copy
// running.
std::optional<int> runThinCommand(int argc, char** argv);

// What became of a start: the running copy now, whose `commands` receive the command
// lines of later starts; or a start that ends, having handed its command line to the
// copy that runs, or having given up on one that never answers (the standard error
// says so).
enum class StartRole { RunningCopy, HandedOver, Unanswered };

StartRole becomeRunningCopy(const QStringList& arguments,
                            std::function<void(const QStringList&)> commands);

// The command line without the program's name.
QStringList argumentsOf(int argc, char** argv);

}  // namespace kwiklet
