// The shell's special folders on Linux: the user's XDG folders, the launchers of the
// user and of all users, and a Favorites folder by the usual name; and what the
// launchers found there are called in the desktop's menu.

#include "platform/posix/PosixPlatform.h"

#include "platform/posix/DesktopEntry.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kwiklet {
namespace {

// The value of an XDG variable when it names an absolute path. Relative values are
// invalid and must be ignored.
QString absolutePathFromEnvironment(const char* variable) {
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QString();
}

// A folder from the user's XDG user-dirs (read afresh on every call), or the usual
// folder under home when the user has set none or set an unusable one.
QString userDirectory(QStandardPaths::StandardLocation location, const QString& usual) {
    const QString configured = QStandardPaths::writableLocation(location);
    if (QDir::isAbsolutePath(configured)) {
        return configured;
    }
    return QDir::homePath() + QLatin1Char('/') + usual;
}

QString userApplicationsFolder() {
    QString dataHome = absolutePathFromEnvironment("XDG_DATA_HOME");
    if (dataHome.isEmpty()) {
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return dataHome + QStringLiteral("/applications");
}

// The shared applications folder: the first one that exists among the system data
// folders, else the one every distribution has.
QString systemApplicationsFolder() {
    const QStringList dataFolders =
        qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : dataFolders) {
        if (!QDir::isAbsolutePath(folder)) {
            continue;
        }
        const QString candidate = folder + QStringLiteral("/applications");
        if (QFileInfo(candidate).isDir()) {
            return candidate;
        }
    }
    return QStringLiteral("/usr/share/applications");
}

}  // namespace

std::optional<QString> PosixPlatform::specialFolderLocation(int folderId) {
    QString folder;
    switch (folderId) {
        case 0:  // the desktop
            folder = userDirectory(QStandardPaths::DesktopLocation, QStringLiteral("Desktop"));
            break;
        case 2:  // the user's own program launchers
            folder = userApplicationsFolder();
            break;
        case 5:  // the documents
            folder = userDirectory(QStandardPaths::DocumentsLocation, QStringLiteral("Documents"));
            break;
        case 6:  // internet shortcuts: Linux has no such folder, so one by the usual name
            folder = QDir::homePath() + QStringLiteral("/Favorites");
            break;
        case 23:  // the program launchers shared by all users
            folder = systemApplicationsFolder();
            break;
        default:
            return std::nullopt;
    }
    // No trailing separator (only the root folder is "/" itself), no doubled ones.
    return QDir::cleanPath(folder);
}

QString PosixPlatform::launcherPattern() {
    return QStringLiteral("*.desktop");
}

std::optional<QString> PosixPlatform::launcherMenuName(const QString& path) {
    // The menu lists applications and links; other entries (folders of the menu
    // itself) and files that are no launchers are not items of it.
    const DesktopEntry entry = DesktopEntry::read(path);
    const bool menuItem =
        entry.type() == QLatin1String("Application") || entry.type() == QLatin1String("Link");
    if (!menuItem || entry.hiddenFromMenu()) {
        return std::nullopt;
    }
    // Every launcher should have a Name; one without is known by its file name.
    const QString name = entry.menuName();
    return name.isEmpty() ? QFileInfo(path).completeBaseName() : name;
}

}  // namespace kwiklet
