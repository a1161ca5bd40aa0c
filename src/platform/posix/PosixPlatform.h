#pragma once

#include "platform/Platform.h"
#include "platform/posix/FolderReader.h"

namespace kwiklet {

class GlobalKeyGrab;

// Where the program finds itself and keeps its settings. Empty members are worked out
// from the running executable and the user's XDG folders.
struct PlatformLocations {
    QString executableFolder;
    QString executableName;
    QString configFolder;  // settings live in CONFIG/<application>/<application>.ini
    QString installedDataFolder;
};

// The platform on Linux (and other POSIX desktops) under Qt.
class PosixPlatform : public Platform {
public:
    explicit PosixPlatform(PlatformLocations locations = {});
    ~PosixPlatform() override;

    void showMessage(const QString& text, const QString& title, MessageKind kind) override;

    QString readSetting(const QString& application, const QString& section, const QString& key,
                        const QString& defaultValue) override;
    void writeSetting(const QString& application, const QString& section, const QString& key,
                      const QString& value) override;

    std::optional<QString> firstOrdinaryFileName(const QString& path) override;
    bool isFolderWritable(const QString& folder) override;
    QString installedDataFolder() override;
    QString userDataFolder(const QString& application) override;
    int copyFileIfAbsent(const QString& source, const QString& target) override;
    std::optional<QString> documentsFolder() override;
    std::optional<QString> desktopFolder() override;
    std::optional<QString> favoritesFolder() override;
    QStringList launcherFolders() override;
    std::unique_ptr<FolderEnumeration> listFolder(const QString& folder) override;
    std::optional<FolderIdentity> folderIdentity(const QString& path) override;
    QString launcherPattern() override;
    std::optional<QString> launcherMenuName(const QString& path) override;

    void open(const QString& target, const QString& folder) override;

    void sleep(int milliseconds) override;
    void yieldToMessageLoop() override;
    void endProcess() override;
    void setBusyPointer(bool busy) override;

    QString executableFolder() override;
    QString executableName() override;
    ScreenMetrics screenMetrics() override;

    StartWithSessionResult setStartWithSession(const QString& applicationId, bool on) override;

    void setStayOnTop(QWidget& window, bool on) override;
    void dragWindow(QWidget& window, QPoint grabbedAt) override;
    void keepWindowSize(QWidget& window) override;
    void bringForward(QWidget& window) override;
    void allowWindowOpacity(QWidget& window) override;
    void setWindowOpacityLevel(QWidget& window, int level) override;

    std::vector<QRect> screenAreas() override;
    void watchSessionEnd(std::function<void()> save, std::function<void()> end) override;

    GlobalKeyResult takeGlobalKey(const KeyCombination& keys,
                                  std::function<void()> pressed) override;
    void releaseGlobalKey() override;

    bool claimRunningCopy(const QString& name,
                          std::function<void(const QStringList&)> commands) override;
    bool sendToRunningCopy(const QString& name, const QStringList& arguments) override;

private:
    QString settingsFile(const QString& application) const;

    PlatformLocations locations_;
    FolderReader folders_;
    bool busyPointerShown_ = false;
    std::unique_ptr<GlobalKeyGrab> globalKey_;
};

}  // namespace kwiklet
