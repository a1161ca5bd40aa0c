// The entry that starts the program with the desktop session on Linux, in a temporary
// config folder: what it holds, that it starts the right program from its folder, and
// that other programs' entries stay as they are. The boxes shown when it cannot be
// written are tested with the menu.

#include "platform/posix/DesktopEntry.h"
#include "platform/posix/PosixPlatform.h"
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
    QString entry(const QString& name = "example.kwiklet.Kwiklet") const {
        return autostart() + '/' + name + ".desktop";
    }
    // The platform of the executable "Kwiklet" in that folder.
    static StartWithSessionResult switchFor(const QString& folder, bool on) {
        PosixPlatform system({folder, "Kwiklet", {}, {}});
        return system.setStartWithSession("example.kwiklet.Kwiklet", on);
    }

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
        EXPECT_EQ(switchFor(folder, true).error, 0);
        EXPECT_EQ(switchFor(folder, true).error, 0);  // switched on twice: still one entry
        EXPECT_EQ(QDir(autostart()).entryList(QDir::Files),
                  (QStringList{"example.kwiklet.Kwiklet.desktop", "other.desktop"}));
        const DesktopEntry started = DesktopEntry::read(entry());
        EXPECT_EQ(started.type(), "Application");
        EXPECT_EQ(started.menuName(), "Kwiklet");
        const std::optional<LaunchCommand> command = started.launchCommand();
        ASSERT_TRUE(command.has_value());
        EXPECT_EQ(command->program, folder + "/Kwiklet");
        EXPECT_EQ(command->arguments, QStringList{"--autostart"});
        EXPECT_EQ(command->workingDirectory, folder);
        ASSERT_TRUE(QFile::remove(folder + "/Kwiklet"));
        EXPECT_FALSE(DesktopEntry::read(entry()).launchCommand().has_value());
    }
    EXPECT_EQ(switchFor("/opt/kwiklet", false).error, 0);
    EXPECT_FALSE(QFile::exists(entry()));
    EXPECT_EQ(switchFor("/opt/kwiklet", false).error, 0);  // nothing there: no error either
    EXPECT_EQ(test::contentsOf(entry("other")), "[Desktop Entry]\nExec=other\n");
}

}  // namespace
}  // namespace kwiklet
