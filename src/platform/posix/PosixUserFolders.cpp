// The user's folders on Linux: the XDG documents and desktop folders, a Favorites folder
// by the usual name, the user's own and the shared launcher folders; and what the
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
// folder under home when the user has set none or set an unusable one; without a
// trailing separator (only the root folder is "/" itself) or doubled ones.
QString userDirectory(QStandardPaths::StandardLocation location, const QString& usual) {
    const QString configured = QStandardPaths::writableLocation(location);
    if (QDir::isAbsolutePath(configured)) {
        return QDir::cleanPath(configured);
    }
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + usual);
}

QString userApplicationsFolder() {
    QString dataHome = absolutePathFromEnvironment("XDG_DATA_HOME");
    if (dataHome.isEmpty()) {
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(dataHome + QStringLiteral("/applications"));
}

}  // namespace

std::optional<QString> PosixPlatform::documentsFolder() {
    return userDirectory(QStandardPaths::DocumentsLocation, QStringLiteral("Documents"));
}

std::optional<QString> PosixPlatform::desktopFolder() {
    return userDirectory(QStandardPaths::DesktopLocation, QStringLiteral("Desktop"));
}

std::optional<QString> PosixPlatform::favoritesFolder() {
    // Linux has no folder of internet shortcuts, so one by the usual name.
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/Favorites"));
}

QStringList PosixPlatform::launcherFolders() {
    // Flatpak, Snap and some distributions put folders of their own before the usual
    // ones; every one of them holds launchers of its own. Relative entries are invalid
    // and ignored; a variable that names no folder means the usual two.
    QStringList dataFolders;
    for (const QString& folder :
         qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder)) {
            dataFolders << folder;
        }
    }
    if (dataFolders.isEmpty()) {
        dataFolders = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    }
    QStringList shared;
    for (const QString& folder : dataFolders) {
        const QString applications = QDir::cleanPath(folder + QStringLiteral("/applications"));
        if (!shared.contains(applications)) {
            shared << applications;
        }
    }
    return QStringList{userApplicationsFolder()} + shared;
}

QString PosixPlatform::launcherPattern() {
    return QStringLiteral("*.desktop");
}

std::optional<QString> PosixPlatform::launcherMenuName(const QString& path) {
    // The menu lists applications it can start and links; other entries (folders of
    // the menu itself) and files that are no launchers are not items of it. What is
    // listed is what opening it starts: both read the same command.
    const DesktopEntry entry = DesktopEntry::read(path);
    const bool menuItem = (entry.type() == QLatin1String("Application") && entry.launchCommand()) ||
                          entry.type() == QLatin1String("Link");
    if (!menuItem || entry.hiddenFromMenu()) {
        return std::nullopt;
    }
    // Every launcher should have a Name; one without is known by its file name.
    const QString name = entry.menuName();
    return name.isEmpty() ? QFileInfo(path).completeBaseName() : name;
}

}  // namespace kwiklet
