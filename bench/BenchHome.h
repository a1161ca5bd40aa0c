#pragma once

// A home of the benchmark's own: its documents and desktop folders where the benchmark
// says, no launchers anywhere else, and the XDG variables pointing into it.

#include <QDir>
#include <QFile>
#include <QString>

namespace kwiklet::bench {

inline void useHome(const QString& home, const QString& documents, const QString& desktop) {
    QDir(home).mkpath(QStringLiteral(".config"));
    QDir(home).mkpath(QStringLiteral("system/applications"));
    QFile userDirs(home + QStringLiteral("/.config/user-dirs.dirs"));
    userDirs.open(QIODevice::WriteOnly);
    userDirs.write(
        ("XDG_DOCUMENTS_DIR=\"" + documents + "\"\nXDG_DESKTOP_DIR=\"" + desktop + "\"\n")
            .toUtf8());
    userDirs.close();
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_DATA_DIRS", (home + QStringLiteral("/system")).toUtf8());
}

}  // namespace kwiklet::bench
