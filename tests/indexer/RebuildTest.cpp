// Rebuilding the index of a real main window from a temporary home whose folders hold
// small real trees: what is found where, in which order, under which names; the wait
// window's captions; the Update button; and what a failure or the user's input during
// the rebuild does.

#include "support/MainWindowFixture.h"

#include "common/MessageLoop.h"
#include "windows/WaitWindow.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace kwiklet::test {
namespace {

const QString kDocuments = "Please Wait, Getting Filez from My Documents...";
const QString kDesktop = "Please Wait, Getting Filez from Desktop...";
const QString kStartMenu = "Please Wait, Getting Filez from Start Menu...";
const QString kUpdating = "Please Wait, Updating Database...";

class RebuildTest : public MainWindowFixture {
protected:
    void SetUp() override {
        home_ = platform_.homeFolder();
        // Shared launchers as on a desktop with Flatpak: its folder first, and the user's
        // own launchers hiding those of the same identity.
        platform_.environment().set("XDG_DATA_DIRS",
                                    home("flatpak/exports/share") + ':' + home("system"));
        const std::pair<const char*, const char*> files[] = {
            {"Documents/report.exe", ""},
            {"Documents/readme.txt", ""},
            {"Documents/sub/tool.exe", ""},
            {"Documents/sub/Sketch.appimage", ""},
            {"Documents/run-me", "#!/bin/sh\n"},  // a program, but no AppImage
            {"Desktop/game.exe", ""},
            {"Desktop/Calc.desktop", "Name=Calculator\nName[de]=Rechner\nExec=calc\n"},
            {"Desktop/Hidden.desktop", "Name=Hidden\nNoDisplay=true\nExec=x\n"},
            {"Desktop/more/report.desktop", "Name=report\nExec=report\n"},
            {".local/share/applications/org.example.Editor.desktop", "Name=Editor\nExec=editor\n"},
            {".local/share/applications/Gone.desktop", "Name=Gone\nHidden=true\n"},
            {"flatpak/exports/share/applications/org.example.Player.desktop",
             "Name=Player\nExec=player\n"},
            {"flatpak/exports/share/applications/kde/files.desktop",
             "Name=KDE Files\nExec=files\n"},
            {"system/applications/Files.desktop", "Name=Files\nExec=files\n"},
            {"system/applications/Gone.desktop", "Name=Hidden\nExec=x\n"},
            {"system/applications/org.example.Editor.desktop", "Name=Hidden\nExec=x\n"},
            {"system/applications/kde-files.desktop", "Name=Hidden\nExec=x\n"},
            {"Favorites/Example.url", "[InternetShortcut]\nURL=http://example.com\n"},
        };
        for (const auto& [file, contents] : files) {
            const bool launcher = QByteArray(file).endsWith(".desktop");
            writeFile(home(file), (launcher ? "[Desktop Entry]\nType=Application\n" : "") +
                                      QByteArray(contents));
        }
        QFile::setPermissions(home("Documents/run-me"), QFile::ReadOwner | QFile::ExeOwner);
    }

    QString home(const QString& relative) const { return home_ + '/' + relative; }
    // Every row of the table: "id name path".
    QStringList rows() const {
        return OtherProgram(database_.store->path())
            .read("SELECT id || ' ' || name || ' ' || path FROM filez");
    }
    QStringList expectedRows() const {
        return {"1 report " + home("Documents/report.exe"),
                "2 tool " + home("Documents/sub/tool.exe"),
                "3 Sketch " + home("Documents/sub/Sketch.appimage"),
                "4 game " + home("Desktop/game.exe"),
                "5 Calculator " + home("Desktop/Calc.desktop"),
                "6 report " + home("Desktop/more/report.desktop"),
                "7 Editor " + home(".local/share/applications/org.example.Editor.desktop"),
                "8 Player " + home("flatpak/exports/share/applications/org.example.Player.desktop"),
                "9 KDE Files " + home("flatpak/exports/share/applications/kde/files.desktop"),
                "10 Files " + home("system/applications/Files.desktop"),
                "11 Example " + home("Favorites/Example.url")};
    }
    void clickUpdate() { QTest::mouseClick(&window_->updateButton(), Qt::LeftButton); }
    // The wait window's caption whenever the program gives the message loop a turn, when
    // the window can be repainted; a caption replaced before that never shows.
    static QString shownCaption() {
        return isWaitWindowOpen() ? waitWindow().caption().text() : QString();
    }
    // Notes each caption that shows, at every chance the program has to show one.
    void noteCaptions() {
        messageloop::setYieldInterval(std::chrono::microseconds(0));
        recorder_.onYield = [this] {
            const QString shown = shownCaption();
            if (!shown.isEmpty() && (captions_.isEmpty() || captions_.last() != shown)) {
                captions_ << shown;
            }
        };
    }

