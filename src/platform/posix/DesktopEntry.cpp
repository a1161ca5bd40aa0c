#include "platform/posix/DesktopEntry.h"

#include "platform/posix/KeyFile.h"

#include <QStandardPaths>

namespace kwiklet {
namespace {

const QString kGroup = QStringLiteral("Desktop Entry");

// A string value with its escapes read: \s, \n, \t, \r and \\.
QString unescaped(const QString& value) {
    QString result;
    result.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('\\') || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
            case 's':
                result += QLatin1Char(' ');
                break;
            case 'n':
                result += QLatin1Char('\n');
                break;
            case 't':
                result += QLatin1Char('\t');
                break;
            case 'r':
                result += QLatin1Char('\r');
                break;
            default:
                result += value[i];
                break;
        }
    }
    return result;
}

bool isTrue(const QString& value) {
    return value == QLatin1String("true");
}

}  // namespace

DesktopEntry DesktopEntry::read(const QString& path) {
    const KeyFile file = KeyFile::read(path);
    DesktopEntry entry;
    if (!file.hasGroup(kGroup)) {
        return entry;
    }
    entry.path_ = path;
    entry.type_ = file.value(kGroup, QStringLiteral("Type"));
    entry.url_ = unescaped(file.value(kGroup, QStringLiteral("URL")));
    entry.exec_ = unescaped(file.value(kGroup, QStringLiteral("Exec")));
    entry.tryExec_ = unescaped(file.value(kGroup, QStringLiteral("TryExec")));
    entry.name_ = unescaped(file.value(kGroup, QStringLiteral("Name")));
    entry.icon_ = unescaped(file.value(kGroup, QStringLiteral("Icon")));
    entry.workingDirectory_ = unescaped(file.value(kGroup, QStringLiteral("Path")));
    entry.inTerminal_ = isTrue(file.value(kGroup, QStringLiteral("Terminal")));
    return entry;
}

std::optional<LaunchCommand> DesktopEntry::launchCommand() const {
    if (!tryExec_.isEmpty() && QStandardPaths::findExecutable(tryExec_).isEmpty()) {
        return std::nullopt;
    }
    const std::optional<QStringList> written = splitExecLine(exec_);
    if (!written || written->isEmpty()) {
        return std::nullopt;
    }
    // Field codes stand for what the application is started with. Started without
    // files, the file and address codes (and the deprecated ones) go away; an argument
    // that was nothing but such a code goes with them.
    QStringList arguments;
    for (const QString& argument : *written) {
        if (argument == QLatin1String("%i")) {
            if (!icon_.isEmpty()) {
                arguments << QStringLiteral("--icon") << icon_;
            }
            continue;
        }
        QString expanded;
        bool onlyRemovedCodes = !argument.isEmpty();
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument[i] != QLatin1Char('%') || i + 1 == argument.size()) {
                expanded += argument[i];
                onlyRemovedCodes = false;
                continue;
            }
            const QChar code = argument[++i];
            onlyRemovedCodes = onlyRemovedCodes && QStringLiteral("fFuUdDnNvmi").contains(code);
            if (code == QLatin1Char('%')) {
                expanded += QLatin1Char('%');
            } else if (code == QLatin1Char('c')) {
                expanded += name_;
            } else if (code == QLatin1Char('k')) {
                expanded += path_;
            }
        }
        if (!onlyRemovedCodes) {
            arguments << expanded;
        }
    }
    if (arguments.isEmpty()) {
        return std::nullopt;
    }
    LaunchCommand command;
    command.program = arguments.takeFirst();
    command.arguments = arguments;
    command.workingDirectory = workingDirectory_;
    command.inTerminal = inTerminal_;
    return command;
}

std::optional<QStringList> splitExecLine(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                quoted = false;
            } else if (c == QLatin1Char('\\') && i + 1 < exec.size() &&
                       QStringLiteral("\"`$\\").contains(exec[i + 1])) {
                current += exec[++i];
            } else {
                current += c;
            }
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            if (inArgument) {
                arguments << current;
                current.clear();
                inArgument = false;
            }
        } else {
            inArgument = true;
            if (c == QLatin1Char('"')) {
                quoted = true;
            } else {
                current += c;
            }
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    if (inArgument) {
        arguments << current;
    }
    return arguments;
}

}  // namespace kwiklet
