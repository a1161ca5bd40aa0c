#include "indexer/RebuildIndex.h"

#include "common/ErrorTrap.h"
#include "common/MessageLoop.h"
#include "indexer/Finder.h"
#include "platform/Platform.h"
#include "store/IndexStore.h"
#include "store/ResultList.h"
#include "windows/WaitWindow.h"

#include <vector>

namespace kwiklet {
namespace {

constexpr int kRebuildPauseMs = 100;

const QString kStartMenuCaption = QStringLiteral("Please Wait, Getting Filez from Start Menu...");

// One stage of the scan plan: the caption it sets, its folders, and its walks of each
// folder, each a walk for one or more patterns. A stage of launcher folders walks each
// of them as the desktop's menu reads them instead.
struct ScanStage {
    QString caption;
    QStringList folders;
    std::vector<QStringList> walks;
    bool launcherFolders = false;
};

// The folder, when the system has one: a folder it does not know is no reason to walk
// the whole file system.
QStringList folderIfAny(const std::optional<QString>& folder) {
    return folder && !folder->isEmpty() ? QStringList{*folder} : QStringList{};
}

// The folders, patterns and captions in the order they run, which is also the order of
// the rows. Shortcuts are the desktop's launchers on this platform, and a Linux user's
// own programs are AppImages rather than .exe files.
std::vector<ScanStage> scanPlan() {
    const QStringList programs{QStringLiteral("*.exe"), QStringLiteral("*.AppImage")};
    Platform& system = platform();
    const QStringList launchers{system.launcherPattern()};
    return {
        {QStringLiteral("Please Wait, Getting Filez from My Documents..."),
         folderIfAny(system.documentsFolder()),
         {programs}},
        {QStringLiteral("Please Wait, Getting Filez from Desktop..."),
         folderIfAny(system.desktopFolder()),
         {programs, launchers}},
        {kStartMenuCaption, system.launcherFolders(), {}, true},
        {kStartMenuCaption, folderIfAny(system.favoritesFolder()), {{QStringLiteral("*.url")}}},
    };
}

// Tells the store that many entries are about to be stored one by one, and that they
// have been, however the copy ends.
class StoringMany {
public:
    explicit StoringMany(IndexStore& index) : index_(index) { index_.beginStoringMany(); }
    ~StoringMany() { index_.endStoringMany(); }
    StoringMany(const StoringMany&) = delete;
    StoringMany& operator=(const StoringMany&) = delete;

private:
    IndexStore& index_;
};

void stageFolders(ResultList& lists, WaitWindow& wait) {
    QSet<QString> launchersFound;
    for (const ScanStage& stage : scanPlan()) {
        wait.setStage(stage.caption);
        for (const QString& folder : stage.folders) {
            if (stage.launcherFolders) {
                findLaunchers(folder, launchersFound, lists);
            }
            for (const QStringList& patterns : stage.walks) {
                findFiles(folder, patterns, lists);
            }
        }
    }
}

}  // namespace

bool storeStagedEntries(IndexStore& index, const ResultList& lists, WaitWindow& wait) {
    if (!index.isOpen()) {
        return false;
    }
    const StoringMany storing(index);
    const qsizetype count = lists.count();
    for (qsizetype i = 1; i <= count; ++i) {
        wait.setStage(QStringLiteral("Please Wait, Updating Database..."));
        messageloop::yieldIfDue();
        if (!index.isOpen()) {
            return false;
        }
        index.storeEntry(i, lists.name(i - 1), lists.path(i - 1));
    }
    return true;
}

void rebuildIndex(RebuildWindow& window) {
    WaitWindow& wait = waitWindow();
    wait.setStage(QStringLiteral("Please Wait..."));
    wait.showModeless();
    // The lists stage the walks, then show the table again: typing and clicking leave
    // them alone until the rebuild is over.
    ResultList& lists = window.results();
    ResultList::Query walk = lists.beginWalk();

    IndexStore& index = window.index();
    if (!index.allEntries().atEnd()) {
        wait.setStage(QStringLiteral("Please Wait, Deleting Database..."));
        index.deleteAll();
    }
    lists.clear();
    stageFolders(lists, wait);
    // Closing the main window closes the store: the rebuild then ends quietly with the
    // window.
    if (!storeStagedEntries(index, lists, wait)) {
        closeWaitWindow();
        return;
    }

    IndexRows rows = index.allEntries();
    if (listWholeIndex(window, walk, rows, LoadingCaption::Keep) == FillOutcome::Interrupted) {
        closeWaitWindow();
        return;
    }
    rows.close();
    finishWaitWindow(kRebuildPauseMs);
}

void updateDatabase(RebuildWindow& window) {
    window.setModeButtonsEnabled(false);
    const bool failed = trapErrors([&window] { rebuildIndex(window); }, [] { closeWaitWindow(); });
    // After a rebuild that failed part-way, the lists may still hold what it staged:
    // they show the table again even when the box was empty already.
    window.emptySearchBox(failed);
    window.setModeButtonsEnabled(true);
}

}  // namespace kwiklet
