#include "platform/posix/DesktopEntry.h"

#include "platform/posix/KeyFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kwiklet {
namespace {

const QString kGroup = QStringLiteral("Desktop Entry");
// The field codes that stand for nothing when an application starts without files: the
// file, address and icon codes, and the deprecated ones.
const QString kRemovedCodes = QStringLiteral("fFuUidDnNvm");

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

// Whether the desktop shows the launcher, by its OnlyShowIn and NotShowIn lists and
// the desktops XDG_CURRENT_DESKTOP names: the first of those named in either list
// decides; when none is, a launcher with an OnlyShowIn list is for other desktops.
bool shownOnThisDesktop(const KeyFile& file) {
    const auto desktops = [&file](const QString& key) {
        return file.value(kGroup, key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    };
    const QStringList onlyIn = desktops(QStringLiteral("OnlyShowIn"));
    const QStringList notIn = desktops(QStringLiteral("NotShowIn"));
    for (const QString& current :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (onlyIn.contains(current)) {
            return true;
        }
        if (notIn.contains(current)) {
            return false;
        }
    }
    return onlyIn.isEmpty();
}

// Whether the program is installed: a name is looked for in PATH, an absolute path must
// lead to a file that may be run; a relative path names no program at all.
bool isInstalled(const QString& program) {
    if (QDir::isAbsolutePath(program)) {
        const QFileInfo file(program);
        return file.isFile() && file.isExecutable();
    }
    return !program.contains(QLatin1Char('/')) &&
           !QStandardPaths::findExecutable(program).isEmpty();
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
                            isTrue(file.value(kGroup, QStringLiteral("Hidden"))) ||
                            !shownOnThisDesktop(file);
    entry.icon_ = unescaped(file.value(kGroup, QStringLiteral("Icon")));
    entry.workingDirectory_ = unescaped(file.value(kGroup, QStringLiteral("Path")));
    entry.inTerminal_ = isTrue(file.value(kGroup, QStringLiteral("Terminal")));
    return entry;
}

std::optional<LaunchCommand> DesktopEntry::launchCommand() const {
    if (!tryExec_.isEmpty() && !isInstalled(tryExec_)) {
        return std::nullopt;
    }
    const std::optional<QStringList> written = splitExecLine(exec_);
    if (!written || written->isEmpty()) {
        return std::nullopt;
    }
    // Field codes stand for what the application is started with. Started without
    // files, the file and address codes (and the deprecated ones) go away; an argument
    // that was nothing but such a code goes with them. A '%' that begins no code the
    // desktop knows makes the line one it refuses to run.
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
            if (argument[i] != QLatin1Char('%')) {
                expanded += argument[i];
                onlyRemovedCodes = false;
                continue;
            }
            if (++i == argument.size()) {
                return std::nullopt;
            }
            const QChar code = argument[i];
            const bool removed = kRemovedCodes.contains(code);
            if (code == QLatin1Char('%')) {
                expanded += QLatin1Char('%');
            } else if (code == QLatin1Char('c')) {
                expanded += menuName_;
            } else if (code == QLatin1Char('k')) {
                expanded += path_;
            } else if (!removed) {
                return std::nullopt;
            }
            onlyRemovedCodes = onlyRemovedCodes && removed;
        }
        if (!onlyRemovedCodes) {
            arguments << expanded;
        }
    }
    // The program is a name to look up in PATH or an absolute path; a relative path
    // would depend on the folder the desktop happens to start it from.
    if (arguments.isEmpty() || (arguments.first().contains(QLatin1Char('/')) &&
                                !QDir::isAbsolutePath(arguments.first()))) {
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
