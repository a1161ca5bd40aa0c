#include "platform/posix/ShellOpener.h"

#include "platform/posix/DesktopEntry.h"
#include "platform/posix/KeyFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace kwiklet::shellopener {
namespace {

// Office programs are asked for by their Windows program names; a Linux desktop has an
// office suite of its own, so those names start LibreOffice's counterpart, where it is
// installed.
struct ProgramCounterpart {
    const char* windowsName;
    const char* libreOfficeModule;
};
constexpr ProgramCounterpart kCounterparts[] = {
    {"winword.exe", "--writer"}, {"excel.exe", "--calc"}, {"powerpnt.exe", "--impress"},
    {"msaccess.exe", "--base"},  {"visio.exe", "--draw"},
};

bool start(const QString& program, const QStringList& arguments,
           const QString& workingDirectory = QString()) {
    const QString found =
        program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        return false;
    }
    return QProcess::startDetached(
        found, arguments, workingDirectory.isEmpty() ? QDir::homePath() : workingDirectory);
}

// Addresses and files that are neither programs nor launchers go to the desktop's
// opener, which asks the desktop which application handles them: xdg-open, or GLib's
// gio where xdg-utils is not installed.
bool openWithDesktop(const QString& pathOrAddress) {
    return start(QStringLiteral("xdg-open"), {pathOrAddress}) ||
           start(QStringLiteral("gio"), {QStringLiteral("open"), pathOrAddress});
}

// A scheme as addresses begin with one: a letter, then letters, digits, '+', '-' or
// '.', then ':'. At least two characters, so that nothing is taken for a drive letter.
bool hasScheme(const QString& text) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 2 || !text[0].isLetter() || text[0].unicode() > 0x7F) {
        return false;
    }
    for (qsizetype i = 1; i < colon; ++i) {
        const QChar c = text[i];
        if (c.unicode() > 0x7F || !(c.isLetterOrNumber() || c == QLatin1Char('+') ||
                                    c == QLatin1Char('-') || c == QLatin1Char('.'))) {
            return false;
        }
    }
    return true;
}

// Programs are files the system can run: machine code or a script naming its
// interpreter. Other files that merely carry the execute bit (as everything on some
// removable drives does) are documents.
bool isProgram(const QFileInfo& file) {
    if (!file.isFile() || !file.isExecutable()) {
        return false;
    }
    QFile contents(file.filePath());
    if (!contents.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray start = contents.read(4);
    return start == QByteArray(
                        "\x7f"
                        "ELF") ||
           start.startsWith("#!");
}

void launchDesktopEntry(const QString& path) {
    const DesktopEntry entry = DesktopEntry::read(path);
    if (entry.type() == QLatin1String("Link")) {
        if (const QByteArray address = addressOf(entry.url()); !address.isEmpty()) {
            openWithDesktop(QString::fromUtf8(address));
        }
        return;
    }
    if (entry.type() != QLatin1String("Application")) {
        return;
    }
    const std::optional<LaunchCommand> command = entry.launchCommand();
    if (!command) {
        return;
    }
    if (command->inTerminal &&
        !QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator")).isEmpty()) {
        start(QStringLiteral("x-terminal-emulator"),
              QStringList{QStringLiteral("-e"), command->program} + command->arguments,
              command->workingDirectory);
        return;
    }
    start(command->program, command->arguments, command->workingDirectory);
}

void openInternetShortcut(const QString& path) {
    const QString url =
        KeyFile::read(path).value(QStringLiteral("InternetShortcut"), QStringLiteral("URL"));
    if (const QByteArray address = addressOf(url); !address.isEmpty()) {
        openWithDesktop(QString::fromUtf8(address));
    }
}

void openFile(const QFileInfo& file) {
    const QString suffix = file.suffix().toLower();
    if (file.isFile() && suffix == QLatin1String("desktop")) {
        launchDesktopEntry(file.filePath());
    } else if (file.isFile() && suffix == QLatin1String("url")) {
        openInternetShortcut(file.filePath());
    } else if (isProgram(file)) {
        start(file.absoluteFilePath(), {}, file.absolutePath());
    } else {
        openWithDesktop(file.absoluteFilePath());
    }
}

// A program named without a folder, as the shell finds one: an office program's Linux
// counterpart, or a program of that name on the PATH.
void startProgramNamed(const QString& name) {
    for (const ProgramCounterpart& counterpart : kCounterparts) {
        if (name.compare(QLatin1String(counterpart.windowsName), Qt::CaseInsensitive) == 0) {
            start(QStringLiteral("libreoffice"),
                  {QString::fromLatin1(counterpart.libreOfficeModule)});
            return;
        }
    }
    start(name, {});
}

}  // namespace

QByteArray addressOf(const QString& text) {
    QString written = text.trimmed();
    if (written.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
        written.prepend(QStringLiteral("http://"));
    }
    if (!hasScheme(written)) {
        return {};
    }
    const QUrl url(written, QUrl::TolerantMode);
    return url.isValid() ? url.toEncoded() : QByteArray();
}

void open(const QString& target, const QString& directory) {
    if (target.trimmed().isEmpty() || target.contains(QChar(u'\0'))) {
        return;
    }
    if (target.startsWith(QLatin1String("www."), Qt::CaseInsensitive) || hasScheme(target)) {
        if (const QByteArray address = addressOf(target); !address.isEmpty()) {
            openWithDesktop(QString::fromUtf8(address));
        }
        return;
    }
    const QFileInfo file(QDir::isAbsolutePath(target) || directory.isEmpty()
                             ? target
                             : QDir(directory).filePath(target));
    if (file.exists()) {
        openFile(file);
    } else if (!target.contains(QLatin1Char('/'))) {
        startProgramNamed(target);
    }
}

}  // namespace kwiklet::shellopener
