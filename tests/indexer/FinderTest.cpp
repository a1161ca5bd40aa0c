// The finder over real temporary folders: what it lists, in which order, and that odd
// trees (links, unreadable folders, undecodable names, overlong paths) end quietly.

#include "common/MessageLoop.h"
#include "indexer/Finder.h"
#include "store/ResultLists.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <ctime>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// Failed comparisons of texts show the texts.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace kwiklet {
namespace {

using Pairs = std::vector<std::pair<QString, QString>>;  // (List1 name, List2 path)

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
    // Some tests leave entries that cannot be removed by path (too deep, or named with
    // bytes that are no text): empty the scratch folder from the inside.
    ~FinderTest() override {
        const int scratch = ::open(QFile::encodeName(root()).constData(), O_RDONLY | O_DIRECTORY);
        if (scratch >= 0) {
            removeContents(scratch);
        }
    }
    static void removeContents(int folder) {  // takes over the descriptor
        DIR* listing = ::fdopendir(folder);
        if (listing == nullptr) {
            ::close(folder);
            return;
        }
        while (const dirent* entry = ::readdir(listing)) {
            const std::string name = entry->d_name;
            if (name == "." || name == ".." || ::unlinkat(folder, name.c_str(), 0) == 0) {
                continue;
            }
            const int inner = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
            if (inner >= 0) {
                removeContents(inner);
                ::unlinkat(folder, name.c_str(), AT_REMOVEDIR);
            }
        }
        ::closedir(listing);
    }

    QString root() const { return env_.scratchFolder(); }
    QString at(const QString& relative) const { return root() + QLatin1Char('/') + relative; }

    // Creates the files and folders (names ending in '/') below the scratch folder.
    void make(const QStringList& entries) const {
        for (const QString& entry : entries) {
            if (entry.endsWith(QLatin1Char('/'))) {
                ASSERT_TRUE(QDir().mkpath(at(entry)));
            } else {
                ASSERT_TRUE(QDir().mkpath(QFileInfo(at(entry)).path()));
                QFile file(at(entry));
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            }
        }
    }
    void link(const QString& target, const QString& linkName) const {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                            QFile::encodeName(at(linkName)).constData()),
                  0);
    }

    // The lists' contents, paths relative to the scratch folder.
    Pairs found() const {
        Pairs pairs;
        for (qsizetype i = 0; i < lists_.count(); ++i) {
            pairs.emplace_back(lists_.name(i), lists_.path(i).mid(root().size() + 1));
        }
        return pairs;
    }
    QStringList foundPaths() const {
        QStringList paths;
        for (const auto& pair : found()) {
            paths << pair.second;
        }
        return paths;
    }
    static QStringList sorted(QStringList list) {
        list.sort();
        return list;
    }

    test::TestPlatform env_;
    ResultLists lists_;
};

// The names of a folder's subfolders, or of its files, in the order the system lists them.
QStringList listed(const QString& folder, bool subfolders) {
    QStringList names;
    for (const auto& entry :
         std::filesystem::directory_iterator(QFile::encodeName(folder).data())) {
        if (entry.is_directory() == subfolders) {
            names << QFile::decodeName(entry.path().filename().c_str());
        }
    }
    return names;
}

TEST_F(FinderTest, ListsAFoldersOwnMatchesBeforeThoseOfItsSubfoldersInListingOrder) {
    make({"a.exe", "B/b.exe", "B/b2.exe", "B/deeper/d.exe", "C/c.exe"});
    FindFiles(root(), QStringLiteral("*.exe"), lists_);

    QStringList expected{"a.exe"};
    for (const QString& folder : listed(root(), true)) {
        for (const QString& file : listed(at(folder), false)) {
            expected << folder + QLatin1Char('/') + file;
        }
        for (const QString& inner : listed(at(folder), true)) {
            expected << folder + QLatin1Char('/') + inner + QStringLiteral("/d.exe");
        }
    }
    ASSERT_EQ(expected.size(), 5);
    EXPECT_EQ(foundPaths(), expected);
}

