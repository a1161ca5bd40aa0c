#include "indexer/Finder.h"

#include "common/MessageLoop.h"
#include "indexer/FileNamePattern.h"
#include "platform/Platform.h"
#include "store/ResultList.h"

#include <QFile>

#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace kwiklet {
namespace {

constexpr QChar kSeparator = QLatin1Char('/');

bool isSelfOrParent(const QString& name) {
    return name == QLatin1String(".") || name == QLatin1String("..");
}

// Shows the busy pointer for its lifetime, so that the default one comes back however
// the walk ends.
class BusyPointer {
public:
    BusyPointer() { platform().setBusyPointer(true); }
    ~BusyPointer() { platform().setBusyPointer(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

class Walker {
public:
    Walker(const QStringList& patterns, ResultList& lists)
        : patternTexts_(patterns), launcherPattern_(platform().launcherPattern()), lists_(lists) {
        for (const QString& pattern : patterns) {
            patterns_.emplace_back(pattern);
        }
    }

    // Launchers are known by their path below the start folder, and only the first of
    // each identity, in this walk or an earlier one given the same set, is listed.
    void knowLaunchersBy(QSet<QString>& launchersFound) { launchersFound_ = &launchersFound; }

    void walkFrom(QString folder) {
        if (!folder.endsWith(kSeparator)) {
            folder += kSeparator;
        }
        startFolder_ = folder;
        isFirstVisit(folder);
        walk(std::move(folder));
    }

private:
    // One folder, listed once: its own matches are appended, pattern by pattern, each in
    // listing order, then each subfolder is walked in listing order.
    void walk(QString folder) {
        messageloop::yieldIfDue();

        // A folder can hold any number of entries and subfolders; all are kept.
        std::vector<Entry> entries;
        if (auto listing = platform().listFolder(folder)) {
            while (std::optional<FolderEntry> entry = listing->next()) {
                messageloop::yieldIfDue();
                QString name = cutAtNul(entry->name);
                // A named pipe, a device or a socket is no program, launcher or
                // shortcut, whatever it is called.
                if (!isSelfOrParent(name) && entry->kind != EntryKind::Special) {
                    // An entry the system would not say of counts as a folder too;
                    // walking into it finds nothing.
                    const bool isFolder = entry->kind == EntryKind::Folder ||
                                          entry->kind == EntryKind::Unreadable;
                    entries.push_back({QFile::encodeName(name), std::move(name), isFolder});
                }
            }
        }

        // A folder whose own name matches is listed like a file (and walked as well).
        for (std::size_t i = 0; i < patterns_.size(); ++i) {
            const FileNamePattern& pattern = patterns_[i];
            const bool launchers = patternTexts_[static_cast<qsizetype>(i)] == launcherPattern_;
            for (const Entry& entry : entries) {
                messageloop::yieldIfDue();
                const std::string_view utf8Name(entry.utf8Name.constData(),
                                                static_cast<std::size_t>(entry.utf8Name.size()));
                if (pattern.matchesEverything() || pattern.matches(utf8Name)) {
                    append(folder + entry.name, entry.name, launchers);
                }
            }
        }

        // Only the subfolders are kept while the walk goes deeper.
        std::erase_if(entries, [](const Entry& entry) { return !entry.isFolder; });
        for (const Entry& entry : entries) {
            messageloop::yieldIfDue();
            QString subfolder = folder + entry.name + kSeparator;
            if (isFirstVisit(subfolder)) {
                walk(std::move(subfolder));
            }
        }
    }

    // A launcher is listed under the name the desktop's menu gives it, and not at all
    // when the menu hides it; any other entry under its display name.
    void append(const QString& path, const QString& name, bool launcher) {
        if (!launcher) {
            lists_.append(displayName(name), path);
            return;
        }
        if (launchersFound_ != nullptr) {
            QString identity = path.mid(startFolder_.size());
            identity.replace(kSeparator, QLatin1Char('-'));
            if (launchersFound_->contains(identity)) {
                return;
            }
            launchersFound_->insert(identity);
        }
        if (const std::optional<QString> menuName = platform().launcherMenuName(path)) {
            lists_.append(*menuName, path);
        }
    }

    // Links can lead to one folder by many paths, and back up into the folders a walk
    // is inside: each folder is walked once, by the first path that reaches it. A
    // folder whose identity cannot be read (it cannot be listed either) counts as new.
    bool isFirstVisit(const QString& folder) {
        const std::optional<FolderIdentity> identity = platform().folderIdentity(folder);
        return !identity || walked_.insert(*identity).second;
    }

    struct Entry {
        QByteArray utf8Name;  // what the patterns are matched against
        QString name;
        bool isFolder;
    };

    const QStringList& patternTexts_;
    std::vector<FileNamePattern> patterns_;
    const QString launcherPattern_;
    ResultList& lists_;
    QSet<QString>* launchersFound_ = nullptr;
    QString startFolder_;
    std::set<FolderIdentity> walked_;
};

}  // namespace

void findFiles(const QString& folder, const QString& pattern, ResultList& lists) {
    findFiles(folder, QStringList{pattern}, lists);
}

void findFiles(const QString& folder, const QStringList& patterns, ResultList& lists) {
    // Typing and clicking in the main window leave the lists alone while the walk
    // stages its results in them.
    const ResultList::Query walk = lists.beginWalk();
    const BusyPointer busy;
    Walker(patterns, lists).walkFrom(folder);
}

void findLaunchers(const QString& folder, QSet<QString>& launchersFound, ResultList& lists) {
    const ResultList::Query walk = lists.beginWalk();
    const BusyPointer busy;
    const QStringList patterns{platform().launcherPattern()};
    Walker walker(patterns, lists);
    walker.knowLaunchersBy(launchersFound);
    walker.walkFrom(folder);
}

void walkFolder(const QString& folder, const QString& pattern, ResultList& lists) {
    const QStringList patterns{pattern};
    Walker(patterns, lists).walkFrom(folder);
}

QString displayName(const QString& name) {
    const qsizetype lastPeriod = name.lastIndexOf(QLatin1Char('.'));
    return lastPeriod < 0 ? name : name.left(lastPeriod);
}

QString cutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

}  // namespace kwiklet
