// The main window's pop-up menu: its items, and what each command does and stores.

#include "support/MainWindowFixture.h"

#include "app/Vendor.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace kwiklet::test {
namespace {

class MenuTest : public MainWindowFixture {
protected:
    void SetUp() override {
        ASSERT_NE(launchOver({{"notes"}}), nullptr);
        window_->move(20, 30);
        recorder_.settingWrites.clear();
        recorder_.stayOnTopRequests.clear();
    }
    // Picks the item as the user does, through the menu.
    void pick(MenuCommand command) { window_->menuAction(command).trigger(); }
    QString autostartEntry() const {
        return platform_.homeFolder() + "/.config/autostart/example.kwiklet.Kwiklet.desktop";
    }
};

TEST_F(MenuTest, FeedbackUpdatesAndHelpOpenTheVendorsMailAndPages) {
    for (const MenuCommand command :
         {MenuCommand::Feedback, MenuCommand::CheckForUpdates, MenuCommand::OnlineHelp}) {
        pick(command);
    }
    EXPECT_EQ(recorder_.opens,
              (std::vector<std::pair<QString, QString>>{
                  {"mailto:" + vendor::kSupportAddress, "/"},
                  {"http://" + vendor::kWebHost + "/downloads/kwiklet", "/"},
                  {"http://" + vendor::kWebHost + "/downloads/kwiklet/manual.php", "/"}}));
    EXPECT_TRUE(recorder_.settingWrites.isEmpty());
    EXPECT_EQ(recorder_.processEndRequests, 0);
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(MenuTest, SwitchesToggleTheirMarkStoreTheSettingAndActAtOnce) {
    pick(MenuCommand::AlwaysOnTop);
    EXPECT_FALSE(window_->menuAction(MenuCommand::AlwaysOnTop).isChecked());
    pick(MenuCommand::AlwaysOnTop);
    EXPECT_TRUE(window_->menuAction(MenuCommand::AlwaysOnTop).isChecked());
    EXPECT_EQ(recorder_.stayOnTopRequests,
              (std::vector<std::pair<QString, bool>>{{"mainWindow", false}, {"mainWindow", true}}));

    pick(MenuCommand::OpenOnStartup);
    EXPECT_TRUE(window_->menuAction(MenuCommand::OpenOnStartup).isChecked());
    EXPECT_TRUE(QFile::exists(autostartEntry()));
    pick(MenuCommand::OpenOnStartup);
    EXPECT_FALSE(window_->menuAction(MenuCommand::OpenOnStartup).isChecked());
    EXPECT_FALSE(QFile::exists(autostartEntry()));
    pick(MenuCommand::KeepRunning);
    EXPECT_TRUE(window_->menuAction(MenuCommand::KeepRunning).isChecked());
    pick(MenuCommand::KeepRunning);
    EXPECT_FALSE(window_->menuAction(MenuCommand::KeepRunning).isChecked());
    EXPECT_EQ(recorder_.settingWrites,
              (QStringList{"AOT=0", "AOT=1", "OOS=1", "OOS=0", "StayRunning=1", "StayRunning=0"}));
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(MenuTest, ExitSavesTopThenLeftAndEndsAtOnce) {
    pick(MenuCommand::Exit);
    EXPECT_EQ(recorder_.settingWrites, (QStringList{"Top=450", "Left=300"}));
    EXPECT_EQ(recorder_.processEndRequests, 1);
    // No window's closing steps ran, but the index was closed cleanly.
    EXPECT_FALSE(database_.store->isOpen());
}

TEST_F(MenuTest, AFailedSwitchShowsItsBoxAndKeepsWhatItChanged) {
    // The autostart folder cannot be made: a file stands where it would go.
    const QString autostart = platform_.homeFolder() + "/.config/autostart";
    QDir(autostart).removeRecursively();
    test::writeFile(autostart, "");
    pick(MenuCommand::OpenOnStartup);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].text, "Error 20 opening key\r\n");  // ENOTDIR
    EXPECT_EQ(recorder_.messages[0].title, "Kwiklet");
    EXPECT_TRUE(window_->menuAction(MenuCommand::OpenOnStartup).isChecked());
    EXPECT_EQ(recorder_.settingWrites, QStringList{"OOS=1"});

    // The entry cannot be stored: a folder stands where it would go, and stays.
    QFile::remove(autostart);
    QDir().mkpath(autostartEntry());
    pick(MenuCommand::OpenOnStartup);  // off: there is no entry to remove, and no box
    pick(MenuCommand::OpenOnStartup);
    ASSERT_EQ(recorder_.messages.size(), 2u);
    EXPECT_EQ(recorder_.messages[1].text, "Error 21 setting key\r\n");  // EISDIR
    EXPECT_TRUE(QFileInfo(autostartEntry()).isDir());
    EXPECT_EQ(recorder_.settingWrites, (QStringList{"OOS=1", "OOS=0", "OOS=1"}));
}

}  // namespace
}  // namespace kwiklet::test
