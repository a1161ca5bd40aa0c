// The entry that starts the program with the desktop session on Linux, in a temporary
// config folder: what it holds, that it starts the right program from its folder, and
// what happens when it cannot be written.

#include "app/RunAtStartup.h"
#include "platform/posix/DesktopEntry.h"
#include "support/Database.h"
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
    const std::vector<RecordedMessage>& messages() { return env_.recorder().messages; }

    test::TestPlatform env_;
};

// Other programs' entries are never touched; and once the program is gone (its package
// removed), the entry starts nothing.
TEST_F(StartupEntryTest, SwitchedOnItStartsTheProgramFromItsFolderOnceAndOffItIsGone) {
    test::writeFile(entry("other"), "[Desktop Entry]\nExec=other\n");
    const QString folders[] = {"/opt/kwiklet", "/home/me/My Tools",
                               "/odd $HOME \"quoted\" 100% `x`\\y"};
    for (const QString& written : folders) {
        SCOPED_TRACE(written.toStdString());
        const QString folder = env_.scratchFolder() + written;
        ASSERT_TRUE(QDir().mkpath(folder));
        test::writeFile(folder + "/Kwiklet", "#!/bin/sh\n");
        QFile::setPermissions(folder + "/Kwiklet", QFile::ReadOwner | QFile::ExeOwner);
        SetRunAtStartup("Kwiklet", folder, true);
        SetRunAtStartup("Kwiklet", folder, true);  // switched on twice: still one entry
        EXPECT_EQ(QDir(autostart()).entryList(QDir::Files),
                  (QStringList{"Kwiklet.desktop", "other.desktop"}));
        const DesktopEntry started = DesktopEntry::read(entry());
        EXPECT_EQ(started.type(), "Application");
        EXPECT_EQ(started.menuName(), "Kwiklet");
        const std::optional<LaunchCommand> command = started.launchCommand();
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->program, folder + "/Kwiklet");
        EXPECT_EQ(command->arguments, QStringList{});
        EXPECT_EQ(command->workingDirectory, folder);
        ASSERT_TRUE(QFile::remove(folder + "/Kwiklet"));
        EXPECT_FALSE(DesktopEntry::read(entry()).launchCommand().has_value());
    }
    SetRunAtStartup("Kwiklet", "/opt/kwiklet", false);
    EXPECT_FALSE(QFile::exists(entry()));
    SetRunAtStartup("Kwiklet", "/opt/kwiklet", false);  // nothing there: no error either
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(test::contentsOf(entry("other")), "[Desktop Entry]\nExec=other\n");
}

TEST_F(StartupEntryTest, WhatCannotBeWrittenIsReportedWithTheSystemsErrorNumber) {
    // A folder where the entry file would go: the entry cannot be stored.
    QDir().mkpath(entry());
    SetRunAtStartup("Kwiklet", "/opt/kwiklet", true);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Error 21 setting key\r\n");  // EISDIR
    EXPECT_EQ(messages()[0].title, "Kwiklet");
    EXPECT_TRUE(QFileInfo(entry()).isDir());
}

}  // namespace
}  // namespace kwiklet