TEST_F(FinderTest, StartFolderWithOrWithoutTrailingSeparatorGivesTheSamePaths) {
    make({"x.exe", "sub/y.exe"});
    for (const QString& start : {root(), root() + QLatin1Char('/')}) {
        SCOPED_TRACE(start.toStdString());
        lists_.clear();
        FindFiles(start, QStringLiteral("*.exe"), lists_);
        EXPECT_EQ(sorted(foundPaths()), (QStringList{"sub/y.exe", "x.exe"}));
        for (qsizetype i = 0; i < lists_.count(); ++i) {
            EXPECT_FALSE(lists_.path(i).contains(QStringLiteral("//")))
                << lists_.path(i).toStdString();
        }
    }
}

TEST_F(FinderTest, AnEmptyFolderTextIsTheRootFolder) {
    // Only the root's own entries are wanted here, not the whole file system.
    QStringList expected;
    for (const auto& entry : std::filesystem::directory_iterator("/")) {
        const QString path = QFile::decodeName(entry.path().c_str());
        expected << path;
        env_.recorder().refusedFolders.insert(path);
    }
    FindFiles(QString(), QStringLiteral("*"), lists_);
    QStringList paths;
    for (qsizetype i = 0; i < lists_.count(); ++i) {
        paths << lists_.path(i);
    }
    EXPECT_EQ(sorted(paths), sorted(expected));
}

