#pragma once

// The platform for tests and benchmarks: a recorder in front of a real platform it is
// given. What cannot happen unattended (message boxes, opening what the user chose,
// pauses, ending the process, window-manager requests, dragging windows, global keys) is recorded
// instead; everything else goes to the real platform, so that tests run on real files,
// real folders and real settings. The executable's folder and the settings folder are
// the real platform's, made where the test chooses.

#include "platform/Platform.h"

#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace kwiklet {

struct RecordedMessage {
    QString text;
    MessageKind kind = MessageKind::Plain;
    QString title;
};

class RecordingPlatform : public Platform {
public:
    explicit RecordingPlatform(std::unique_ptr<Platform> real);

    // Recorded instead of done.
    void showMessage(const QString& text, const QString& title, MessageKind kind) override;
    void open(const QString& target, const QString& folder) override;
    void sleep(int milliseconds) override;
    void endProcess() override;
    void setBusyPointer(bool busy) override;
    void setStayOnTop(QWidget& window, bool on) override;
    void dragWindow(QWidget& window, QPoint grabbedAt) override;
    void allowWindowOpacity(QWidget& window) override;
    void setWindowOpacityLevel(QWidget& window, int level) override;
    GlobalKeyResult takeGlobalKey(const KeyCombination& keys,
                                  std::function<void()> pressed) override;
    void releaseGlobalKey() override;

    // Recorded or changed by the knobs below, then done by the real platform.
    void yieldToMessageLoop() override;
    void writeSetting(const QString& application, const QString& section, const QString& key,
                      const QString& value) override;
    std::unique_ptr<FolderEnumeration> listFolder(const QString& folder) override;
    bool isFolderWritable(const QString& folder) override;
    std::optional<QString> documentsFolder() override;
    std::vector<QRect> screenAreas() override;

    // Done by the real platform alone.
    QString readSetting(const QString& application, const QString& section, const QString& key,
                        const QString& defaultValue) override;
    std::optional<QString> firstOrdinaryFileName(const QString& path) override;
    std::optional<QString> desktopFolder() override;
    std::optional<QString> favoritesFolder() override;
    QStringList launcherFolders() override;
    std::optional<FolderIdentity> folderIdentity(const QString& path) override;
    QString installedDataFolder() override;
    QString userDataFolder(const QString& application) override;
    int copyFileIfAbsent(const QString& source, const QString& target) override;
    QString launcherPattern() override;
    std::optional<QString> launcherMenuName(const QString& path) override;
    QString executableFolder() override;
    QString executableName() override;
    ScreenMetrics screenMetrics() override;
    StartWithSessionResult setStartWithSession(const QString& applicationId, bool on) override;
    void keepWindowSize(QWidget& window) override;
    void bringForward(QWidget& window) override;
    void watchSessionEnd(std::function<void()> save, std::function<void()> end) override;
    bool claimRunningCopy(const QString& name,
                          std::function<void(const QStringList&)> commands) override;
    bool sendToRunningCopy(const QString& name, const QStringList& arguments) override;

    // What happened, in order.
    std::vector<RecordedMessage> messages;
    std::vector<std::pair<QString, QString>> opens;  // target, folder
    std::vector<int> sleeps;
    int yields = 0;
    int processEndRequests = 0;
    std::vector<bool> busyPointerChanges;
    std::vector<std::pair<QString, bool>> stayOnTopRequests;  // window's object name, on
    QStringList settingWrites;                                // "key=value", in order
    int dragRequests = 0;
    int opacityAllowances = 0;
    std::vector<std::pair<QString, int>> opacityRequests;  // window's object name, level
    QStringList globalKeyRequests;  // "take Ctrl+Alt+K" or "release", in order

    // Presses the global key taken, as the user would; false when none is taken.
    bool pressGlobalKey();
    // The combinations (as their canonical text) another program holds already.
    QSet<QString> keysHeldElsewhere;

    // Called at every yield, so that a test can look at the program's state inside a
    // long operation.
    std::function<void()> onYield;
    // Called where a message box would be up, after it is recorded: what a test does
    // here happens while the user reads the box.
    std::function<void()> onMessageBox;
    // Called where the thread would pause, after the pause is recorded.
    std::function<void()> onSleep;

    // Folders (without a trailing separator) whose listing is refused, as the system
    // refuses an unreadable folder to an ordinary user.
    QSet<QString> refusedFolders;
    // Folders this user may not write to, as the system protects a program folder from
    // an ordinary user (tests run as any user, root included).
    QSet<QString> readOnlyFolders;

    // Whether the system has no documents folder for this user, as a test decides.
    bool documentsFolderMissing = false;
    // Every search path a listing was asked for, in order.
    QStringList listedFolders;

    // The screens' usable areas the test decides; nothing: the real platform's.
    std::optional<std::vector<QRect>> screens;

private:
    std::unique_ptr<Platform> real_;
    std::function<void()> globalKeyPressed_;
};

}  // namespace kwiklet
