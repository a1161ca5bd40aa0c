#pragma once

// Where the index database avs.dat lives. A copy of the program in a folder the user
// may write to (a build, a portable copy) keeps it beside the executable. An installed
// program, whose folder holds no avs.dat and is not the user's to write, or that ships
// an empty index with its data, keeps each user's own in their data folder
// ($XDG_DATA_HOME/<executable name>/avs.dat on Linux), made from the installed one.

#include <QString>

namespace kwiklet {

inline const QString kDatabaseFileName = QStringLiteral("avs.dat");

struct IndexLocation {
    QString path;       // the avs.dat to open
    QString emptyTemplate;  // the empty index to copy to path when it is missing; empty: none
};

// Works out the location without touching any file.
IndexLocation locateIndex();

// The path to open: the location, with the user's own index made from the installed
// one first when it is missing (a file already there is never replaced). A failure to
// make it is reported in a box; the path is returned all the same.
QString provideIndex();

}  // namespace kwiklet
