#pragma once

// The user's folders that the index is built from, named by the shell's folder
// identifiers.

#include <QString>

namespace kwiklet {

// Folder identifiers the index rebuild asks for.
inline constexpr int kFolderDesktop = 0;    // the user's desktop
inline constexpr int kFolderPrograms = 2;   // the user's program launchers
inline constexpr int kFolderDocuments = 5;  // the user's documents
inline constexpr int kFolderFavorites = 6;  // the user's internet shortcuts

// The path of the folder for this user, without a trailing separator, or the empty
// text when the identifier names no folder here. Nothing is reported on failure.
QString SpecialFolderPath(int folderId);

}  // namespace kwiklet
