// The entry that starts the program with the desktop session on Linux, in a temporary
// config folder: what it holds, that it starts the right program from its folder, and
// what happens when it cannot be written.

#include "app/RunAtStartup.h"
#include "platform/posix/DesktopEntry.h"
#include "support/QtPrinters.h"
#include "support/TestPlatform.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace kwiklet {
namespace {

class StartupEntryTest : public ::testing::Test {
protected:
    QString autostart() const { return env_.homeFolder() + "/.config/autostart"; }
    QString entry(const QString& name = "Kwiklet") const {
        return autostart() + '/' + name + ".desktop";
    }
    static QByteArray contentsOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    const std::vector<RecordedMessage>& messages() { return env_.recorder().messages; }

    test::TestPlatform env_;
};

TEST_F(StartupEntryTest, SwitchedOnItStartsTheProgramFromItsFolderOnceAndOffItIsGone) {
    const QString folders[] = {"/opt/kwiklet", "/home/me/My Tools", "/tmp/odd $HOME \"quoted\" 100% `x`\\y"};
    for (const QString& folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        SetRunAtStartup("Kwiklet", folder, true);
        SetRunAtStartup("Kwiklet", folder, true);  // switched on twice: still one entry
        EXPECT_EQ(QDir(autostart()).entryList(QDir::Files), QStringList{"Kwiklet.desktop"});
        const DesktopEntry started = DesktopEntry::read(entry());
        EXPECT_EQ(started.type(), "Application");
        EXPECT_EQ(started.menuName(), "Kwiklet");
        const std::optional<LaunchCommand> command = started.launchCommand();
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->program, folder + "/Kwiklet");
        EXPECT_EQ(command->arguments, QStringList{});
        EXPECT_EQ(command->workingDirectory, folder);
    }
    SetRunAtStartup("Kwiklet", "/opt/kwiklet", false);
    EXPECT_FALSE(QFile::exists(entry()));
    SetRunAtStartup("Kwiklet", "/opt/kwiklet", false);  // nothing there: no error either
    EXPECT_TRUE(messages().empty());
}

TEST_F(StartupEntryTest, OtherProgramsEntriesAreLeftAlone) {
    QDir().mkpath(autostart());
    QFile other(entry("other"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("[Desktop Entry]\nExec=other\n");
    other.close();
    SetRunAtStartup("Kwiklet", "/opt/kwiklet", true);
    SetRunAtStartup("Kwiklet", "/opt/kwiklet", false);
    EXPECT_EQ(contentsOf(entry("other")), "[Desktop Entry]\nExec=other\n");
    EXPECT_EQ(QDir(autostart()).entryList(QDir::Files), QStringList{"other.desktop"});
}

TEST_F(StartupEntryTest, WhatCannotBeWrittenIsReportedWithTheSystemsErrorNumber) {
    // A folder where the entry file would go: the entry cannot be stored.
    QDir().mkpath(entry());
    SetRunAtStartup("Kwiklet", "/opt/kwiklet", true);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Error 21 setting key\r\n");  // EISDIR
    EXPECT_TRUE(QFileInfo(entry()).isDir());

    // A file where the autostart folder would go: it cannot be opened.
    QDir(autostart()).removeRecursively();
    QFile blocker(autostart());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetRunAtStartup("Kwiklet", "/opt/kwiklet", false);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1].text, "Error 20 opening key\r\n");  // ENOTDIR
    EXPECT_EQ(messages()[1].title, "Kwiklet");
}

}  // namespace
}  // namespace kwiklet