    QString home_;
    QStringList captions_;
};

TEST_F(RebuildTest, FirstRunIndexesTheUsersFoldersInTheScanPlansOrder) {
    createDatabaseAt(platform_.databasePath(), {});
    noteCaptions();
    ASSERT_NE(launch(), nullptr);  // no stored position: a first run

    EXPECT_EQ(rows(), expectedRows());
    EXPECT_EQ(listed(), (QStringList{"report", "tool", "Sketch", "game", "Calculator", "Editor",
                                     "Player", "KDE Files", "Files", "Example"}));
    EXPECT_EQ(window_->countLabel().text(), "10 files in DataBase");
    // The launcher folders and Favorites share the Start Menu's caption.
    EXPECT_EQ(captions_, (QStringList{kDocuments, kDesktop, kStartMenu, kUpdating}));
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{100});
    EXPECT_FALSE(isWaitWindowOpen());
    EXPECT_TRUE(recorder_.messages.empty());
}

// The Update button over a full table: the old rows are deleted and every row is new,
// with another program reading the index the whole time.
TEST_F(RebuildTest, UpdateReplacesEveryRowAndLeavesTheWindowReady) {
    ASSERT_NE(launchOver({{"old one"}, {"old two"}, {"old three"}}), nullptr);
    type("old");
    noteCaptions();
    recorder_.sleeps.clear();
    bool buttonsDisabledDuringTheRebuild = true;
    recorder_.onSleep = [&] {
        buttonsDisabledDuringTheRebuild =
            !window_->updateButton().isEnabled() && !window_->modeButton().isEnabled();
    };
    OtherProgram reader(platform_.databasePath());
    reader.run("BEGIN; SELECT count(*) FROM filez;");
    clickUpdate();
    reader.run("COMMIT");

    EXPECT_EQ(rows(), expectedRows());
    EXPECT_EQ(captions_, (QStringList{kDocuments, kDesktop, kStartMenu, kUpdating}));
    EXPECT_TRUE(buttonsDisabledDuringTheRebuild);
    EXPECT_TRUE(window_->updateButton().isEnabled() && window_->modeButton().isEnabled());
    EXPECT_EQ(window_->searchBox().text(), "");
    EXPECT_EQ(recorder_.sleeps, std::vector<int>{100});
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_TRUE(database_.store->nameKeyReady());  // searches use the key again
}

// Folders that hold nothing, or are not there at all, leave an empty index behind and
// no error; a folder the system does not know is not looked for anywhere, least of all
// in the root folder.
TEST_F(RebuildTest, NothingFoundLeavesAnEmptyIndexAndNoFolderMeansNoWalk) {
    QDir(home_).removeRecursively();
    QDir().mkpath(home("system/applications"));
    recorder_.documentsFolderMissing = true;
    ASSERT_NE(launchOver({{"old"}}), nullptr);
    clickUpdate();

    EXPECT_EQ(rows(), QStringList{});
    EXPECT_EQ(window_->countLabel().text(), "0 files in DataBase");
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_FALSE(recorder_.listedFolders.isEmpty());
    for (const QString& folder : recorder_.listedFolders) {
        EXPECT_TRUE(folder.startsWith(home_)) << folder.toStdString();
    }
}

// A store that fails part-way: the box, the wait window gone, both buttons back, and
// the lists showing what the table holds.
TEST_F(RebuildTest, UpdateThatFailsPartWayShowsTheErrorAndTheTableAsItIs) {
    ASSERT_NE(launchOver({{"old"}}), nullptr);
    OtherProgram(platform_.databasePath())
        .run(
            "CREATE TRIGGER full BEFORE INSERT ON filez WHEN NEW.id > 3 "
            "BEGIN SELECT RAISE(ABORT, 'the disk is full'); END");
    bool waitWindowUpWithTheBox = true;
    recorder_.onMessageBox = [&] { waitWindowUpWithTheBox = isWaitWindowOpen(); };
    clickUpdate();

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].text,
              QString::number(err::kStoreFailure) +
                  ": The index database reported an error: the disk is full.");
    EXPECT_FALSE(waitWindowUpWithTheBox);
    EXPECT_FALSE(isWaitWindowOpen());
    EXPECT_TRUE(window_->updateButton().isEnabled() && window_->modeButton().isEnabled());
    EXPECT_EQ(rows(), expectedRows().mid(0, 3));  // each row was committed on its own
    EXPECT_EQ(listed(), (QStringList{"report", "tool", "Sketch"}));
}

