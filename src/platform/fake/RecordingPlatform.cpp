#include "platform/fake/RecordingPlatform.h"

#include <QFileInfo>
#include <QWidget>

#include <utility>

namespace kwiklet {

RecordingPlatform::RecordingPlatform(std::unique_ptr<Platform> real) : real_(std::move(real)) {}

void RecordingPlatform::showMessage(const QString& text, const QString& title, MessageKind kind) {
    messages.push_back({text, kind, title});
    if (onMessageBox) {
        onMessageBox();
    }
}

void RecordingPlatform::open(const QString& target, const QString& folder) {
    opens.emplace_back(target, folder);
}

void RecordingPlatform::sleep(int milliseconds) {
    sleeps.push_back(milliseconds);
    if (onSleep) {
        onSleep();
    }
}

void RecordingPlatform::yieldToMessageLoop() {
    ++yields;
    if (onYield) {
        onYield();
    }
    real_->yieldToMessageLoop();
}

void RecordingPlatform::endProcess() {
    ++processEndRequests;
}

void RecordingPlatform::setBusyPointer(bool busy) {
    busyPointerChanges.push_back(busy);
}

void RecordingPlatform::writeSetting(const QString& application, const QString& section,
                                     const QString& key, const QString& value) {
    settingWrites << key + QLatin1Char('=') + value;
    real_->writeSetting(application, section, key, value);
}

void RecordingPlatform::setStayOnTop(QWidget& window, bool on) {
    stayOnTopRequests.emplace_back(window.objectName(), on);
}

void RecordingPlatform::dragWindow(QWidget&, QPoint) {
    ++dragRequests;
}

bool RecordingPlatform::isFolderWritable(const QString& folder) {
    return !readOnlyFolders.contains(folder) && real_->isFolderWritable(folder);
}

void RecordingPlatform::allowWindowOpacity(QWidget&) {
    ++opacityAllowances;
}

void RecordingPlatform::setWindowOpacityLevel(QWidget& window, int level) {
    opacityRequests.emplace_back(window.objectName(), level);
}

GlobalKeyResult RecordingPlatform::takeGlobalKey(const KeyCombination& keys,
                                                 std::function<void()> pressed) {
    const QString text = keyCombinationText(keys);
    globalKeyRequests << QStringLiteral("take ") + text;
    globalKeyPressed_ = nullptr;
    if (keysHeldElsewhere.contains(text)) {
        return GlobalKeyResult::HeldByAnotherProgram;
    }
    globalKeyPressed_ = std::move(pressed);
    return GlobalKeyResult::Taken;
}

void RecordingPlatform::releaseGlobalKey() {
    globalKeyRequests << QStringLiteral("release");
    globalKeyPressed_ = nullptr;
}

bool RecordingPlatform::pressGlobalKey() {
    if (!globalKeyPressed_) {
        return false;
    }
    globalKeyPressed_();
    return true;
}

std::optional<QString> RecordingPlatform::documentsFolder() {
    return documentsFolderMissing ? std::nullopt : real_->documentsFolder();
}

std::vector<QRect> RecordingPlatform::screenAreas() {
    return screens ? *screens : real_->screenAreas();
}

std::unique_ptr<FolderEnumeration> RecordingPlatform::listFolder(const QString& folder) {
    listedFolders << folder;
    if (refusedFolders.contains(QFileInfo(folder).path())) {
        return nullptr;
    }
    return real_->listFolder(folder);
}

QString RecordingPlatform::readSetting(const QString& application, const QString& section,
                                       const QString& key, const QString& defaultValue) {
    return real_->readSetting(application, section, key, defaultValue);
}

std::optional<QString> RecordingPlatform::firstOrdinaryFileName(const QString& path) {
    return real_->firstOrdinaryFileName(path);
}

std::optional<QString> RecordingPlatform::desktopFolder() {
    return real_->desktopFolder();
}

std::optional<QString> RecordingPlatform::favoritesFolder() {
    return real_->favoritesFolder();
}

QStringList RecordingPlatform::launcherFolders() {
    return real_->launcherFolders();
}

std::optional<FolderIdentity> RecordingPlatform::folderIdentity(const QString& path) {
    return real_->folderIdentity(path);
}

QString RecordingPlatform::installedDataFolder() {
    return real_->installedDataFolder();
}

QString RecordingPlatform::userDataFolder(const QString& application) {
    return real_->userDataFolder(application);
}

int RecordingPlatform::copyFileIfAbsent(const QString& source, const QString& target) {
    return real_->copyFileIfAbsent(source, target);
}

QString RecordingPlatform::launcherPattern() {
    return real_->launcherPattern();
}

std::optional<QString> RecordingPlatform::launcherMenuName(const QString& path) {
    return real_->launcherMenuName(path);
}

QString RecordingPlatform::executableFolder() {
    return real_->executableFolder();
}

QString RecordingPlatform::executableName() {
    return real_->executableName();
}

ScreenMetrics RecordingPlatform::screenMetrics() {
    return real_->screenMetrics();
}

StartWithSessionResult RecordingPlatform::setStartWithSession(const QString& applicationId,
                                                              bool on) {
    return real_->setStartWithSession(applicationId, on);
}

void RecordingPlatform::keepWindowSize(QWidget& window) {
    real_->keepWindowSize(window);
}

void RecordingPlatform::bringForward(QWidget& window) {
    real_->bringForward(window);
}

void RecordingPlatform::watchSessionEnd(std::function<void()> save, std::function<void()> end) {
    real_->watchSessionEnd(std::move(save), std::move(end));
}

bool RecordingPlatform::claimRunningCopy(const QString& name,
                                         std::function<void(const QStringList&)> commands) {
    return real_->claimRunningCopy(name, std::move(commands));
}

bool RecordingPlatform::sendToRunningCopy(const QString& name, const QStringList& arguments) {
    return real_->sendToRunningCopy(name, arguments);
}

}  // namespace kwiklet
