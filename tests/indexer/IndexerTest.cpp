// The finder over real temporary folders: what it lists, in which order, and that odd
// trees (links, unreadable folders, undecodable names, overlong paths) end quietly. Then
// the user's folders, which follow the user's XDG settings.

#include "common/MessageLoop.h"
#include "indexer/Finder.h"
#include "store/ResultList.h"
#include "support/Database.h"
#include "support/QtPrinters.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>

namespace kwiklet {
namespace {

namespace fs = std::filesystem;
using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::IsSupersetOf;
using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

class FinderTest : public ::testing::Test {
protected:
    // Every walk here reads a few dozen entries. One that goes round in circles (or out
    // of the scratch folder) is stopped from within, so that it fails instead of
    // running on for ever.
    struct WalkDidNotEnd {};
    FinderTest() {
        messageloop::setYieldInterval(std::chrono::microseconds(0));
        env_.recorder().onYield = [this] {
            if (env_.recorder().yields > 10000) {
                throw WalkDidNotEnd{};
            }
        };
    }
    // Removes by bytes what the temporary folder cannot: undecodable names, overlong paths.
    ~FinderTest() override {
        std::error_code ignored;
        fs::remove_all(QFile::encodeName(root()).constData(), ignored);
    }

    QString root() const { return env_.scratchFolder(); }
    QString at(const QString& relative) const { return root() + '/' + relative; }

    // Creates the files and folders (names ending in '/') below the scratch folder.
    void make(const QStringList& entries) const {
        for (const QString& entry : entries) {
            QFile file(at(entry));
            ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
            ASSERT_TRUE(entry.endsWith('/') || file.open(QIODevice::WriteOnly));
        }
    }
    // The paths found there, relative to the start folder, in list order.
    QStringList find(const QString& folder, const QString& pattern) {
        lists_.clear();
        findFiles(folder, pattern, lists_);
        const QString prefix = folder.endsWith('/') ? folder : folder + '/';
        QStringList paths;
        for (qsizetype i = 0; i < lists_.count(); ++i) {
            const QString& path = lists_.path(i);
            paths << (path.startsWith(prefix) ? path.mid(prefix.size()) : path);
        }
        return paths;
    }

