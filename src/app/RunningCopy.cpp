#include "app/RunningCopy.h"

#include "app/CommandLine.h"
#include "app/IndexLocation.h"
#include "app/Vendor.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

namespace kwiklet {
namespace {

// A start tries again when the running copy ended, or had not yet opened its door,
// between its own claim and its handover, pausing in between; a copy that holds its name
// but never answers is given up on after a while, so that no start hangs.
constexpr int kAttemptPauseMs = 20;
constexpr qint64 kGiveUpAfterMs = 10000;

// A bus name element: letters, digits and '_', not starting with a digit.
QString nameElement(const QString& text) {
    QString element;
    for (const QChar c : text) {
        element += c.isLetterOrNumber() && c.unicode() < 128 ? c : QLatin1Char('_');
    }
    if (element.isEmpty() || element[0].isDigit()) {
        element.prepend(QLatin1Char('_'));
    }
    return element;
}

}  // namespace

QString runningCopyName() {
    auto& system = platform();
    const QString executable = system.executableName();
    // The installed program's own name gives the desktop entry's ID; a copy under another
    // name keeps settings and an index of its own, and runs beside it.
    QString name = executable.compare(QLatin1String("kwiklet"), Qt::CaseInsensitive) == 0
                       ? vendor::kApplicationId
                       : vendor::kApplicationId + QLatin1Char('.') + nameElement(executable);
    const QString index = locateIndex().path;
    const QString own = system.userDataFolder(executable) + QLatin1Char('/') + kDatabaseFileName;
    if (index != own) {
        const QByteArray path = QFileInfo(index).absoluteFilePath().toUtf8();
        name += QStringLiteral(".Index") +
                QString::fromLatin1(
                    QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex().left(8));
    }
    return name;
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

std::optional<int> runThinCommand(int argc, char** argv) {
    const QStringList arguments = argumentsOf(argc, argv);
    const Command command = readCommand(arguments);
    if (command.kind == Command::Start) {
        return std::nullopt;
    }
    QCoreApplication application(argc, argv);
    if (platform().sendToRunningCopy(runningCopyName(), arguments)) {
        return 0;
    }
    // Nothing runs that could hide or end.
    if (command.kind == Command::Hide || command.kind == Command::Quit) {
        return 0;
    }
    return std::nullopt;
}

StartRole becomeRunningCopy(const QStringList& arguments,
                            std::function<void(const QStringList&)> commands) {
    auto& system = platform();
    const QString name = runningCopyName();
    QElapsedTimer waited;
    waited.start();
    while (!waited.hasExpired(kGiveUpAfterMs)) {
        if (system.claimRunningCopy(name, commands)) {
            return StartRole::RunningCopy;
        }
        if (system.sendToRunningCopy(name, arguments)) {
            return StartRole::HandedOver;
        }
        system.sleep(kAttemptPauseMs);
    }
    QTextStream(stderr) << "Kwiklet runs already (" << name
                        << ") but does not answer; this start ends.\n";
    return StartRole::Unanswered;
}

}  // namespace kwiklet
