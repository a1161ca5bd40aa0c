#pragma once

// The operations the program asks of the operating system and the window system.
// Program logic calls these and never the system directly, so each operation has one
// meaning on every platform and a recording stand-in in the tests.

#include "platform/KeyCombination.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <compare>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace kwiklet {

// What a message tells the user, which its icon shows: plain information, an error the
// program cannot get past, or a warning.
enum class MessageKind { Plain, Error, Warning };

// How switching the start with the session went: 0 or the system's error number, and
// whether it was the place the start-up entries are kept that could not be opened
// (rather than the program's own entry that could not be stored).
struct StartWithSessionResult {
    int error = 0;
    bool placeFailed = false;
};

struct ScreenMetrics {
    QSize pixels;             // the primary screen's size
    double dotsPerInch = 96;  // its logical resolution
};

// The opacity level of a window that is not see-through at all.
inline constexpr int kOpaque = 255;

// What an entry of a folder is: a regular file or a folder (a link counts as what it
// leads to), something else that opens as neither (a named pipe, a device, a socket),
// or an entry the system would not say of.
enum class EntryKind { File, Folder, Special, Unreadable };

// One entry of a folder listing.
struct FolderEntry {
    QString name;
    EntryKind kind = EntryKind::File;
};

// An open enumeration of a folder's entries; destroying it ends the enumeration.
class FolderEnumeration {
public:
    virtual ~FolderEnumeration() = default;
    // The next entry, or nothing when there is none left.
    virtual std::optional<FolderEntry> next() = 0;
};

// What tells two folders apart whatever path reaches them, so that a walk can notice
// when a link leads back into a folder it is already inside.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    auto operator<=>(const FolderIdentity&) const = default;
};

// What asking for a global key came to: it is the program's now, another program holds
// it already, or the window system lets no program take keys (Wayland, no display).
enum class GlobalKeyResult { Taken, HeldByAnotherProgram, NotPossible };

class Platform {
public:
    virtual ~Platform() = default;

    // --- Messages -------------------------------------------------------------------
    // Shows the message in a modal box with an OK button and waits until it is dismissed.
    virtual void showMessage(const QString& text, const QString& title, MessageKind kind) = 0;

    // --- Per-user settings store ----------------------------------------------------
    virtual QString readSetting(const QString& application, const QString& section,
                                const QString& key, const QString& defaultValue) = 0;
    // Stores the value at once, so that nothing is lost if the process ends next.
    virtual void writeSetting(const QString& application, const QString& section,
                              const QString& key, const QString& value) = 0;

    // --- Files ----------------------------------------------------------------------
    // The stored name of the first ordinary, non-hidden file that the path names,
    // matching names without regard to letter case; nothing when there is none.
    virtual std::optional<QString> firstOrdinaryFileName(const QString& path) = 0;

    // The user's folders the index is built from, each without a trailing separator
    // (the root folder is "/" itself) and whether it exists or not; nothing when the
    // system has no such folder for this user.
    virtual std::optional<QString> documentsFolder() = 0;
    virtual std::optional<QString> desktopFolder() = 0;
    // The user's folder of internet shortcuts.
    virtual std::optional<QString> favoritesFolder() = 0;
    // The folders of program launchers in the order the desktop's menu reads them (a
    // launcher in an earlier one hides a later one's of the same identity): the user's
    // own first, then those shared by all users, each of these once. On Linux the
    // applications folder of XDG_DATA_HOME, then of each folder in XDG_DATA_DIRS.
    virtual QStringList launcherFolders() = 0;

    // Starts enumerating every entry of the folder (its path ends with '/'). Returns
    // nothing when the folder cannot be enumerated; otherwise the first entry comes from
    // the enumeration's first next(). Links that lead nowhere are no entries.
    virtual std::unique_ptr<FolderEnumeration> listFolder(const QString& folder) = 0;
    // The identity of the folder the path leads to, following links.
    virtual std::optional<FolderIdentity> folderIdentity(const QString& path) = 0;

    // Whether this user may create files in the folder.
    virtual bool isFolderWritable(const QString& folder) = 0;
    // The folder an installation keeps the program's shared, read-only data in (on Linux
    // <prefix>/share/kwiklet, beside the executable's <prefix>/bin), whether it exists
    // or not.
    virtual QString installedDataFolder() = 0;
    // The folder for this user's own data files of the application (on Linux
    // $XDG_DATA_HOME/<application>), whether it exists or not.
    virtual QString userDataFolder(const QString& application) = 0;
    // Copies the file, creating the target's folder if need be. A file already at the
    // target is never replaced, and a copy cut short leaves no file there. Returns 0 or
    // the system's error number.
    virtual int copyFileIfAbsent(const QString& source, const QString& target) = 0;

    // The file-name pattern of the desktop's program launchers: "*.lnk" shortcuts on
    // Windows, "*.desktop" entries on Linux.
    virtual QString launcherPattern() = 0;
    // The name the desktop's menu shows for a launcher file, or nothing when the menu
    // leaves it out (hidden, meant for other desktops, or naming a program that is not
    // installed or a command the desktop would not run) or it is no launcher at all.
    virtual std::optional<QString> launcherMenuName(const QString& path) = 0;

    // --- Opening ---------------------------------------------------------------------
    // Opens the target as the desktop opens what the user double-clicks: an address
    // with the desktop's handler for it, a program by starting it in its own folder, a
    // launcher or shortcut by what it points to, any other file or folder with the
    // application the desktop chooses. A relative target is looked for in the folder.
    // Never waits for what it starts; a target that cannot be opened is passed over
    // silently.
    virtual void open(const QString& target, const QString& folder) = 0;

