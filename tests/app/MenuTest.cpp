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
    void pick(int index) { window_->mnuOU[static_cast<std::size_t>(index)]->trigger(); }
    QString autostartEntry() const {
        return platform_.homeFolder() + "/.config/autostart/example.kwiklet.Kwiklet.desktop";
    }
};

TEST_F(MenuTest, ItemsStandInTheirOrderAndOpenTheVendorsPagesAndMail) {
    QStringList captions;
    for (const QAction* action : window_->mnuMain->actions()) {
        captions << (action->isSeparator() ? "-" : action->text());
    }
    EXPECT_EQ(captions, (QStringList{"About Kwiklet", "Feedback", "Check for Updates", "-",
                                     "Open on Startup", "Always on Top", "Keep Running",
                                     "Hotkey...", "-", "Skinz", "Online Help", "-", "Exit"}));
    for (const int index : {1, 3, 10}) {
        pick(index);
    }
    EXPECT_EQ(recorder_.opens,
              (std::vector<std::pair<QString, QString>>{
                  {"mailto:" + vendor::kSupportAddress, "/"},
                  {"http://" + vendor::kWebHost + "/downloads/kwiklet", "/"},
                  {"http://" + vendor::kWebHost + "/downloads/kwiklet/manual.php", "/"}}));
    // Separators and indices without an item do nothing.
    for (const int index : {-1, 4, 8, 11, 13, 32767}) {
        window_->mnuOU_Click(index);
    }
    EXPECT_EQ(recorder_.opens.size(), 3u);
    EXPECT_TRUE(recorder_.settingWrites.isEmpty());
    EXPECT_EQ(recorder_.processEndRequests, 0);
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(MenuTest, SwitchesToggleTheirMarkStoreTheSettingAndActAtOnce) {
    pick(6);
    EXPECT_FALSE(window_->mnuOU[6]->isChecked());
    pick(6);
    EXPECT_TRUE(window_->mnuOU[6]->isChecked());
    EXPECT_EQ(recorder_.stayOnTopRequests,
              (std::vector<std::pair<QString, bool>>{{"picMain", false}, {"picMain", true}}));

    pick(5);
    EXPECT_TRUE(window_->mnuOU[5]->isChecked());
    EXPECT_TRUE(QFile::exists(autostartEntry()));
    pick(5);
    EXPECT_FALSE(window_->mnuOU[5]->isChecked());
    EXPECT_FALSE(QFile::exists(autostartEntry()));
    pick(7);
    EXPECT_TRUE(window_->mnuOU[7]->isChecked());
    pick(7);
    EXPECT_FALSE(window_->mnuOU[7]->isChecked());
    EXPECT_EQ(recorder_.settingWrites,
              (QStringList{"AOT=0", "AOT=1", "OOS=1", "OOS=0", "StayRunning=1", "StayRunning=0"}));
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(MenuTest, ExitSavesTopThenLeftAndEndsAtOnce) {
    pick(12);
    EXPECT_EQ(recorder_.settingWrites, (QStringList{"Top=450", "Left=300"}));
    EXPECT_EQ(recorder_.processEndRequests, 1);
    // No window's closing steps ran, but the index was closed cleanly.
    EXPECT_FALSE(database_.IndexDb->isOpen());
}

TEST_F(MenuTest, AFailedSwitchShowsItsBoxAndKeepsWhatItChanged) {
    // The autostart folder cannot be made: a file stands where it would go.
    const QString autostart = platform_.homeFolder() + "/.config/autostart";
    QDir(autostart).removeRecursively();
    test::writeFile(autostart, "");
    pick(5);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].text, "Error 20 opening key\r\n");  // ENOTDIR
    EXPECT_EQ(recorder_.messages[0].title, "Kwiklet");
    EXPECT_TRUE(window_->mnuOU[5]->isChecked());
    EXPECT_EQ(recorder_.settingWrites, QStringList{"OOS=1"});

    // The entry cannot be stored: a folder stands where it would go, and stays.
    QFile::remove(autostart);
    QDir().mkpath(autostartEntry());
    pick(5);  // off: there is no entry to remove, and no box
    pick(5);
    ASSERT_EQ(recorder_.messages.size(), 2u);
    EXPECT_EQ(recorder_.messages[1].text, "Error 21 setting key\r\n");  // EISDIR
    EXPECT_TRUE(QFileInfo(autostartEntry()).isDir());
    EXPECT_EQ(recorder_.settingWrites, (QStringList{"OOS=1", "OOS=0", "OOS=1"}));
}

}  // namespace
}  // namespace kwiklet::test
