#include "indexer/UserFolders.h"

#include "indexer/Finder.h"
#include "platform/Platform.h"

namespace kwiklet {

QString SpecialFolderPath(int folderId) {
    const std::optional<QString> location = platform().specialFolderLocation(folderId);
    if (!location) {
        return {};
    }
    QString path = CutAtNul(*location);
    // The root folder keeps its one separator; any other folder ends without one.
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    return path;
}

}  // namespace kwiklet
