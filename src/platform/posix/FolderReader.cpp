#include "platform/posix/FolderReader.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string_view>

namespace kwiklet {

namespace {

// All entries of one folder as the system's directory records, read in one go so that no
// folder stays open while the caller gives the message loop a turn.
struct FolderListing {
    QByteArray folderPath;      // the folder as the system names it, separator included
    std::vector<char> records;  // getdents64 records, one after another
};

// The longest path the system opens, in bytes with its terminating NUL. A listing
// never yields a path longer than this, so every path it yields can be opened again.
constexpr qsizetype kPathLimit = PATH_MAX;

bool isAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The kind of an entry whose record does not say whether it is a folder (a link, or a
// file system that leaves the type out); nothing for a link that leads nowhere.
std::optional<EntryKind> kindFromStat(const QByteArray& path) {
    struct stat info {};
    if (::stat(path.constData(), &info) == 0) {
        return S_ISDIR(info.st_mode)   ? EntryKind::Folder
               : S_ISREG(info.st_mode) ? EntryKind::File
                                       : EntryKind::Special;
    }
    // A link whose target is missing (or that leads round in a circle) opens nothing:
    // it is no entry worth listing.
    if (errno == ENOENT || errno == ELOOP || errno == ENOTDIR) {
        return std::nullopt;
    }
    // One whose target this user may not look at is an entry all the same.
    return ::lstat(path.constData(), &info) == 0 ? EntryKind::File : EntryKind::Unreadable;
}

class ListingEnumeration final : public FolderEnumeration {
public:
    explicit ListingEnumeration(FolderListing listing) : listing_(std::move(listing)) {}

    std::optional<FolderEntry> next() override {
        const std::vector<char>& records = listing_.records;
        while (position_ < records.size()) {
            const auto* record = reinterpret_cast<const dirent64*>(records.data() + position_);
            if (record->d_reclen == 0) {
                break;  // a malformed record: stop rather than read it for ever
            }
            position_ += record->d_reclen;
            const std::string_view raw(record->d_name);
            // Entries whose full path the system would refuse are left out.
            if (listing_.folderPath.size() + static_cast<qsizetype>(raw.size()) >= kPathLimit) {
                continue;
            }
            // File names are UTF-8 text to the program. A name that is not valid UTF-8
            // has no text that leads back to the file, so it is left out rather than
            // listed under a path that opens nothing.
            const bool ascii = isAscii(raw);
            const QString name =
                ascii ? QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()))
                      : QFile::decodeName(raw.data());
            if (!ascii && QFile::encodeName(name) != QByteArrayView(raw.data(), raw.size())) {
                continue;
            }
            if (const std::optional<EntryKind> kind = kindOf(*record, raw)) {
                return FolderEntry{name, *kind};
            }
        }
        return std::nullopt;
    }

private:
    std::optional<EntryKind> kindOf(const dirent64& record, std::string_view name) const {
        switch (record.d_type) {
            case DT_DIR:
                return EntryKind::Folder;
            case DT_REG:
                return EntryKind::File;
            case DT_LNK:      // a link is what its target is
            case DT_UNKNOWN:  // the file system does not say
                return kindFromStat(listing_.folderPath +
                                    QByteArray(name.data(), static_cast<qsizetype>(name.size())));
            default:
                return EntryKind::Special;
        }
    }

    FolderListing listing_;
    std::size_t position_ = 0;
};

}  // namespace

FolderReader::FolderReader() = default;
FolderReader::~FolderReader() = default;

std::unique_ptr<FolderEnumeration> FolderReader::enumerate(const QString& folder) {
    const QByteArray folderPath = QFile::encodeName(folder);
    if (folderPath.isEmpty() || folderPath.size() >= kPathLimit || folderPath.contains('\0')) {
        return nullptr;
    }
    const int descriptor = ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    // The records are read into the kept buffer, then copied to a listing of their own
    // size: most folders need far less than one chunk.
    constexpr std::size_t kChunk = 32 * 1024;
    std::size_t used = 0;
    while (true) {
        if (buffer_.size() < used + kChunk) {
            buffer_.resize(used + kChunk);
        }
        const ssize_t got = ::getdents64(descriptor, buffer_.data() + used, kChunk);
        if (got <= 0) {
            // A folder that fails before its first entry cannot be listed; one that
            // fails later gives the entries read so far.
            if (got < 0 && used == 0) {
                ::close(descriptor);
                return nullptr;
            }
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    ::close(descriptor);
    FolderListing listing{folderPath, {}};
    listing.records.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(used));
    if (buffer_.size() > 16 * kChunk) {
        buffer_ = {};  // a huge folder's buffer is not kept for all the small ones
    }
    return std::make_unique<ListingEnumeration>(std::move(listing));
}

std::optional<FolderIdentity> FolderReader::identity(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.isEmpty() || bytes.size() >= kPathLimit || bytes.contains('\0')) {
        return std::nullopt;
    }
    struct stat info {};
    if (::stat(bytes.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return std::nullopt;
    }
    return FolderIdentity{static_cast<std::uint64_t>(info.st_dev),
                          static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace kwiklet
