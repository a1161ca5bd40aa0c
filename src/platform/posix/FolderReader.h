#pragma once

// Folder listings on Linux: every entry of a folder, each with its kind, which tells a
// folder from anything else.

#include "platform/Platform.h"

#include <memory>
#include <vector>

namespace kwiklet {

class FolderReader {
public:
    FolderReader();
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // Every entry of the folder (its path ends with '/'). Nothing when the folder cannot
    // be read.
    std::unique_ptr<FolderEnumeration> enumerate(const QString& folder);

    // The folder the path leads to, links followed; nothing when it is no folder.
    static std::optional<FolderIdentity> identity(const QString& path);

private:
    // Read buffer, kept between folders so that most folders need no allocation.
    std::vector<char> buffer_;
};

}  // namespace kwiklet
