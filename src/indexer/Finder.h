#pragma once

// The recursive file finder: collects every entry below a folder whose name matches a
// wildcard pattern into the result lists, a display name into List1 and the full path
// into List2.

#include <QString>

namespace kwiklet {

class ResultLists;

// Walks the folder and everything below it for entries matching the pattern ('*' and
// '?', letter case not counting) and appends each one to the lists: the folder's own
// matches first, in listing order, then those of each subfolder in turn. With the
// platform's launcher pattern, each launcher is listed under the name the desktop's
// menu shows for it, and launchers the menu hides are left out. Shows the busy
// pointer meanwhile and keeps the lists reserved for the walk, so that nothing else
// changes them while it gives the message loop a turn. Folders that cannot be listed
// add nothing; nothing is reported.
void FindFiles(const QString& folder, const QString& pattern, ResultLists& lists);

// The walk itself, without the busy pointer and the reservation. An empty folder text
// is the root folder. Links to folders are followed, but each folder is walked once
// however many links lead to it, so chains and loops of links cost one walk each.
void WalkFolder(const QString& folder, const QString& pattern, ResultLists& lists);

// The name shown for a matched entry: the name cut before its last period
// (my.setup.exe gives my.setup), or the whole name when it holds no period.
QString DisplayName(const QString& name);

// The text up to, not including, its first NUL character; the whole text if none.
QString CutAtNul(const QString& text);

}  // namespace kwiklet
