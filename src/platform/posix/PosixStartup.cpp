// Starting with the desktop session on Linux: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/<application id>.desktop, that starts the executable from
// its own folder as long as it is there.

#include "platform/posix/PosixPlatform.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace kwiklet {
namespace {

QString autostartFolder() {
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    return (QDir::isAbsolutePath(configHome) ? configHome
                                             : QDir::homePath() + QStringLiteral("/.config")) +
           QStringLiteral("/autostart");
}

QString entryPath(const QString& applicationId) {
    return autostartFolder() + QLatin1Char('/') + applicationId + QStringLiteral(".desktop");
}

// A value of the string kind, as a desktop entry writes it.
QString escapedValue(const QString& text) {
    QString result;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\')) {
            result += QStringLiteral("\\\\");
        } else if (c == QLatin1Char('\n')) {
            result += QStringLiteral("\\n");
        } else if (c == QLatin1Char('\t')) {
            result += QStringLiteral("\\t");
        } else if (c == QLatin1Char('\r')) {
            result += QStringLiteral("\\r");
        } else {
            result += c;
        }
    }
    return result;
}

// One argument of an Exec line: in double quotes when it holds a character a desktop
// entry's Exec line reserves, with ", `, $ and \ escaped inside them; '%' doubled, as
// field codes begin with it.
QString execArgument(const QString& argument) {
    static const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString quoted = argument;
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    const bool needsQuotes = std::any_of(argument.cbegin(), argument.cend(),
                                         [](QChar c) { return kReserved.contains(c); });
    if (!needsQuotes) {
        return quoted;
    }
    QString inQuotes;
    for (const QChar c : quoted) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\')) {
            inQuotes += QLatin1Char('\\');
        }
        inQuotes += c;
    }
    return QLatin1Char('"') + inQuotes + QLatin1Char('"');
}

// Writes the file under a temporary name and renames it into place, so that the entry
// is either the old one or the new one, never half of one. 0 or the error number.
int writeWhole(const QString& path, const QByteArray& contents) {
    const QByteArray target = QFile::encodeName(path);
    const QByteArray staging = target + ".new";
    const int descriptor =
        ::open(staging.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return errno;
    }
    const ssize_t written =
        ::write(descriptor, contents.constData(), static_cast<std::size_t>(contents.size()));
    const int writeError = written == contents.size() ? 0 : (written < 0 ? errno : EIO);
    const int closeError = ::close(descriptor) == 0 ? 0 : errno;
    if (writeError != 0 || closeError != 0 ||
        ::rename(staging.constData(), target.constData()) != 0) {
        const int error = writeError != 0 ? writeError : (closeError != 0 ? closeError : errno);
        ::unlink(staging.constData());
        return error;
    }
    return 0;
}

}  // namespace

StartWithSessionResult PosixPlatform::setStartWithSession(const QString& applicationId, bool on) {
    std::error_code madeFolder;
    std::filesystem::create_directories(QFile::encodeName(autostartFolder()).toStdString(),
                                        madeFolder);
    if (madeFolder) {
        return {madeFolder.value(), true};
    }
    const QString name = executableName();
    if (!on) {
        QFile::remove(entryPath(applicationId));
        return {};
    }
    const QString folder = executableFolder();
    const QString program = folder + QLatin1Char('/') + name;
    // TryExec makes the session skip the entry once the program is removed (a package
    // removed leaves the user's entry behind) instead of failing to start it.
    const QString entry =
        QStringLiteral(
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=%1\n"
            "TryExec=%2\n"
            "Exec=%3 %5\n"
            "Path=%4\n"
            "Terminal=false\n")
            .arg(escapedValue(name), escapedValue(program), escapedValue(execArgument(program)),
                 escapedValue(folder), kSessionStartArgument);
    return {writeWhole(entryPath(applicationId), entry.toUtf8()), false};
}

}  // namespace kwiklet
