#include "platform/posix/PosixPlatform.h"

#include "platform/posix/GlobalKeyGrab.h"
#include "platform/posix/RegularFile.h"
#include "platform/posix/ShellOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace kwiklet {
namespace {

QMessageBox::Icon iconFor(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Plain:
            break;
    }
    return QMessageBox::NoIcon;
}

// A ".hidden" list names a few files; a larger one is not such a list.
constexpr qint64 kLargestHiddenList = 1024 * 1024;

// File managers hide the names listed, one a line, in a folder's ".hidden" file, as
// well as names that begin with a period.
bool isHiddenName(const QDir& folder, const QString& name) {
    if (name.startsWith(QLatin1Char('.'))) {
        return true;
    }
    const std::optional<QByteArray> list =
        readRegularFile(folder.filePath(QStringLiteral(".hidden")), kLargestHiddenList);
    if (!list) {
        return false;
    }
    for (const QByteArray& line : list->split('\n')) {
        if (QString::fromUtf8(line).trimmed() == name) {
            return true;
        }
    }
    return false;
}

}  // namespace

PosixPlatform::PosixPlatform(PlatformLocations locations) : locations_(std::move(locations)) {}

PosixPlatform::~PosixPlatform() = default;

void PosixPlatform::showMessage(const QString& text, const QString& title, MessageKind kind) {
    QMessageBox box(iconFor(kind), title, text, QMessageBox::Ok);
    // The program's own windows may be kept on top; the box must not end up beneath them.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    keepWindowSize(box);
    box.exec();
}

QString PosixPlatform::settingsFile(const QString& application) const {
    QString folder = locations_.configFolder;
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }
    return folder + QLatin1Char('/') + application + QLatin1Char('/') + application +
           QStringLiteral(".ini");
}

QString PosixPlatform::readSetting(const QString& application, const QString& section,
                                   const QString& key, const QString& defaultValue) {
    QSettings settings(settingsFile(application), QSettings::IniFormat);
    settings.beginGroup(section);
    return settings.value(key, defaultValue).toString();
}

void PosixPlatform::writeSetting(const QString& application, const QString& section,
                                 const QString& key, const QString& value) {
    QSettings settings(settingsFile(application), QSettings::IniFormat);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
}

std::optional<QString> PosixPlatform::firstOrdinaryFileName(const QString& path) {
    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();
    const QString wanted = target.fileName();
    std::optional<QString> found;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.compare(wanted, Qt::CaseInsensitive) != 0 || isHiddenName(folder, name) ||
            !QFileInfo(folder.filePath(name)).isFile()) {
            continue;
        }
        // On a case-sensitive file system several spellings can exist side by side;
        // the exact one is the file the path names.
        if (name == wanted) {
            return name;
        }
        if (!found) {
            found = name;
        }
    }
    return found;
}

std::unique_ptr<FolderEnumeration> PosixPlatform::listFolder(const QString& folder) {
    return folders_.enumerate(folder);
}

std::optional<FolderIdentity> PosixPlatform::folderIdentity(const QString& path) {
    return FolderReader::identity(path);
}

void PosixPlatform::open(const QString& target, const QString& folder) {
    shellopener::open(target, folder);
}

void PosixPlatform::sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void PosixPlatform::yieldToMessageLoop() {
    QCoreApplication::processEvents();
}

void PosixPlatform::endProcess() {
    // Every setting is synced as it is written, so only the standard streams remain.
    std::fflush(nullptr);
    std::_Exit(0);
}

void PosixPlatform::setBusyPointer(bool busy) {
    if (busy == busyPointerShown_) {
        return;
    }
    if (busy) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
    busyPointerShown_ = busy;
}

QString PosixPlatform::executableFolder() {
    if (!locations_.executableFolder.isEmpty()) {
        return locations_.executableFolder;
    }
    return QCoreApplication::applicationDirPath();
}

QString PosixPlatform::executableName() {
    if (!locations_.executableName.isEmpty()) {
        return locations_.executableName;
    }
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

ScreenMetrics PosixPlatform::screenMetrics() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    return {screen->size(), screen->logicalDotsPerInch()};
}

std::vector<QRect> PosixPlatform::screenAreas() {
    std::vector<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        areas.push_back(screen->availableGeometry());
    }
    return areas;
}

namespace {
// Linux windows take an opacity level as they are; being allowed one is kept as a mark
// on the window, so that only windows allowed it change their opacity.
const char* const kOpacityAllowed = "kwiklet.opacityAllowed";
}  // namespace

void PosixPlatform::allowWindowOpacity(QWidget& window) {
    window.setProperty(kOpacityAllowed, true);
}

void PosixPlatform::setWindowOpacityLevel(QWidget& window, int level) {
    // On X11 the level reaches the window manager as the window's opacity property,
    // which a compositing manager shows.
    if (window.property(kOpacityAllowed).toBool()) {
        window.setWindowOpacity(level / static_cast<double>(kOpaque));
    }
}

GlobalKeyResult PosixPlatform::takeGlobalKey(const KeyCombination& keys,
                                             std::function<void()> pressed) {
    globalKey_.reset();
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return GlobalKeyResult::NotPossible;
    }
    auto grab = std::make_unique<GlobalKeyGrab>(x11->connection(), std::move(pressed));
    if (!grab->grab(keys)) {
        return GlobalKeyResult::HeldByAnotherProgram;
    }
    globalKey_ = std::move(grab);
    return GlobalKeyResult::Taken;
}

void PosixPlatform::releaseGlobalKey() {
    globalKey_.reset();
}

std::unique_ptr<Platform> makeSystemPlatform() {
    return std::make_unique<PosixPlatform>();
}

}  // namespace kwiklet