    // --- Process and message loop ---------------------------------------------------
    // Blocks the thread; no window messages are processed meanwhile.
    virtual void sleep(int milliseconds) = 0;
    // Processes the window messages that are waiting, then returns.
    virtual void yieldToMessageLoop() = 0;
    // Ends the process at once: settings are flushed, no window's closing steps run.
    // Never returns on a real platform; the test stand-in records the request and returns.
    virtual void endProcess() = 0;
    // Shows the busy pointer over every window of the program, or the default again.
    virtual void setBusyPointer(bool busy) = 0;

    // The folder holding the running executable, without a trailing separator.
    virtual QString executableFolder() = 0;
    // The executable's file name without its extension.
    virtual QString executableName() = 0;
    virtual ScreenMetrics screenMetrics() = 0;

    // --- Start with the session ------------------------------------------------------
    // Starts this executable, from its own folder and with kSessionStartArgument,
    // whenever the user's desktop session starts, or no longer: through the user's own
    // entry of the session's start-up programs, named by the application's id (on Linux
    // $XDG_CONFIG_HOME/autostart/<id>.desktop), which is created, replaced or removed.
    // Switching it off when it is not on is no error; other programs' entries are never
    // touched.
    virtual StartWithSessionResult setStartWithSession(const QString& applicationId, bool on) = 0;

    // --- Windows --------------------------------------------------------------------
    // Keeps the window above all others, or no longer, without moving, resizing or
    // hiding it.
    virtual void setStayOnTop(QWidget& window, bool on) = 0;
    // Moves the window with the pointer while the left button stays down, as dragging its
    // title bar would: the point of the window grabbed (where the button went down, in
    // screen coordinates) stays under the pointer. Returns once the button is released.
    virtual void dragWindow(QWidget& window, QPoint grabbedAt) = 0;
    // Tells the window manager that the window has one size: its frame offers no
    // maximise button and no resizing. Holds for every later showing of the window.
    virtual void keepWindowSize(QWidget& window) = 0;
    // Raises the shown window and makes it the active one as the user's own request
    // would, so that a window manager that keeps programs from taking the focus by
    // themselves still gives it (on X11 a request as from a pager, at the current time,
    // once the window is mapped).
    virtual void bringForward(QWidget& window) = 0;
    // Lets the window take an opacity level from now on.
    virtual void allowWindowOpacity(QWidget& window) = 0;
    // Sets the opacity of a window allowed to take one, from 0 (invisible) to kOpaque;
    // any other window stays as it is.
    virtual void setWindowOpacityLevel(QWidget& window, int level) = 0;

    // --- Screens and the end of the session ----------------------------------------------
    // The parts of the screens that windows may take (each screen less its panels and
    // docks), in the coordinates windows are placed in; none when there is no screen.
    virtual std::vector<QRect> screenAreas() = 0;
    // Watches for the end of the desktop session. `save` runs when the session manager
    // asks the program to save its state (the session may yet go on); `end` runs when the
    // process is asked to stop (on Linux SIGTERM, SIGHUP or SIGINT, as a logout or a
    // shutdown sends them), from the message loop, and is expected to end the process.
    virtual void watchSessionEnd(std::function<void()> save, std::function<void()> end) = 0;

    // --- A global key --------------------------------------------------------------------
    // Takes the combination from every program, whatever NumLock and CapsLock are, in
    // place of any taken before: `pressed` runs from the message loop each time it is
    // pressed, wherever the focus is (held down, it counts once).
    virtual GlobalKeyResult takeGlobalKey(const KeyCombination& keys,
                                          std::function<void()> pressed) = 0;
    // Lets the global key go back to the other programs; nothing when none is taken.
    virtual void releaseGlobalKey() = 0;

    // --- The one running copy ----------------------------------------------------------
    // Makes this process the running copy of the program under the name, for as long as
    // it runs; a copy that ended, however it ended, never keeps the name. Each command
    // line another start then hands over reaches `commands` from the message loop. False
    // when another process is the running copy under the name; nothing is claimed then.
    // On Linux a name on the session bus, or without one a lock and a socket in the
    // user's runtime folder.
    virtual bool claimRunningCopy(const QString& name,
                                  std::function<void(const QStringList&)> commands) = 0;
    // Hands the command line to the running copy under the name and returns once it has
    // taken it; false when no copy runs under it.
    virtual bool sendToRunningCopy(const QString& name, const QStringList& arguments) = 0;
};

// The argument the session's start of the program carries, so that the program knows it
// was not started by the user.
inline const QString kSessionStartArgument = QStringLiteral("--autostart");

// What the program's own command line adds before its application object is made, to
// choose how its windows reach the screen: on Linux, under a Wayland session with
// XWayland at hand, "-platform xcb", so that the window system lets the program place
// its window and keep it on top. Never an environment variable, which the programs it
// opens would inherit. Empty when the user chose a platform or there is nothing to
// choose.
QList<QByteArray> windowSystemArguments(int argc, char** argv);

// The platform the program runs on. Tests install the recording stand-in instead;
// installing returns the platform it replaces.
Platform& platform();
// The platform of the system the program is built for, which platform() gives unless
// another is installed. Each implementation of the interface defines it.
std::unique_ptr<Platform> makeSystemPlatform();
std::unique_ptr<Platform> installPlatform(std::unique_ptr<Platform> platform);

}  // namespace kwiklet