    test::TestPlatform env_;
    ResultList lists_;
};

TEST_F(FinderTest, ListsAFoldersOwnMatchesBeforeThoseOfItsSubfoldersInListingOrder) {
    make({"a.exe", "B/b.exe", "B/b2.exe", "B/deeper/d.exe", "C/c.exe"});
    // The names of a folder's files, or of its subfolders, in the order the system lists them.
    const auto listed = [&](const QString& folder, QDir::Filter kind) {
        return QDir(at(folder)).entryList(kind | QDir::NoDotAndDotDot, QDir::Unsorted);
    };
    QStringList expected{"a.exe"};
    for (const QString& folder : listed("", QDir::Dirs)) {
        for (const QString& file : listed(folder, QDir::Files)) {
            expected << folder + '/' + file;
        }
        for (const QString& inner : listed(folder, QDir::Dirs)) {
            expected << folder + '/' + inner + "/d.exe";
        }
    }
    ASSERT_EQ(expected.size(), 5);
    // A trailing separator on the start folder changes nothing.
    EXPECT_EQ(find(root(), "*.exe"), expected);
    EXPECT_EQ(find(root() + '/', "*.exe"), expected);
}

// One tree, each pattern: which of its entries match. Hidden entries and folders whose
// own names match are listed, and walked too; "." and ".." never are.
TEST_F(FinderTest, MatchesPatternsWithoutRegardToLetterCase) {
    make({"a.exe", "B.EXE", "Setup.Exe", "my.setup.exe", "README", "aexe", "axxbyyc", "axxbyy",
          "Ärger.exe", ".hidden.exe", "tools.exe/inner.exe", ".cfg/in.exe"});
    const QStringList exes = {"a.exe",      "B.EXE",       "Setup.Exe", "my.setup.exe",
                              "Ärger.exe",  ".hidden.exe", "tools.exe", "tools.exe/inner.exe",
                              ".cfg/in.exe"};
    const std::pair<const char*, QStringList> cases[] = {
        {"*.exe", exes},
        {"*exe", exes + QStringList{"aexe"}},
        {"?.exe", {"a.exe", "B.EXE"}},
        {"setup.exe", {"Setup.Exe"}},
        {"ä*", {"Ärger.exe"}},
        {"a*b*c", {"axxbyyc"}},
        {"r*", {"README"}},
        {".*", {".hidden.exe", ".cfg"}},
        {"nothing*", {}},
    };
    for (const auto& [pattern, matches] : cases) {
        EXPECT_THAT(find(root(), pattern), UnorderedElementsAreArray(matches)) << pattern;
        // Each is shown under its name cut before the last period: my.setup.exe as
        // my.setup, README as it is.
        for (qsizetype i = 0; i < lists_.count(); ++i) {
            EXPECT_EQ(lists_.name(i), QFileInfo(lists_.path(i)).completeBaseName());
        }
    }
}

// With the desktop's launcher pattern, each launcher is listed under the name its menu
// shows, in the user's language where it has one, and those the desktop would not show
// or could not start are not.
TEST_F(FinderTest, LaunchersAreListedByTheirMenuNameUnlessTheDesktopLeavesThemOut) {
    const auto launcher = [this](const QString& relative, const QByteArray& entries) {
        test::writeFile(at(relative), "# a comment\n[Desktop Entry]\n" + entries);
    };
    launcher("org.gnome.Calculator.desktop",
             "Type=Application\nName=Calculator\nName[de]=Taschenrechner\nName[de_CH]=Rechner\n"
             "Exec=calc\n");
    launcher("sub/web.desktop", "Type=Link\nName=Web\\sPage\nURL=http://example.com\n");
    launcher("noname.desktop", "Type=Application\nExec=x %F %%\nTryExec=sh\nOnlyShowIn=GNOME;\n");
    make({"notalauncher.desktop", "dir.desktop/", "not-executable"});
    fs::create_symlink("missing.desktop", at("dangling.desktop").toStdString());
    // A pipe or a device under a launcher's name is no launcher, and is never waited on.
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe.desktop")).constData(), 0600), 0);
    fs::create_symlink("/dev/zero", at("zero.desktop").toStdString());
    env_.environment().set("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    const QByteArray leftOut[] = {
        "NoDisplay=true\nExec=x\n",
        "Hidden=true\nExec=x\n",
        "Exec=x\nTryExec=no-such-program\n",
        "Exec=x\nTryExec=bin/sh\n",  // a relative path is no program
        "Exec=x\nTryExec=" + at("not-executable").toUtf8() + "\n",
        "Exec=./tool\n",
        "Exec=x %z\n",
        "Exec=x 100%\n",
        "Exec=\n",
        "Exec=x\nOnlyShowIn=KDE;XFCE;\n",
        "Exec=x\nNotShowIn=XFCE;GNOME;\n",
        "Exec=x\nOnlyShowIn=GNOME;\nNotShowIn=ubuntu;\n",  // the first desktop named decides
    };
    for (int i = 0; i < std::ssize(leftOut); ++i) {
        launcher(QStringLiteral("left-out/%1.desktop").arg(i),
                 "Type=Application\nName=Left out " + QByteArray::number(i) + '\n' + leftOut[i]);
    }
    launcher("folder.desktop", "Type=Directory\nName=Games\n");
    const QString pattern = platform().launcherPattern();
    const struct {
        const char* language;
        QStringList names;
    } cases[] = {
        {nullptr, {"Calculator", "noname", "Web Page"}},
        {"de_DE.UTF-8", {"Taschenrechner", "noname", "Web Page"}},
        {"de_CH.UTF-8@euro", {"Rechner", "noname", "Web Page"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language ? c.language : "no language");
        env_.environment().set("LC_ALL", c.language ? QString(c.language) : QString());
        env_.environment().set("LC_MESSAGES", QString());
        env_.environment().set("LANG", QString());
        find(root(), pattern);
        QStringList names;
        for (qsizetype i = 0; i < lists_.count(); ++i) {
            names << lists_.name(i);
        }
        EXPECT_THAT(names, UnorderedElementsAreArray(c.names));
    }
}

TEST_F(FinderTest, RefusedFoldersAddNothingAndStopNothing) {
    make({"one/1.exe", "two/2.exe", "three/3.exe", "top.exe"});
    env_.recorder().refusedFolders.insert(at("two"));
    EXPECT_THAT(find(root(), "*.exe"), UnorderedElementsAre("one/1.exe", "three/3.exe", "top.exe"));
}

// Links to folders are followed, but each folder is walked once whatever leads to it:
// loops end, and diamonds and chains of links cost one walk of each folder.
TEST_F(FinderTest, FollowsLinksToFoldersButWalksEachFolderOnce) {
    make({"top.exe", "a/x.exe", "b/y.exe"});
    QTemporaryDir outside;
    QFile(outside.filePath("o.exe")).open(QIODevice::WriteOnly);
    const std::pair<QString, QString> links[] = {
        {"..", "a/up"},                 // back to the start folder
        {"../b", "a/to-b"},             // a and b lead to each other...
        {"../a", "b/to-a"},             // ...and back
        {outside.path(), "elsewhere"},  // followed
        {"missing", "dangling.exe"},    // leads nowhere: left out
        {"top.exe", "alias.exe"},
    };
    for (const auto& [target, name] : links) {
        fs::create_symlink(target.toStdString(), at(name).toStdString());
    }
    const QStringList found = find(root(), "*.exe");
    EXPECT_THAT(found, IsSupersetOf({"top.exe", "alias.exe", "elsewhere/o.exe"}));
    // a and b are each walked once, by whichever path the listing reaches first.
    EXPECT_THAT(found, Contains(AnyOf("a/x.exe", "b/to-a/x.exe")).Times(1));
    EXPECT_THAT(found, Contains(AnyOf("b/y.exe", "a/to-b/y.exe")).Times(1));
    EXPECT_EQ(found.size(), 5);

    // Fourteen levels, each with two links to the next: 16,384 paths to the last one.
    constexpr int kLevels = 14;
    for (int level = 0; level < kLevels; ++level) {
        make({QStringLiteral("chain/%1/").arg(level)});
        for (const char* link : {"a", "b"}) {
            fs::create_symlink(
                QStringLiteral("../%1").arg(level + 1).toStdString(),
                at(QStringLiteral("chain/%1/%2").arg(level).arg(link)).toStdString());
        }
    }
    make({QStringLiteral("chain/%1/deep.exe").arg(kLevels)});
    const QStringList deep = find(at("chain/0"), "*.exe");
    ASSERT_EQ(deep.size(), 1);
    EXPECT_TRUE(deep[0].endsWith("/deep.exe"));
}

TEST_F(FinderTest, NamesThatWouldNotOpenAgainAndWhatIsNoFileAreLeftOut) {
    make({"good.exe", "café.exe"});
    const std::string top = QFile::encodeName(root()).toStdString() + '/';
    std::ofstream(top + "bad\xff\xfe.exe");  // a name that is no UTF-8
    // A named pipe, and a link to it, are no programs whatever they are called.
    ASSERT_EQ(::mkfifo((top + "pipe.exe").c_str(), 0644), 0);
    fs::create_symlink(top + "pipe.exe", top + "pipe-link.exe");
    // Folders as deep as the system's paths go, each with a file; in the deepest, a name
    // that makes a path too long.
    QStringList expected{"café.exe", "good.exe"};
    std::string deep;
    while (top.size() + deep.size() + 210 < PATH_MAX) {
        deep += std::string(200, 'd') + '/';
        ASSERT_TRUE(fs::create_directory(top + deep));
        std::ofstream(top + deep + "x.exe");
        expected << QString::fromStdString(deep + "x.exe");
    }
    const int folder = ::open((top + deep).c_str(), O_RDONLY | O_DIRECTORY);
    ::close(::openat(folder, (std::string(250, 'n') + ".exe").c_str(), O_CREAT | O_WRONLY, 0644));
    ::close(folder);
    EXPECT_THAT(find(root(), "*.exe"), UnorderedElementsAreArray(expected));
}

TEST_F(FinderTest, SeesEveryChangeToAFolderBetweenCalls) {
    // A folder last changed an hour ago, so that nothing about its age hides a change.
    make({"flat/old.exe", "flat/notes.txt"});
    fs::last_write_time(at("flat").toStdString(),
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_THAT(find(at("flat"), "*.exe"), UnorderedElementsAre("old.exe"));
    EXPECT_THAT(find(at("flat"), "*.exe"), UnorderedElementsAre("old.exe"));
    make({"flat/new.exe"});
    EXPECT_THAT(find(at("flat"), "*.exe"), UnorderedElementsAre("new.exe", "old.exe"));
    ASSERT_TRUE(QFile::remove(at("flat/old.exe")));
    EXPECT_THAT(find(at("flat"), "*.exe"), UnorderedElementsAre("new.exe"));
}

TEST_F(FinderTest, CallsAccumulateWhileTheWalkHoldsTheListsAndThePointerBusy) {
    make({"first/one.exe", "first/skip.lnk", "second/two.lnk", "second/three.lnk"});
    RecordingPlatform& recorder = env_.recorder();
    int yields = 0;
    int unguardedYields = 0;
    recorder.onYield = [&, stopRunaway = recorder.onYield] {
        stopRunaway();
        ++yields;
        const auto& busy = recorder.busyPointerChanges;
        unguardedYields += lists_.beginQuery().isCurrent() || busy.empty() || !busy.back();
    };
    lists_.append("earlier", "/earlier.exe");
    findFiles(at("first"), "*.exe", lists_);
    findFiles(at("second"), "*.lnk", lists_);
    ASSERT_EQ(lists_.count(), 4);
    EXPECT_EQ(lists_.name(0), "earlier");
    EXPECT_EQ(lists_.path(1), at("first/one.exe"));
    EXPECT_THAT((QStringList{lists_.path(2), lists_.path(3)}),
                UnorderedElementsAre(at("second/two.lnk"), at("second/three.lnk")));
    EXPECT_GE(yields, 4);  // at least once for every entry the walks read
    EXPECT_EQ(unguardedYields, 0);
    EXPECT_TRUE(lists_.beginQuery().isCurrent());
    EXPECT_EQ(recorder.busyPointerChanges, (std::vector<bool>{true, false, true, false}));
}

// The user's folders and the launcher folders follow the user's XDG settings.
// Uses the finder tests' scratch folder.
class UserFoldersTest : public FinderTest {
protected:
    void set(const char* name, const QString& value) { env_.environment().set(name, value); }
};

TEST_F(UserFoldersTest, FollowTheUsersXdgFoldersOrElseTheUsualOnes) {
    // Without settings: the usual folders.
    set("HOME", at("home/"));
    set("XDG_CONFIG_HOME", QString());
    set("XDG_DATA_HOME", "relative/data");  // ignored: not an absolute path
    set("XDG_DATA_DIRS", QString());
    Platform& system = platform();
    EXPECT_EQ(system.desktopFolder(), at("home/Desktop"));
    EXPECT_EQ(system.documentsFolder(), at("home/Documents"));
    EXPECT_EQ(system.favoritesFolder(), at("home/Favorites"));
    const QStringList usualLaunchers{at("home/.local/share/applications"),
                                     "/usr/local/share/applications", "/usr/share/applications"};
    EXPECT_EQ(system.launcherFolders(), usualLaunchers);
    set("XDG_DATA_DIRS", ":relative/share:");
    EXPECT_EQ(system.launcherFolders(), usualLaunchers);

    // With settings: the user's own.
    set("HOME", at("home"));
    set("XDG_CONFIG_HOME", at("config"));
    set("XDG_DATA_HOME", at("data"));
    // Each system data folder in turn, each once, whether it has launchers or not;
    // relative entries are not paths at all.
    set("XDG_DATA_DIRS", at("flatpak/") + ":relative/share:" + at("sys") + ":" + at("flatpak"));
    test::writeFile(at("config/user-dirs.dirs"),
                    "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/My Desk/\"\n"
                    "XDG_DOCUMENTS_DIR=\"" +
                        at("papers").toUtf8() + "\"\n");
    EXPECT_EQ(system.desktopFolder(), at("home/My Desk"));
    EXPECT_EQ(system.documentsFolder(), at("papers"));
    EXPECT_EQ(
        system.launcherFolders(),
        (QStringList{at("data/applications"), at("flatpak/applications"), at("sys/applications")}));
}

}  // namespace
}  // namespace kwiklet