// While the rebuild stages and stores, typing and choosing in the list change nothing,
// and a second click on the button starts nothing.
TEST_F(RebuildTest, InputDuringTheRebuildLeavesItsListsAlone) {
    ASSERT_NE(launchOver({{"old"}}), nullptr);
    messageloop::setYieldInterval(std::chrono::microseconds(0));
    int interruptions = 0;
    bool chosenDuringTheWalk = false;
    recorder_.onYield = [&] {
        if (!isWaitWindowOpen()) {
            return;  // the rebuild is over
        }
        ++interruptions;
        window_->searchBox().setText(QString::number(interruptions % 3 ? interruptions : 0));
        window_->results().publishPendingRows();
        window_->resultView().selectionModel()->select(window_->results().index(0),
                                                 QItemSelectionModel::ClearAndSelect);
        chosenDuringTheWalk |= !window_->chosenEntry().path().isEmpty();
        window_->updateButton().click();  // disabled: does nothing
    };
    clickUpdate();
    recorder_.onYield = nullptr;

    EXPECT_GT(interruptions, 20);
    EXPECT_FALSE(chosenDuringTheWalk);
    EXPECT_EQ(rows(), expectedRows());
    EXPECT_EQ(listed().size(), 10);
    EXPECT_EQ(recorder_.sleeps, (std::vector<int>{500, 100}));  // the load's, one rebuild's
    EXPECT_EQ(window_->searchBox().text(), "");
    EXPECT_TRUE(recorder_.messages.empty());
}

// Closing the window while the rows are stored ends the rebuild quietly.
TEST_F(RebuildTest, ClosingTheWindowDuringTheRebuildEndsItQuietly) {
    ASSERT_NE(launchOver({{"old"}}), nullptr);
    window_->show();
    messageloop::setYieldInterval(std::chrono::microseconds(0));
    recorder_.onYield = [this] {
        if (shownCaption() == kUpdating && window_->isVisible()) {
            QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
        }
    };
    clickUpdate();

    EXPECT_FALSE(window_->isVisible());
    EXPECT_FALSE(database_.store->isOpen());
    EXPECT_FALSE(isWaitWindowOpen());
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_TRUE(recorder_.sleeps.empty() || recorder_.sleeps == std::vector<int>{500});
}

// Every staged entry is stored, however many: no 16-bit limit. The log beside the index
// stays small while they are stored, after each rebuild, and once the index is closed
// while another program still has the file open.
TEST_F(RebuildTest, MoreThan32767EntriesAreAllStoredAndTheLogStaysSmall) {
    constexpr int kFiles = 33000;
    QDir().mkpath(home("Documents/many"));
    for (int i = 0; i < kFiles; ++i) {
        QFile(home(QStringLiteral("Documents/many/p%1.exe").arg(i))).open(QIODevice::WriteOnly);
    }
    ASSERT_NE(launchOver({{"old"}}), nullptr);
    const QString log = platform_.databasePath() + "-wal";
    qint64 largest = 0;
    recorder_.onYield = [&] {
        if (shownCaption() == kUpdating) {
            largest = std::max(largest, QFileInfo(log).size());
        }
    };
    std::vector<qint64> after;
    for (int rebuild = 0; rebuild < 3; ++rebuild) {
        clickUpdate();
        after.push_back(QFileInfo(log).size());
    }

    EXPECT_EQ(window_->results().count(), kFiles + 10);
    const QStringList stored = rows();
    ASSERT_EQ(stored.size(), kFiles + 11);
    EXPECT_TRUE(stored.last().startsWith(QString::number(kFiles + 11) + " Example "));
    EXPECT_TRUE(recorder_.messages.empty());
    EXPECT_LE(largest, 64 << 20);
    EXPECT_LE(after[0], kLogSizeLimitBytes);
    EXPECT_LE(after[2], after[0]);
    OtherProgram reader(platform_.databasePath());
    reader.run("SELECT count(*) FROM filez");
    database_.store->close();
    EXPECT_LE(QFileInfo(log).size(), kLogSizeLimitBytes);
}

}  // namespace
}  // namespace kwiklet::test
