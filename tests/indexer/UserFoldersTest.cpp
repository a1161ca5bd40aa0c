// The special folders follow the user's XDG settings, read afresh on every lookup.

#include "indexer/UserFolders.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

namespace kwiklet {
namespace {

// Sets environment variables for one test and puts the old values back afterwards.
class Environment {
public:
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                qputenv(name.c_str(), *value);
            } else {
                qunsetenv(name.c_str());
            }
        }
    }
    void set(const char* name, const QString& value) {
        remember(name);
        qputenv(name, value.toUtf8());
    }
    void unset(const char* name) {
        remember(name);
        qunsetenv(name);
    }

private:
    void remember(const char* name) {
        if (saved_.count(name) == 0) {
            saved_[name] =
                qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        }
    }
    std::map<std::string, std::optional<QByteArray>> saved_;
};

class UserFoldersTest : public ::testing::Test {
protected:
    QString scratch(const QString& relative) const {
        return env_.scratchFolder() + QLatin1Char('/') + relative;
    }
    void writeUserDirs(const QString& text) const {
        ASSERT_TRUE(QDir().mkpath(scratch("config")));
        QFile file(scratch("config/user-dirs.dirs"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    struct Expectation {
        int folderId;
        QString path;
    };
    static void expectFolders(const std::vector<Expectation>& expectations) {
        for (const auto& [folderId, path] : expectations) {
            SCOPED_TRACE(folderId);
            EXPECT_EQ(SpecialFolderPath(folderId).toStdString(), path.toStdString());
        }
    }

    test::TestPlatform env_;
    Environment variables_;
};

TEST_F(UserFoldersTest, FollowTheUsersXdgFolders) {
    variables_.set("HOME", scratch("home"));
    variables_.set("XDG_CONFIG_HOME", scratch("config"));
    variables_.set("XDG_DATA_HOME", scratch("data"));
    // The first system data folder that has an applications folder counts; relative
    // entries are not paths at all.
    ASSERT_TRUE(QDir().mkpath(scratch("sys/applications")));
    ASSERT_TRUE(QDir().mkpath(scratch("sys2/applications")));
    variables_.set("XDG_DATA_DIRS",
                   scratch("bare") + ":relative/share:" + scratch("sys") + ":" + scratch("sys2"));
    writeUserDirs(
        "# written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/My Desk/\"\n"
        "XDG_DOCUMENTS_DIR=\"" +
        scratch("papers") + "\"\n");

    expectFolders({{0, scratch("home/My Desk")},
                   {2, scratch("data/applications")},
                   {5, scratch("papers")},
                   {6, scratch("home/Favorites")},
                   {23, scratch("sys/applications")},
                   {1, QString()},
                   {3, QString()},
                   {99, QString()},
                   {-1, QString()}});

    // A change to the settings shows at the next lookup.
    writeUserDirs("XDG_DOCUMENTS_DIR=\"$HOME/Elsewhere\"\n");
    expectFolders({{5, scratch("home/Elsewhere")}, {0, scratch("home/Desktop")}});
}

TEST_F(UserFoldersTest, FallBackToTheUsualFoldersWithoutSettings) {
    variables_.set("HOME", scratch("home/"));
    variables_.unset("XDG_CONFIG_HOME");
    variables_.set("XDG_DATA_HOME", "relative/data");  // ignored: not an absolute path
    variables_.unset("XDG_DATA_DIRS");

    expectFolders({{0, scratch("home/Desktop")},
                   {2, scratch("home/.local/share/applications")},
                   {5, scratch("home/Documents")},
                   {6, scratch("home/Favorites")},
                   {23, "/usr/share/applications"}});
}

}  // namespace
}  // namespace kwiklet
