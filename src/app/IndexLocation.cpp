#include "app/IndexLocation.h"

#include "common/ErrorTrap.h"
#include "platform/Platform.h"

namespace kwiklet {
namespace {

// Only the file with exactly this name counts: a differently spelt or hidden one is not
// the program's database.
bool isIndexFile(const QString& path) {
    return platform().firstOrdinaryFileName(path) == kDatabaseFileName;
}

}  // namespace

IndexLocation locateIndex() {
    auto& system = platform();
    const QString executableFolder = system.executableFolder();
    const QString beside = executableFolder + QLatin1Char('/') + kDatabaseFileName;
    const QString installed = system.installedDataFolder() + QLatin1Char('/') + kDatabaseFileName;
    const bool hasBeside = isIndexFile(beside);
    const bool hasInstalled = isIndexFile(installed);
    if (system.isFolderWritable(executableFolder) && (hasBeside || !hasInstalled)) {
        return {beside, QString()};
    }
    const QString own =
        system.userDataFolder(system.executableName()) + QLatin1Char('/') + kDatabaseFileName;
    // A copy in a folder the user cannot write to may carry its empty index beside it.
    return {own, hasInstalled ? installed : hasBeside ? beside : QString()};
}

QString provideIndex() {
    const IndexLocation location = locateIndex();
    auto& system = platform();
    if (!location.emptyTemplate.isEmpty() && !isIndexFile(location.path)) {
        if (const int error = system.copyFileIfAbsent(location.emptyTemplate, location.path)) {
            system.showMessage(QStringLiteral("Error %1 creating the index database %2")
                                   .arg(error)
                                   .arg(location.path),
                               kAppTitle, MessageKind::Warning);
        }
    }
    return location.path;
}

}  // namespace kwiklet
