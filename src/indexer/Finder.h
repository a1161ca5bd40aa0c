#pragma once

// The recursive file finder: collects every entry below a folder whose name matches a
// wildcard pattern into the result list: its display name and its full path.

#include <QSet>
#include <QString>
#include <QStringList>

namespace kwiklet {

class ResultList;

// Walks the folder and everything below it for entries matching the pattern ('*' and
// '?', letter case not counting) and appends each one to the lists: the folder's own
// matches first, in listing order, then those of each subfolder in turn. With the
// platform's launcher pattern, each launcher is listed under the name the desktop's
// menu shows for it, and launchers the menu hides are left out. Shows the busy
// pointer meanwhile and holds the lists for the walk, so that nothing else
// changes them while it gives the message loop a turn. Folders that cannot be listed
// add nothing; nothing is reported.
void findFiles(const QString& folder, const QString& pattern, ResultList& lists);
// The same for several patterns in one walk: in each folder, the matches of the first
// pattern, then those of the next.
void findFiles(const QString& folder, const QStringList& patterns, ResultList& lists);

// Walks a folder of program launchers as the desktop's menu reads it. A launcher is
// known by its path below the folder with each separator turned into '-' (kde/edit.desktop
// is kde-edit.desktop), and the first launcher of that identity found, in this walk or in
// an earlier one given the same set, is the only one that counts: later ones are left
// out, even when the first is hidden from the menu, which is how a user takes a shared
// launcher out of it. The identities found are added to the set.
void findLaunchers(const QString& folder, QSet<QString>& launchersFound, ResultList& lists);

// The walk itself, without the busy pointer and the hold on the lists. An empty folder text
// is the root folder. Links to folders are followed, but each folder is walked once
// however many links lead to it, so chains and loops of links cost one walk each.
void walkFolder(const QString& folder, const QString& pattern, ResultList& lists);

// The name shown for a matched entry: the name cut before its last period
// (my.setup.exe gives my.setup), or the whole name when it holds no period.
QString displayName(const QString& name);

// The text up to, not including, its first NUL character; the whole text if none.
QString cutAtNul(const QString& text);

}  // namespace kwiklet
