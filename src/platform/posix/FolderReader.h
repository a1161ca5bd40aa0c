#pragma once

// Folder listings on Linux: the entries of a folder whose names match a file-name
// pattern, each with the attributes that tell a folder from anything else.

#include "platform/Platform.h"

#include <memory>
#include <vector>

namespace kwiklet {

struct FolderListing;

class FolderReader {
public:
    FolderReader();
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // The entries of the folder named by the search path (everything up to its last
    // '/') whose names match its last component. Nothing when the folder cannot be read.
    std::unique_ptr<FolderEnumeration> enumerate(const QString& searchPath);

    // The folder the path leads to, links followed; nothing when it is no folder.
    static std::optional<FolderIdentity> identity(const QString& path);

private:
    std::shared_ptr<const FolderListing> read(const QByteArray& folderPath, const QString& folder);

    // The last folder read, kept so that the second of two listings of an unchanged
    // folder in a row (a walk lists each folder twice) reads nothing again.
    std::shared_ptr<const FolderListing> lastListing_;
    // Read buffer, kept between folders so that most folders need no allocation.
    std::vector<char> buffer_;
};

}  // namespace kwiklet
