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

// The suffixes a localized key may carry for the user's language, most specific first:
// lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER, lang.
QStringList localeSuffixes() {
    QString locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(variable);
        if (!locale.isEmpty()) {
            break;
        }
    }
    const qsizetype at = locale.indexOf(QLatin1Char('@'));
    const QString modifier = at < 0 ? QString() : locale.mid(at);
    locale = locale.left(at < 0 ? locale.size() : at);
    locale = locale.left(locale.indexOf(QLatin1Char('.')) < 0 ? locale.size()
                                                              : locale.indexOf(QLatin1Char('.')));
    const qsizetype underscore = locale.indexOf(QLatin1Char('_'));
    const QString language = underscore < 0 ? locale : locale.left(underscore);
    if (language.isEmpty() || language == QLatin1String("C") ||
        language == QLatin1String("POSIX")) {
        return {};
    }
    QStringList suffixes;
    if (underscore >= 0 && !modifier.isEmpty()) {
        suffixes << locale + modifier;
    }
    if (underscore >= 0) {
        suffixes << locale;
    }
    if (!modifier.isEmpty()) {
        suffixes << language + modifier;
    }
    suffixes << language;
    return suffixes;
}

QString localized(const KeyFile& file, const QString& key) {
    for (const QString& suffix : localeSuffixes()) {
        const QString value =
            file.value(kGroup, key + QLatin1Char('[') + suffix + QLatin1Char(']'));
        if (!value.isEmpty()) {
            return unescaped(value);
        }
    }
    return unescaped(file.value(kGroup, key));
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
    entry.menuName_ = localized(file, QStringLiteral("Name"));
    entry.hiddenFromMenu_ = isTrue(file.value(kGroup, QStringLiteral("NoDisplay"))) ||
                            isTrue(file.value(kGroup, QStringLiteral("Hidden")));
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
                expanded += menuName_;
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
