#include "app/CommandLine.h"

#include "app/IndexLocation.h"
#include "common/Version.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstring>

namespace kwiklet {
namespace {

enum class Answer { None, Help, Version };

Answer answerAskedIn(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            return Answer::Help;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            return Answer::Version;
        }
    }
    return Answer::None;
}

}  // namespace

Command readCommand(const QStringList& arguments) {
    Command command;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == kSessionStartArgument) {
            command.bySession = true;
        } else if (command.kind != Command::Start) {
            continue;  // the first command counts
        } else if (argument == QLatin1String("--toggle")) {
            command.kind = Command::Toggle;
        } else if (argument == QLatin1String("--hide")) {
            command.kind = Command::Hide;
        } else if (argument == QLatin1String("--quit")) {
            command.kind = Command::Quit;
        } else if (argument == QLatin1String("--show")) {
            command.kind = Command::Show;
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1String("--"))) {
                command.text = arguments[++i];
            }
        }
    }
    return command;
}

std::optional<int> answerCommandLine(int argc, char** argv) {
    const Answer answer = answerAskedIn(argc, argv);
    if (answer == Answer::None) {
        return std::nullopt;
    }
    // Enough of an application to know where the executable lies, without a display.
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    if (answer == Answer::Version) {
        out << "Kwiklet " << kAppVersion << '\n';
        return 0;
    }
    out << "Usage: " << QCoreApplication::applicationName()
        << " [--toggle | --show [TEXT] | --hide | --quit | --help | --version]\n\n"
        << "Kwiklet, a keyboard-first quick-launcher: type the first letters of a program,\n"
           "launcher or favourite and press Enter to open it. One copy runs for each user and\n"
           "index; starting it again brings that copy's window forward.\n\n"
           "  --toggle     show the window with the focus in the box, or hide it when it is\n"
           "               the active window (bind this to a key of your desktop)\n"
           "  --show TEXT  show the window and search for TEXT, as if typed\n"
           "  --hide       hide the window\n"
           "  --quit       save the window's position and end the running copy\n"
           "  -h, --help   show this text and the index database Kwiklet uses\n"
           "  --version    show the version\n\n"
           "--toggle and --show start Kwiklet when it is not running.\n\n"
        << "Index database: " << locateIndex().path << '\n';
    return 0;
}

}  // namespace kwiklet
