#include "platform/fake/RecordingPlatform.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

namespace kwiklet {

RecordingPlatform::RecordingPlatform(PlatformLocations locations)
    : PosixPlatform(std::move(locations)) {}

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
    PosixPlatform::yieldToMessageLoop();
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
    PosixPlatform::writeSetting(application, section, key, value);
}

void RecordingPlatform::setStayOnTop(QWidget& window, bool on) {
    stayOnTopRequests.emplace_back(window.objectName(), on);
}

void RecordingPlatform::dragWindow(QWidget&, QPoint) {
    ++dragRequests;
}

bool RecordingPlatform::isFolderWritable(const QString& folder) {
    return !readOnlyFolders.contains(folder) && PosixPlatform::isFolderWritable(folder);
}

void RecordingPlatform::makeWindowLayered(QWidget&) {
    ++layeredRequests;
}

void RecordingPlatform::setWindowOpacityLevel(QWidget& window, int level) {
    opacityRequests.emplace_back(window.objectName(), level);
}

std::optional<QString> RecordingPlatform::documentsFolder() {
    return documentsFolderMissing ? std::nullopt : PosixPlatform::documentsFolder();
}

std::vector<QRect> RecordingPlatform::screenAreas() {
    return screens ? *screens : PosixPlatform::screenAreas();
}

std::unique_ptr<FolderEnumeration> RecordingPlatform::listFolder(const QString& folder) {
    listedFolders << folder;
    if (refusedFolders.contains(QFileInfo(folder).path())) {
        return nullptr;
    }
    return PosixPlatform::listFolder(folder);
}

}  // namespace kwiklet
