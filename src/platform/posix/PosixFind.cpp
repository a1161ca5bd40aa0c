// Folder lookup and folder listing on Linux: the special folders, the enumeration of a
// folder's entries by wildcard pattern, and the attribute and identity queries the
// finder makes about the entries it has just listed.

#include "platform/posix/PosixPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kwiklet {
namespace {

// What a plain file reports: no folder bit, and not the all-bits-set failure value.
constexpr std::uint32_t kAttributeNormal = 0x80u;

// The longest path the system opens, in bytes with its terminating NUL. A listing
// never yields a path longer than this, so every path it yields can be opened again.
constexpr qsizetype kPathLimit = PATH_MAX;

// --- Special folders ---------------------------------------------------------------

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

// --- Name patterns -----------------------------------------------------------------

// Matches a name against a pattern where '*' stands for any run of characters (also
// none) and '?' for exactly one. On a mismatch after a '*', the '*' takes one more
// character and matching resumes; only the latest '*' needs revisiting, so the work
// stays proportional to the pattern's length times the name's.
template <typename Char, typename Same>
bool matchesWildcards(std::basic_string_view<Char> pattern, std::basic_string_view<Char> name,
                      Same same) {
    constexpr std::size_t kNone = std::basic_string_view<Char>::npos;
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t afterStar = kNone;
    std::size_t starTook = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == Char('*')) {
            afterStar = ++p;
            starTook = n;
        } else if (p < pattern.size() && (pattern[p] == Char('?') || same(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (afterStar != kNone) {
            p = afterStar;
            n = ++starTook;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == Char('*')) {
        ++p;
    }
    return p == pattern.size();
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The text's characters (whole code points, so '?' takes one character even outside
// the basic plane), case-folded so that letter case does not count.
std::u32string foldedCodePoints(QStringView text) {
    std::u32string folded;
    folded.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        folded.push_back(QChar::toCaseFolded(code));
    }
    return folded;
}

// A file-name pattern, prepared once for a whole listing. Names made of ASCII only
// (nearly all of them) are matched on their bytes without becoming text first.
class NamePattern {
public:
    explicit NamePattern(QStringView text)
        : matchesAll_(text == u"*"), folded_(foldedCodePoints(text)) {
        const QByteArray bytes = text.toUtf8();
        asciiOnly_ = isAscii(std::string_view(bytes.constData(), bytes.size()));
        if (asciiOnly_) {
            for (const char c : bytes) {
                asciiLowered_.push_back(asciiLower(c));
            }
        }
    }

    bool matchesAll() const { return matchesAll_; }

    bool matchesAsciiName(std::string_view name) const {
        if (!asciiOnly_) {
            return matchesText(
                QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        }
        return matchesWildcards<char>(asciiLowered_, name,
                                      [](char p, char c) { return p == asciiLower(c); });
    }

    bool matchesText(QStringView name) const {
        return matchesWildcards<char32_t>(folded_, foldedCodePoints(name),
                                          [](char32_t p, char32_t c) { return p == c; });
    }

private:
    bool matchesAll_;
    bool asciiOnly_ = false;
    std::string asciiLowered_;
    std::u32string folded_;
};

// --- Listing -------------------------------------------------------------------------

// All entries of one folder as the system's directory records, read in one go so that no
// folder stays open while the caller gives the message loop a turn.
struct FolderListing {
    QString folder;  // the folder text of the search path, separator included
    qsizetype folderBytes = 0;
    // The folder's state when it was read: while it is unchanged, so are its entries.
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    timespec changed{};
    std::vector<char> records;  // getdents64 records, one after another
};

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A folder is listed twice in a row by a walk: once for its subfolders, once for the
// pattern. The second listing of the same, unchanged folder reuses the first one's
// records instead of reading the folder again. Adding, removing or renaming an entry
// stamps the folder's modification time with the current time, so a folder whose time
// has not moved has the same entries. That holds only for a folder last modified well
// before it was read: timestamps are coarse (a clock tick, or seconds on some file
// systems), and a change in the same tick as the reading would leave the time as it
// was. A recently modified folder is therefore always read afresh.
constexpr std::int64_t kSettledSeconds = 3;

std::shared_ptr<const FolderListing>& lastListing() {
    thread_local std::shared_ptr<const FolderListing> listing;
    return listing;
}

bool isUnchanged(const FolderListing& listing, const char* folderPath) {
    struct stat info {};
    return ::stat(folderPath, &info) == 0 && info.st_dev == listing.device &&
           info.st_ino == listing.inode && sameTime(info.st_mtim, listing.modified) &&
           sameTime(info.st_ctim, listing.changed);
}

// Reads all records of the folder, or nothing when it cannot be listed.
std::shared_ptr<const FolderListing> readFolder(const char* folderPath, QString folder,
                                                qsizetype folderBytes) {
    const int descriptor = ::open(folderPath, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    auto listing = std::make_shared<FolderListing>();
    listing->folder = std::move(folder);
    listing->folderBytes = folderBytes;
    // The state is taken before the entries, so a change while they are read shows.
    struct stat info {};
    bool complete = ::fstat(descriptor, &info) == 0;
    listing->device = info.st_dev;
    listing->inode = info.st_ino;
    listing->modified = info.st_mtim;
    listing->changed = info.st_ctim;

    // The records are read into a buffer kept between folders, then copied to a listing
    // of their own size: most folders need far less than one chunk.
    constexpr std::size_t kChunk = 32 * 1024;
    thread_local std::vector<char> buffer;
    std::size_t used = 0;
    while (true) {
        if (buffer.size() < used + kChunk) {
            buffer.resize(used + kChunk);
        }
        const ssize_t got = ::getdents64(descriptor, buffer.data() + used, kChunk);
        if (got <= 0) {
            // A folder that fails before its first entry cannot be listed; one that
            // fails later gives the entries read so far, but they are not kept for reuse.
            complete = complete && got == 0;
            if (got < 0 && used == 0) {
                ::close(descriptor);
                return nullptr;
            }
            break;
        }
        used += static_cast<std::size_t>(got);
    }
    ::close(descriptor);
    timespec now{};
    const bool settled = ::clock_gettime(CLOCK_REALTIME, &now) == 0 &&
                         info.st_mtim.tv_sec + kSettledSeconds < now.tv_sec;
    listing->records.assign(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(used));
    if (buffer.size() > 16 * kChunk) {
        buffer = {};  // a huge folder's buffer is not kept for all the small ones
    }
    lastListing() = complete && settled ? listing : nullptr;
    return listing;
}

// The entry a listing handed out last, with the type its directory record gave. The
// finder asks for the attributes of each entry right after receiving it; answering
// from here spares a stat() per file.
struct RecentEntry {
    QString folder;
    QString name;
    unsigned char type = DT_UNKNOWN;
};

RecentEntry& recentEntry() {
    thread_local RecentEntry entry;
    return entry;
}

bool isRecentEntry(const QString& path, const RecentEntry& entry) {
    return !entry.name.isEmpty() && path.size() == entry.folder.size() + entry.name.size() &&
           QStringView(path).startsWith(entry.folder) && QStringView(path).endsWith(entry.name);
}

std::uint32_t attributesFromStat(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() >= kPathLimit || bytes.contains('\0')) {
        return kInvalidFileAttributes;
    }
    struct stat info {};
    if (::stat(bytes.constData(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? kAttributeDirectory : kAttributeNormal;
    }
    // A link whose target is missing is still an entry of its folder, just no folder.
    if (::lstat(bytes.constData(), &info) == 0) {
        return kAttributeNormal;
    }
    return kInvalidFileAttributes;
}

class PosixFolderEnumeration final : public FolderEnumeration {
public:
    PosixFolderEnumeration(std::shared_ptr<const FolderListing> listing, QStringView pattern)
        : listing_(std::move(listing)), pattern_(pattern) {}

    // What an entry's record said holds only while its listing is being read.
    ~PosixFolderEnumeration() override {
        RecentEntry& recent = recentEntry();
        if (recent.folder.constData() == listing_->folder.constData()) {
            recent = RecentEntry{};
        }
    }
    PosixFolderEnumeration(const PosixFolderEnumeration&) = delete;
    PosixFolderEnumeration& operator=(const PosixFolderEnumeration&) = delete;

    std::optional<QString> next() override {
        const std::vector<char>& records = listing_->records;
        while (position_ < records.size()) {
            const auto* entry = reinterpret_cast<const dirent64*>(records.data() + position_);
            if (entry->d_reclen == 0) {
                break;  // a malformed record: stop rather than read it for ever
            }
            position_ += entry->d_reclen;
            const std::string_view raw(entry->d_name);
            // Entries whose full path the system would refuse are left out.
            if (listing_->folderBytes + static_cast<qsizetype>(raw.size()) >= kPathLimit) {
                continue;
            }
            QString name;
            if (isAscii(raw)) {
                if (!pattern_.matchesAll() && !pattern_.matchesAsciiName(raw)) {
                    continue;
                }
                name = QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()));
            } else {
                // File names are UTF-8 text to the program. A name that is not valid
                // UTF-8 has no text that leads back to the file, so it is left out
                // rather than listed under a path that opens nothing.
                name = QFile::decodeName(raw.data());
                if (QFile::encodeName(name) != QByteArrayView(raw.data(), raw.size())) {
                    continue;
                }
                if (!pattern_.matchesAll() && !pattern_.matchesText(name)) {
                    continue;
                }
            }
            RecentEntry& recent = recentEntry();
            recent.folder = listing_->folder;
            recent.name = name;
            recent.type = entry->d_type;
            return name;
        }
        return std::nullopt;
    }

private:
    std::shared_ptr<const FolderListing> listing_;
    std::size_t position_ = 0;
    NamePattern pattern_;
};

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

std::unique_ptr<FolderEnumeration> PosixPlatform::findFiles(const QString& searchPath) {
    const QByteArray searchBytes = QFile::encodeName(searchPath);
    if (searchBytes.size() >= kPathLimit || searchBytes.contains('\0')) {
        return nullptr;
    }
    // The folder is everything up to the last separator, which UTF-8 never hides
    // inside another character; the pattern is the rest.
    const qsizetype lastSeparator = searchPath.lastIndexOf(QLatin1Char('/'));
    const QStringView folder = QStringView(searchPath).left(lastSeparator + 1);
    const qsizetype folderBytes = searchBytes.lastIndexOf('/') + 1;
    const QByteArray folderPath =
        folderBytes == 0 ? QByteArray(".") : searchBytes.left(folderBytes);

    std::shared_ptr<const FolderListing> listing = lastListing();
    if (!listing || listing->folder != folder || !isUnchanged(*listing, folderPath.constData())) {
        listing = readFolder(folderPath.constData(), folder.toString(), folderBytes);
        if (!listing) {
            return nullptr;
        }
    }
    return std::make_unique<PosixFolderEnumeration>(std::move(listing),
                                                    QStringView(searchPath).mid(lastSeparator + 1));
}

std::uint32_t PosixPlatform::fileAttributes(const QString& path) {
    const RecentEntry& recent = recentEntry();
    if (isRecentEntry(path, recent)) {
        switch (recent.type) {
            case DT_DIR:
                return kAttributeDirectory;
            case DT_LNK:      // a link is a folder when its target is one
            case DT_UNKNOWN:  // the file system does not say
                break;
            default:
                return kAttributeNormal;
        }
    }
    return attributesFromStat(path);
}

std::optional<FolderIdentity> PosixPlatform::folderIdentity(const QString& path) {
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