// One folder, each pattern: which of its entries match.
TEST_F(FinderTest, MatchesPatternsWithoutRegardToLetterCase) {
    make({"a.exe", "B.EXE", "Setup.Exe", "dd.exe", "a.exe.bak", "aexe", "axxbyyc", "axxbyy",
          "Ärger.exe", "tools.exe/", ".hidden.exe", ".cfg/"});
    const struct {
        const char* pattern;
        QStringList matches;
    } cases[] = {
        {"*.exe",
         {".hidden.exe", "a.exe", "B.EXE", "Setup.Exe", "dd.exe", "Ärger.exe", "tools.exe"}},
        {"*.EXE",
         {".hidden.exe", "a.exe", "B.EXE", "Setup.Exe", "dd.exe", "Ärger.exe", "tools.exe"}},
        {"?.exe", {"a.exe", "B.EXE"}},
        {"setup.exe", {"Setup.Exe"}},
        {"ä*", {"Ärger.exe"}},
        {"a*b*c", {"axxbyyc"}},
        {"*exe",
         {".hidden.exe", "a.exe", "B.EXE", "Setup.Exe", "dd.exe", "aexe", "Ärger.exe",
          "tools.exe"}},
        {".*", {".hidden.exe", ".cfg"}},  // "." and ".." match too but are never listed
        {"nothing*", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        lists_.clear();
        // Only the start folder's own matches: its subfolders hold nothing.
        FindFiles(root(), QString::fromUtf8(c.pattern), lists_);
        EXPECT_EQ(sorted(foundPaths()), sorted(c.matches));
    }
}

TEST_F(FinderTest, DisplayNameIsTheNameCutBeforeItsLastPeriod) {
    make({"my.setup.exe", "setup.exe", "README", ".profile.exe", "tools.exe/inner.exe"});
    FindFiles(root(), QStringLiteral("*"), lists_);
    const Pairs pairs = found();
    const Pairs expected = {{"my.setup", "my.setup.exe"}, {"setup", "setup.exe"},
                            {"README", "README"},         {".profile", ".profile.exe"},
                            {"tools", "tools.exe"},       {"inner", "tools.exe/inner.exe"}};
    for (const auto& pair : expected) {
        EXPECT_NE(std::find(pairs.begin(), pairs.end(), pair), pairs.end())
            << pair.first.toStdString();
    }
    EXPECT_EQ(pairs.size(), expected.size());  // and "." and ".." are not among them
}

TEST_F(FinderTest, FoldersThatMatchOrAreHiddenAreListedAndWalked) {
    make({"tools.exe/inner.exe", ".hidden/in.exe", ".secret.exe"});
    FindFiles(root(), QStringLiteral("*.exe"), lists_);
    const QStringList paths = foundPaths();
    EXPECT_EQ(sorted(paths),
              (QStringList{".hidden/in.exe", ".secret.exe", "tools.exe", "tools.exe/inner.exe"}));
    EXPECT_LT(paths.indexOf(QStringLiteral("tools.exe")),
              paths.indexOf(QStringLiteral("tools.exe/inner.exe")));
}

TEST_F(FinderTest, RefusedOrMissingFoldersAddNothingAndStopNothing) {
    make({"one/1.exe", "two/2.exe", "three/3.exe", "top.exe"});
    env_.recorder().refusedFolders.insert(at("two"));
    FindFiles(root(), QStringLiteral("*.exe"), lists_);
    EXPECT_EQ(sorted(foundPaths()), (QStringList{"one/1.exe", "three/3.exe", "top.exe"}));

    lists_.clear();
    env_.recorder().refusedFolders.insert(root());
    FindFiles(root(), QStringLiteral("*.exe"), lists_);
    FindFiles(at("no-such-folder"), QStringLiteral("*.exe"), lists_);
    EXPECT_EQ(lists_.count(), 0);
}

TEST_F(FinderTest, FollowsLinksToFoldersButNeverBackIntoAFolderItIsInside) {
    make({"top.exe", "a/x.exe", "b/y.exe"});
    QTemporaryDir outside;
    QFile(outside.path() + QStringLiteral("/o.exe")).open(QIODevice::WriteOnly);
    link(QStringLiteral(".."), QStringLiteral("a/up"));      // back to the start folder
    link(QStringLiteral("."), QStringLiteral("a/self"));     // to itself
    link(QStringLiteral("../b"), QStringLiteral("a/to-b"));  // a and b lead to each other
    link(QStringLiteral("../a"), QStringLiteral("b/to-a"));
    link(outside.path(), QStringLiteral("elsewhere"));            // followed
    link(QStringLiteral("missing"), QStringLiteral("dangling"));  // leads nowhere
    link(QStringLiteral("top.exe"), QStringLiteral("alias.exe"));

    EXPECT_NO_THROW(FindFiles(root(), QStringLiteral("*.exe"), lists_));
    EXPECT_EQ(sorted(foundPaths()), sorted({"top.exe", "alias.exe", "a/x.exe", "a/to-b/y.exe",
                                            "b/y.exe", "b/to-a/x.exe", "elsewhere/o.exe"}));
}

TEST_F(FinderTest, ANameThatIsNotUtf8IsLeftOutAndEveryListedPathOpens) {
    make({"good.exe", "café.exe"});
    const std::string bad = QFile::encodeName(root()).toStdString() + "/bad\xff\xfe.exe";
    const int fd = ::open(bad.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);

    FindFiles(root(), QStringLiteral("*.exe"), lists_);
    EXPECT_EQ(sorted(foundPaths()), (QStringList{"café.exe", "good.exe"}));
    for (qsizetype i = 0; i < lists_.count(); ++i) {
        EXPECT_TRUE(QFile::exists(lists_.path(i))) << lists_.path(i).toStdString();
    }
}

TEST_F(FinderTest, PathsBeyondTheSystemLimitAreLeftOut) {
    // A chain of folders far deeper than any path the system opens, built level by level.
    const std::string level(200, 'd');
    const std::string longName = std::string(246, 'n') + ".exe";
    std::vector<int> folders{::open(QFile::encodeName(root()).constData(), O_RDONLY)};
    for (int depth = 0; depth < 30; ++depth) {
        ASSERT_EQ(::mkdirat(folders.back(), level.c_str(), 0755), 0);
        ::close(::openat(folders.back(), "x.exe", O_CREAT | O_WRONLY, 0644));
        // In the deepest folder that can be listed, this name makes a path too long.
        ::close(::openat(folders.back(), longName.c_str(), O_CREAT | O_WRONLY, 0644));
        folders.push_back(::openat(folders.back(), level.c_str(), O_RDONLY | O_DIRECTORY));
        ASSERT_GE(folders.back(), 0);
    }

    FindFiles(root(), QStringLiteral("*.exe"), lists_);
    const qsizetype reachable = lists_.count();
    EXPECT_GT(reachable, 10);
    EXPECT_LT(reachable, 60);
    for (qsizetype i = 0; i < reachable; ++i) {
        EXPECT_LT(QFile::encodeName(lists_.path(i)).size(), PATH_MAX);
        EXPECT_TRUE(QFile::exists(lists_.path(i)));
    }

    for (const int folder : folders) {
        ::close(folder);
    }
}

TEST_F(FinderTest, CallsAccumulateAndTheListsStayParallel) {
    make({"first/one.exe", "first/skip.lnk", "second/two.lnk", "second/three.lnk"});
    lists_.append(QStringLiteral("earlier"), QStringLiteral("/earlier.exe"));
    FindFiles(at("first"), QStringLiteral("*.exe"), lists_);
    FindFiles(at("second"), QStringLiteral("*.lnk"), lists_);

    ASSERT_EQ(lists_.count(), 4);
    EXPECT_EQ(lists_.name(0), QStringLiteral("earlier"));
    EXPECT_EQ(lists_.path(1), at("first/one.exe"));
    EXPECT_EQ(lists_.name(1), QStringLiteral("one"));
    for (qsizetype i = 2; i < 4; ++i) {
        EXPECT_EQ(QFileInfo(lists_.path(i)).path(), at("second"));
        EXPECT_EQ(lists_.name(i), QFileInfo(lists_.path(i)).completeBaseName());
    }
}

TEST_F(FinderTest, SeesEveryChangeToAFolderBetweenCalls) {
    // A folder last changed an hour ago, so that nothing about its age hides a change.
    make({"flat/old.exe", "flat/notes.txt"});
    const QByteArray flat = QFile::encodeName(at("flat"));
    const timespec hourAgo{::time(nullptr) - 3600, 0};
    const timespec times[2] = {hourAgo, hourAgo};
    ASSERT_EQ(::utimensat(AT_FDCWD, flat.constData(), times, 0), 0);

    const auto findAgain = [&] {
        lists_.clear();
        FindFiles(at("flat"), QStringLiteral("*.exe"), lists_);
        return sorted(foundPaths());
    };
    EXPECT_EQ(findAgain(), (QStringList{"flat/old.exe"}));
    EXPECT_EQ(findAgain(), (QStringList{"flat/old.exe"}));

    make({"flat/new.exe"});
    EXPECT_EQ(findAgain(), (QStringList{"flat/new.exe", "flat/old.exe"}));

    ASSERT_EQ(::unlink(QFile::encodeName(at("flat/old.exe")).constData()), 0);
    EXPECT_EQ(findAgain(), (QStringList{"flat/new.exe"}));
}

TEST_F(FinderTest, KeepsTheListsReservedAndThePointerBusyWhileItYields) {
    make({"a/1.exe", "a/2.exe", "b/3.exe", "c.txt"});
    RecordingPlatform& recorder = env_.recorder();
    int yields = 0;
    int unguardedYields = 0;
    recorder.onYield = [&, stopRunaway = recorder.onYield] {
        stopRunaway();
        ++yields;
        if (!lists_.isReserved() || recorder.busyPointerChanges != std::vector<bool>{true}) {
            ++unguardedYields;
        }
    };
    FindFiles(root(), QStringLiteral("*.exe"), lists_);
    recorder.onYield = nullptr;

    EXPECT_EQ(lists_.count(), 3);
    EXPECT_GE(yields, 6);  // at least once for every entry the walk read
    EXPECT_EQ(unguardedYields, 0);
    EXPECT_FALSE(lists_.isReserved());
    EXPECT_EQ(recorder.busyPointerChanges, (std::vector<bool>{true, false}));
}

TEST(CutAtNul, KeepsTheTextBeforeTheFirstNul) {
    const struct {
        QString text;
        QString expected;
    } cases[] = {
        {QStringLiteral("abc"), QStringLiteral("abc")},
        {QString::fromUtf16(u"ab\0cd", 5), QStringLiteral("ab")},
        {QString::fromUtf16(u"a\0\0", 3), QStringLiteral("a")},
        {QString::fromUtf16(u"\0x", 2), QString()},
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CutAtNul(c.text), c.expected) << c.text.toStdString();
    }
}

}  // namespace
}  // namespace kwiklet
