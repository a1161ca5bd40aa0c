#pragma once

// What the desktop reads from a .desktop launcher to start its application.

#include <QString>
#include <QStringList>

#include <optional>

namespace kwiklet {

// A command line ready to start: the program as written (a name to look up in PATH, or
// a path) and its arguments.
struct LaunchCommand {
    QString program;
    QStringList arguments;
    QString workingDirectory;  // empty: the program's choice
    bool inTerminal = false;
};

class DesktopEntry {
public:
    // Reads the launcher; one that cannot be read has no type.
    static DesktopEntry read(const QString& path);

    // "Application", "Link", "Directory", or empty for a file that is no launcher.
    QString type() const { return type_; }
    // A link's address.
    QString url() const { return url_; }
    // The name the desktop's menu shows: the Name in the user's language where the
    // launcher has one (LC_ALL, LC_MESSAGES or LANG), else its plain Name.
    QString menuName() const { return menuName_; }
    // Whether the menu leaves the launcher out: NoDisplay or Hidden, or OnlyShowIn and
    // NotShowIn keeping it from every desktop named in XDG_CURRENT_DESKTOP.
    bool hiddenFromMenu() const { return hiddenFromMenu_; }
    // The command that starts an application: its Exec line split into arguments and
    // its field codes filled in for a start without files. Nothing when the desktop
    // would not run it: no Exec line or one that cannot be read, a field code the
    // desktop does not know, a program given by a relative path (only a name to look up
    // in PATH or an absolute path can be run), or a TryExec program that is not
    // installed.
    std::optional<LaunchCommand> launchCommand() const;

private:
    QString path_;
    QString type_;
    QString url_;
    QString exec_;
    QString tryExec_;
    QString menuName_;
    bool hiddenFromMenu_ = false;
    QString icon_;
    QString workingDirectory_;
    bool inTerminal_ = false;
};

// Splits an Exec value into arguments by the desktop's quoting rules: arguments are
// separated by blanks, and "double quotes" hold one argument in which a backslash before
// one of " ` $ and the backslash itself stands for that character. Nothing for an
// unclosed quote.
std::optional<QStringList> splitExecLine(const QString& exec);

}  // namespace kwiklet
